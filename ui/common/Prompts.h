#pragma once

#include <QString>

#include <optional>

class QWidget;

// Every question, message, input box and file or folder chooser the program shows goes
// through here, so that tests can answer them in advance.
class Prompts {
public:
    virtual ~Prompts() = default;

    // A plain message box with one OK button, titled "Updater".
    virtual void message(const QString& text) = 0;
    // A Yes/No confirmation; only Yes counts as yes.
    virtual bool confirm(const QString& text) = 0;
    // An input box; Cancel returns the text it started with.
    virtual QString inputBox(const QString& caption, const QString& prompt, const QString& initial) = 0;
    // An input box whose entry is masked; Cancel returns the empty text.
    virtual QString passwordBox(const QString& caption, const QString& prompt) = 0;
    // An open-file dialog for "Executable Files (*.exe)"; the empty text on Cancel.
    virtual QString openExecutable(QWidget* parent) = 0;
    // A folder browser starting at `start` (when not empty); nothing on Cancel.
    virtual std::optional<QString> browseForFolder(QWidget* parent, const QString& start) = 0;
    // A directory chooser that also takes a typed folder that does not exist yet, asking
    // before it creates it; nothing on Cancel.
    virtual std::optional<QString> selectDirectory(QWidget* parent, const QString& start) = 0;
};

// The prompts in use: the real dialogs unless a test has installed its own.
Prompts& prompts();
void setPrompts(Prompts* replacement); // nullptr goes back to the real dialogs
