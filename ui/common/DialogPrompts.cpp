#include "ui/common/DialogPrompts.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

namespace {

QWidget* activeParent() { return QApplication::activeWindow(); }

} // namespace

void DialogPrompts::message(const QString& text)
{
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Updater"), text, QMessageBox::Ok, activeParent());
    box.exec();
}

bool DialogPrompts::confirm(const QString& text)
{
    QMessageBox box(QMessageBox::Question, QStringLiteral("Updater"), text, QMessageBox::Yes | QMessageBox::No,
                    activeParent());
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}

QString DialogPrompts::inputBox(const QString& caption, const QString& prompt, const QString& initial)
{
    bool ok = false;
    const QString text = QInputDialog::getText(activeParent(), caption, prompt, QLineEdit::Normal, initial, &ok);
    return ok ? text : initial;
}

QString DialogPrompts::passwordBox(const QString& caption, const QString& prompt)
{
    bool ok = false;
    const QString text = QInputDialog::getText(activeParent(), caption, prompt, QLineEdit::Password, QString(), &ok);
    return ok ? text : QString();
}

QString DialogPrompts::openExecutable(QWidget* parent)
{
    // The pattern is matched without regard to case, so TOOL.EXE is offered too.
    QFileDialog dialog(parent, QString(), QString(), QStringLiteral("Executable Files (*.exe)"));
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::DontUseNativeDialog, false);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return QDir::toNativeSeparators(dialog.selectedFiles().constFirst());
}

std::optional<QString> DialogPrompts::browseForFolder(QWidget* parent, const QString& start)
{
    const QString folder = QFileDialog::getExistingDirectory(parent, QString(), start);
    if (folder.isEmpty())
        return std::nullopt;
    return QDir::toNativeSeparators(folder);
}

std::optional<QString> DialogPrompts::selectDirectory(QWidget* parent, const QString& start)
{
    QFileDialog dialog(parent, QString(), start);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::ShowDirsOnly, true);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setLabelText(QFileDialog::Accept, QStringLiteral("Select"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    const QString folder = QDir::toNativeSeparators(dialog.selectedFiles().constFirst());
    if (!QDir(folder).exists()) {
        if (!confirm(QStringLiteral("The folder \"%1\" does not exist. Do you wish to create it?").arg(folder)))
            return std::nullopt;
        if (!QDir().mkpath(folder)) {
            message(QStringLiteral("The folder \"%1\" could not be created.").arg(folder));
            return std::nullopt;
        }
    }
    return folder;
}
