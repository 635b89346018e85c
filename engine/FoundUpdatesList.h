#pragma once

#include <QByteArray>
#include <QString>

// The found-updates list as the update check fills it: ordered text entries, each with a
// check mark. Each entry also keeps the update's name bytes, so that the update run does
// not have to parse a name that may contain blanks back out of the text.
class FoundUpdatesList {
public:
    virtual ~FoundUpdatesList() = default;
    virtual void clear() = 0;
    virtual void append(const QString& text, const QByteArray& name) = 0;
    virtual int count() const = 0;
    virtual void uncheckAll() = 0;
};
