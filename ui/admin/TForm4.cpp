#include "ui/admin/TForm4.h"

#include "store/PathRules.h"
#include "store/Settings.h"
#include "ui/common/ErrorGuard.h"
#include "ui/common/FormFont.h"
#include "ui/common/Prompts.h"
#include "ui/main/UpdaterState.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

namespace {

constexpr int DesignWidth = 447;
constexpr int DesignHeight = 85;

} // namespace

TForm4::TForm4(UpdaterState& state) : state_(state)
{
    setObjectName(QStringLiteral("Form4"));
    setWindowTitle(QStringLiteral("Set Update Location"));
    setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setWindowModality(Qt::ApplicationModal);
    setFont(tahoma(11));
    resize(DesignWidth, DesignHeight);

    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setReadOnly(true);
    Edit1->setFont(tahoma(13));
    Button1 = new QPushButton(QStringLiteral("Select"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button2 = new QPushButton(QStringLiteral("Close"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    // Neither is the default button: Enter does not close the dialog.
    for (QPushButton* button : {Button1, Button2}) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }
    connect(Button1, &QPushButton::clicked, this, [this] { guarded([&] { Button1Click(Button1); }); });
    connect(Button2, &QPushButton::clicked, this, [this] { guarded([&] { Button2Click(Button2); }); });

    placeControls();
    FormCreate(this);
}

void TForm4::FormCreate(QObject*) { Edit1->clear(); }

void TForm4::Button1Click(QObject*)
{
    const std::optional<QString> folder = prompts().browseForFolder(this, Edit1->text());
    if (!folder)
        return;
    Edit1->setText(*folder);
    state_.update_path = withTrailingSeparator(Edit1->text());
}

void TForm4::Button2Click(QObject*)
{
    if (!Edit1->text().isEmpty())
        SaveConfig(state_.applicationpath, state_.update_path);
    accept();
}

void TForm4::keyPressEvent(QKeyEvent* event)
{
    // Escape does not close it either; the close box does.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TForm4::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    placeControls();
}

void TForm4::placeControls()
{
    // Edges anchored at design time keep their distances to the window's edges.
    // At design size: Edit1 8, 8, 353, 24; Button1 364, 8, 75, 25; Button2 80, 48, 265, 25.
    const int w = width();
    const int h = height();
    Edit1->setGeometry(8, 8, w - 8 - 86, 24);
    Button1->setGeometry(w - 83, 8, 75, 25);
    Button2->setGeometry(80, h - 37, w - 80 - 102, 25);
}
