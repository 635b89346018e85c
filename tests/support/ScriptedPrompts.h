#pragma once

#include "ui/common/Prompts.h"

#include <QQueue>
#include <QStringList>

#include <functional>

// Prompts answered from queues filled by the test. Every prompt shown is logged as
// "kind: text"; a prompt with no answer queued is answered No / Cancel and logged as
// unanswered, so that a test sees questions it did not expect.
class ScriptedPrompts final : public Prompts {
public:
    ScriptedPrompts();  // installs itself
    ~ScriptedPrompts() override; // goes back to the real dialogs

    QQueue<bool> confirmAnswers;
    QQueue<QString> inputAnswers;       // a null QString stands for Cancel
    QQueue<QString> passwordAnswers;    // a null QString stands for Cancel
    QQueue<QString> executableAnswers;  // empty for Cancel
    QQueue<std::optional<QString>> folderAnswers; // browseForFolder and selectDirectory

    // Runs while each prompt is shown, before it is answered: a test can spin the event loop
    // here, as a real modal box does.
    std::function<void()> whileShown;

    QStringList log;                    // what was shown, in order
    QStringList messages() const;       // only the plain message texts
    int unanswered = 0;

    void message(const QString& text) override;
    bool confirm(const QString& text) override;
    QString inputBox(const QString& caption, const QString& prompt, const QString& initial) override;
    QString passwordBox(const QString& caption, const QString& prompt) override;
    QString openExecutable(QWidget* parent) override;
    std::optional<QString> browseForFolder(QWidget* parent, const QString& start) override;
    std::optional<QString> selectDirectory(QWidget* parent, const QString& start) override;

private:
    void show(const QString& entry);
};
