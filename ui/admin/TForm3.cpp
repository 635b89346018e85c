#include "ui/admin/TForm3.h"

#include "engine/IntegerConversion.h"
#include "platform/FileAccess.h"
#include "store/PathRules.h"
#include "store/RecordStores.h"
#include "store/RecordText.h"
#include "store/Settings.h"
#include "ui/common/ErrorGuard.h"
#include "ui/common/FormFont.h"
#include "ui/common/Prompts.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <limits>

TForm3* Form3 = nullptr;

namespace {

QPushButton* pushButton(const QString& caption, int width, int height, QWidget* parent)
{
    auto* button = new QPushButton(caption, parent);
    button->setFixedSize(width, height);
    button->setAutoDefault(false); // the form has no default button: Enter presses nothing
    return button;
}

QLineEdit* readOnlyEdit(QWidget* parent)
{
    auto* edit = new QLineEdit(parent);
    edit->setReadOnly(true);
    edit->setMaxLength(std::numeric_limits<int>::max()); // a version file's line is shown whole
    edit->setFixedHeight(21);
    return edit;
}

QLabel* editLabel(const QString& caption, QLineEdit* edit, QWidget* parent)
{
    auto* label = new QLabel(caption, parent);
    label->setBuddy(edit);
    return label;
}

} // namespace

TForm3::TForm3(UpdaterState& state, QWidget* parent)
    : QDialog(parent), Label1(new QLabel(this)), LabeledEdit1(readOnlyEdit(this)), LabeledEdit2(readOnlyEdit(this)),
      LabeledEdit3(readOnlyEdit(this)), Button1(pushButton(QStringLiteral("Select"), 75, 36, this)),
      Button2(pushButton(QStringLiteral("Cancel"), 75, 25, this)),
      Button3(pushButton(QStringLiteral("Add"), 75, 25, this)), state_(state)
{
    setWindowTitle(QStringLiteral("New program"));
    setWindowFlag(Qt::Tool);
    setFont(tahoma(11));
    resize(352, 200);

    // The header band: the id on a white strip with a thin black outline.
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setAlignment(Qt::AlignCenter);
    Label1->setFont(tahoma(21, true));
    Label1->setFixedHeight(33);
    Label1->setStyleSheet(QStringLiteral("#Label1 { background: white; color: black; border: 1px solid black; }"));

    auto* fields = new QGridLayout;
    fields->setContentsMargins(16, 8, 14, 0);
    fields->setHorizontalSpacing(6);
    fields->setVerticalSpacing(2);
    fields->addWidget(editLabel(QStringLiteral("ProgramName:"), LabeledEdit1, this), 0, 0, 1, 2);
    fields->addWidget(LabeledEdit1, 1, 0, 1, 2);
    fields->addWidget(editLabel(QStringLiteral("Programpath:"), LabeledEdit2, this), 2, 0);
    fields->addWidget(LabeledEdit2, 3, 0);
    fields->addWidget(Button1, 2, 1, 2, 1, Qt::AlignBottom);
    fields->addWidget(editLabel(QStringLiteral("ProgramVersion:"), LabeledEdit3, this), 4, 0, 1, 2);
    fields->addWidget(LabeledEdit3, 5, 0, 1, 2);
    fields->setRowMinimumHeight(2, 19);
    fields->setRowMinimumHeight(4, 19);

    auto* buttons = new QHBoxLayout;
    buttons->setContentsMargins(0, 0, 14, 8);
    buttons->addStretch();
    buttons->addWidget(Button3);
    buttons->addWidget(Button2);

    auto* form = new QVBoxLayout(this);
    form->setContentsMargins(0, 0, 0, 0);
    form->setSpacing(0);
    form->addWidget(Label1);
    form->addLayout(fields);
    form->addStretch();
    form->addLayout(buttons);

    setTabOrder(LabeledEdit1, LabeledEdit2);
    setTabOrder(LabeledEdit2, Button1);
    setTabOrder(Button1, LabeledEdit3);
    setTabOrder(LabeledEdit3, Button2);
    setTabOrder(Button2, Button3);

    connect(Button1, &QPushButton::clicked, this, &TForm3::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TForm3::Button2Click);
    connect(Button3, &QPushButton::clicked, this, &TForm3::Button3Click);
}

void TForm3::Button1Click()
{
    guarded([&] {
        const QString executable = prompts().openExecutable(this);
        if (executable.isEmpty())
            return;
        LabeledEdit2->setText(executable);
        LoadInfo();
    });
}

void TForm3::LoadInfo()
{
    const QString path = LabeledEdit2->text();
    const QString fileName = fileNamePart(path);
    LabeledEdit1->setText(fileName.left(std::max<qsizetype>(0, fileName.size() - 4)));

    if (platform::fileExists(systemPath(versionFileName(path)))) {
        LabeledEdit3->setText(VersionInfo(path));
    } else {
        SaveVersionInfo(path);
        LabeledEdit3->setText(QStringLiteral("1"));
    }
    LabeledEdit2->setText(folderPart(path));
}

void TForm3::Button2Click() { reject(); }

void TForm3::Button3Click()
{
    guarded([&] {
        const QString mode = Button3->text();
        if (mode != u"Add" && mode != u"Edit")
            return;
        const prog elem = enteredRecord();
        std::vector<prog>& programok = state_.programok;

        // The list changes only together with "programs.conf": a failed save puts the list
        // back, so that pressing the button again does not enter the program twice.
        const std::vector<prog> before = programok;
        if (mode == u"Add") {
            programok.push_back(elem);
        } else {
            const int index = recordToReplace(elem.id);
            if (index < 0) {
                prompts().message(QStringLiteral("Cant find this entry in the database"));
                return;
            }
            programok[static_cast<std::size_t>(index)] = elem;
        }
        state_.programokdb = static_cast<std::int32_t>(programok.size());
        try {
            SaveAvailablePrograms(programok, state_.applicationpath);
        } catch (...) {
            programok = before;
            state_.programokdb = static_cast<std::int32_t>(programok.size());
            throw;
        }
        accept();
    });
}

prog TForm3::enteredRecord() const
{
    prog elem = zeroRecord<prog>();
    elem.id = StrToInt(Label1->text());
    storeText(elem.name, LabeledEdit1->text());
    storeText(elem.path, LabeledEdit2->text());
    storeText(elem.version, LabeledEdit3->text());
    return elem;
}

int TForm3::recordToReplace(std::int32_t id) const
{
    if (!editedPosition_)
        return GetIndex(state_.programok, id);
    const std::size_t position = *editedPosition_;
    if (position < state_.programok.size() && state_.programok[position].id == id)
        return static_cast<int>(position);
    return -1;
}

int GetIndex(const std::vector<prog>& programok, std::int32_t id)
{
    int result = -1;
    for (std::size_t i = 0; i < programok.size(); ++i)
        if (programok[i].id == id)
            result = static_cast<int>(i);
    return result;
}
