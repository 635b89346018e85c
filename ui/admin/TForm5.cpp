#include "ui/admin/TForm5.h"

#include "store/PathRules.h"
#include "store/RecordStores.h"
#include "store/RecordText.h"
#include "store/Settings.h"
#include "ui/admin/UpdateListEdits.h"
#include "ui/common/ErrorGuard.h"
#include "ui/common/Prompts.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSignalBlocker>

TForm5* Form5 = nullptr;

void TForm5::FormCreate() { Label2->setText(QStringLiteral("0")); }

void TForm5::fillFromState()
{
    const QSignalBlocker quiet(CheckListBox1);
    CheckListBox1->clear();
    for (const upd& record : state_.updates)
        appendEntry(readText(record.name), record.complete != 0);
    Edit1->setText(state_.update_path);
    ComboBox1->clear();
    for (const prog& program : state_.programok)
        ComboBox1->addItem(readText(program.name));
    ComboBox1->insertItem(0, QStringLiteral("None Selected"));
    ComboBox1->setCurrentIndex(0);
}

void TForm5::AddToUpdates(const QString& s)
{
    upd& record = appendUpdateRecord(state_.updates, state_.updatesdb);
    const auto count = state_.updates.size();
    // Past the largest id the numbering wraps round, as 32-bit arithmetic does.
    record.id = count == 1 ? 1 : static_cast<std::int32_t>(static_cast<std::uint32_t>(state_.updates[count - 2].id) + 1u);
    const QString fileName = fileNamePart(s);
    storeText(record.name, fileName.size() > 4 ? fileName.chopped(4) : QString());
    storeText(record.path, s);
    storeText(record.version, QStringLiteral("1"));
    record.complete = 0;
}

void TForm5::Button1Click()
{
    guarded([&] {
        if (const auto folder = prompts().selectDirectory(this, Edit1->text()))
            Edit1->setText(*folder);
    });
}

void TForm5::Button2Click()
{
    guarded([&] {
        const QString executable = prompts().openExecutable(this);
        if (executable.isEmpty())
            return;
        AddToUpdates(executable);
        ComboBox1->insertItem(1, readText(state_.updates.back().name));
        ComboBox1->setCurrentIndex(1);
        appendEntry(ComboBox1->currentText(), false);
    });
}

void TForm5::Button3Click()
{
    guarded([&] {
        if (ComboBox1->currentIndex() <= 0)
            return;
        const QString name = ComboBox1->currentText();
        appendEntry(name, false);
        appendRegisteredPrograms(state_.updates, state_.updatesdb, state_.programok, name);
    });
}

void TForm5::Button4Click()
{
    guarded([&] { close(); });
}

void TForm5::Button5Click()
{
    guarded([&] {
        if (Edit1->text().isEmpty() || CheckListBox1->count() == 0)
            return;
        if (!prompts().confirm(QStringLiteral("Do you wish to create the update versio file?")))
            return;
        state_.update_path = withTrailingSeparator(Edit1->text());
        SaveConfig(state_.applicationpath, state_.update_path);
        for (int row = 0; row < CheckListBox1->count(); ++row) {
            const QListWidgetItem* entry = CheckListBox1->item(row);
            ChangeComplete(state_.updates, entry->text(), entry->checkState() == Qt::Checked);
        }
        SaveUpdateList(state_.updates, state_.update_path);
    });
}

void TForm5::Button6Click()
{
    guarded([&] {
        const int row = selectedEntry();
        if (row >= 0)
            setVersionOfName(state_.updates, CheckListBox1->item(row)->text(), Label2->text());
    });
}

void TForm5::CheckListBox1Click()
{
    guarded([&] {
        const int row = selectedEntry();
        if (row < 0)
            return;
        if (const auto version = lastVersionOfName(state_.updates, CheckListBox1->item(row)->text()))
            Label2->setText(*version);
    });
}

void TForm5::Delete1Click()
{
    guarded([&] {
        const int row = selectedEntry();
        if (row < 0 || !prompts().confirm(QStringLiteral("Do you wish to delete the selected item?")))
            return;
        removeLastOfName(state_.updates, state_.updatesdb, CheckListBox1->item(row)->text());
        const QSignalBlocker quiet(CheckListBox1);
        delete CheckListBox1->takeItem(row);
        CheckListBox1->clearSelection();
        CheckListBox1->setCurrentRow(-1);
    });
}

void TForm5::DeleteAll1Click()
{
    guarded([&] {
        if (CheckListBox1->count() == 0 || !prompts().confirm(QStringLiteral("Do you wish to empty the list?")))
            return;
        const QSignalBlocker quiet(CheckListBox1);
        CheckListBox1->clear();
        state_.updates.clear();
        state_.updatesdb = 0;
    });
}

void TForm5::SpinButton1UpClick()
{
    guarded([&] { Label2->setText(steppedVersion(Label2->text(), +1)); });
}

void TForm5::SpinButton1DownClick()
{
    guarded([&] { Label2->setText(steppedVersion(Label2->text(), -1)); });
}

void TForm5::Timer1Timer()
{
    guarded([&] {
        const bool entrySelected = selectedEntry() >= 0;
        for (QWidget* versionControl : versionControls())
            versionControl->setVisible(entrySelected);
    });
}

void TForm5::keyPressEvent(QKeyEvent* event)
{
    // No button is the cancel button: Escape does not close the console.
    if (event->key() == Qt::Key_Escape)
        return;
    QDialog::keyPressEvent(event);
}

int TForm5::selectedEntry() const
{
    const auto selected = CheckListBox1->selectedItems();
    return selected.isEmpty() ? -1 : CheckListBox1->row(selected.constFirst());
}

void TForm5::appendEntry(const QString& text, bool checked)
{
    auto* entry = new QListWidgetItem(text, CheckListBox1);
    entry->setFlags(entry->flags() | Qt::ItemIsUserCheckable);
    entry->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
}
