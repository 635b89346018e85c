#include "tests/support/ScriptedPrompts.h"

ScriptedPrompts::ScriptedPrompts() { setPrompts(this); }

ScriptedPrompts::~ScriptedPrompts() { setPrompts(nullptr); }

QStringList ScriptedPrompts::messages() const
{
    QStringList texts;
    for (const QString& entry : log)
        if (entry.startsWith(QLatin1String("message: ")))
            texts << entry.mid(9);
    return texts;
}

void ScriptedPrompts::show(const QString& entry)
{
    log << entry;
    if (whileShown)
        whileShown();
}

void ScriptedPrompts::message(const QString& text) { show(QStringLiteral("message: ") + text); }

bool ScriptedPrompts::confirm(const QString& text)
{
    show(QStringLiteral("confirm: ") + text);
    if (confirmAnswers.isEmpty()) {
        ++unanswered;
        return false;
    }
    return confirmAnswers.dequeue();
}

QString ScriptedPrompts::inputBox(const QString& caption, const QString& prompt, const QString& initial)
{
    show(QStringLiteral("input: %1 / %2 [%3]").arg(caption, prompt, initial));
    if (inputAnswers.isEmpty()) {
        ++unanswered;
        return initial;
    }
    const QString answer = inputAnswers.dequeue();
    return answer.isNull() ? initial : answer;
}

QString ScriptedPrompts::passwordBox(const QString& caption, const QString& prompt)
{
    show(QStringLiteral("password: %1 / %2").arg(caption, prompt));
    if (passwordAnswers.isEmpty()) {
        ++unanswered;
        return {};
    }
    const QString answer = passwordAnswers.dequeue();
    return answer.isNull() ? QString() : answer;
}

QString ScriptedPrompts::openExecutable(QWidget*)
{
    show(QStringLiteral("open executable"));
    if (executableAnswers.isEmpty()) {
        ++unanswered;
        return {};
    }
    return executableAnswers.dequeue();
}

std::optional<QString> ScriptedPrompts::browseForFolder(QWidget*, const QString& start)
{
    show(QStringLiteral("browse for folder: ") + start);
    if (folderAnswers.isEmpty()) {
        ++unanswered;
        return std::nullopt;
    }
    return folderAnswers.dequeue();
}

std::optional<QString> ScriptedPrompts::selectDirectory(QWidget*, const QString& start)
{
    show(QStringLiteral("select directory: ") + start);
    if (folderAnswers.isEmpty()) {
        ++unanswered;
        return std::nullopt;
    }
    return folderAnswers.dequeue();
}
