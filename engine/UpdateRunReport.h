#pragma once

#include <QString>
#include <QStringList>

// What one update run did, entry by entry, and the message that closes it: the success
// text only when no update failed; otherwise which programs failed and why, and which
// were updated.
class UpdateRunReport {
public:
    void applied(const QString& program);
    void failed(const QString& program, const QString& reason);

    bool anyFailed() const { return !failures_.isEmpty(); }
    QString finishedMessage() const;

private:
    QStringList applied_;
    QStringList failures_; // "program: reason"
};
