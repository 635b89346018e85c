#include "ui/admin/TForm5.h"

#include "ui/common/DoubleBorderGroupBox.h"
#include "ui/common/SpinButton.h"

#include <QAction>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

// The console's controls: where they sit, how they follow the window's size, what they
// start with, and which handler each event runs.

namespace {

QFont tahoma(int pixelSize)
{
    QFont font(QStringLiteral("Tahoma"));
    font.setPixelSize(pixelSize);
    return font;
}

QPushButton* button(const QString& caption, int width, QWidget* parent)
{
    auto* pushButton = new QPushButton(caption, parent);
    pushButton->setAutoDefault(false); // Enter presses no button
    pushButton->setFixedSize(width, 25);
    return pushButton;
}

QHBoxLayout* rowLayout(QWidget* parent, int left, int top, int right)
{
    auto* layout = new QHBoxLayout(parent);
    layout->setContentsMargins(left, top, right, 0);
    layout->setSpacing(6);
    layout->setAlignment(Qt::AlignTop);
    return layout;
}

// The version controls come and go with the selection; the buttons beside them stay put.
void keepPlaceWhenHidden(QWidget* widget)
{
    QSizePolicy policy = widget->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    widget->setSizePolicy(policy);
}

} // namespace

TForm5::TForm5(UpdaterState& state, QWidget* parent) : QDialog(parent), state_(state)
{
    setWindowTitle(QStringLiteral("Admin Console"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint |
                   Qt::WindowCloseButtonHint);
    setFont(tahoma(11));
    resize(583, 320);

    buildUpdatePathBox();
    buildUpdateVersionBox();
    buildBottomPanel();

    auto* boxes = new QVBoxLayout;
    boxes->setContentsMargins(3, 3, 3, 3);
    boxes->setSpacing(6);
    boxes->addWidget(AdvGroupBox1);
    boxes->addWidget(AdvGroupBox2, 1);
    auto* window = new QVBoxLayout(this);
    window->setContentsMargins(0, 0, 0, 0);
    window->setSpacing(0);
    window->addLayout(boxes, 1);
    window->addWidget(Panel3);

    setTabOrder(Edit1, Button1);
    setTabOrder(Button1, ComboBox1);
    setTabOrder(ComboBox1, Button2);
    setTabOrder(Button2, Button3);
    setTabOrder(Button3, CheckListBox1);
    setTabOrder(CheckListBox1, Button4);
    setTabOrder(Button4, Button5);
    setTabOrder(Button5, SpinButton1);
    setTabOrder(SpinButton1, Button6);

    Timer1 = new QTimer(this);
    Timer1->setInterval(100);
    connectHandlers();
    FormCreate();
    Timer1Timer(); // no entry is selected yet: start without the version controls
    Timer1->start();
}

void TForm5::buildUpdatePathBox()
{
    AdvGroupBox1 = new DoubleBorderGroupBox(QStringLiteral(" Update path "), this);
    AdvGroupBox1->setFixedHeight(54);
    Edit1 = new QLineEdit(AdvGroupBox1);
    Edit1->setFixedHeight(19);
    Button1 = button(QStringLiteral("Select"), 75, AdvGroupBox1);
    auto* row = rowLayout(AdvGroupBox1, 13, 6, 11);
    row->setAlignment(Qt::AlignVCenter);
    row->addWidget(Edit1, 1);
    row->addWidget(Button1);
}

void TForm5::buildUpdateVersionBox()
{
    AdvGroupBox2 = new DoubleBorderGroupBox(QStringLiteral(" Update Version "), this);

    Panel1 = new QWidget(AdvGroupBox2);
    Panel1->setFixedHeight(41);
    ComboBox1 = new QComboBox(Panel1); // a drop-down list: choice only, no typing
    ComboBox1->setFont(tahoma(13));
    ComboBox1->setFixedHeight(24);
    Button3 = button(QStringLiteral("Add"), 75, Panel1);
    Button2 = button(QStringLiteral("Add New"), 75, Panel1);
    auto* choice = rowLayout(Panel1, 16, 8, 11);
    choice->addWidget(ComboBox1, 1);
    choice->addWidget(Button3);
    choice->addWidget(Button2);

    Panel2 = new QWidget(AdvGroupBox2);
    CheckListBox1 = new QListWidget(Panel2);
    CheckListBox1->setSelectionMode(QAbstractItemView::SingleSelection);
    CheckListBox1->setSortingEnabled(false);
    CheckListBox1->setContextMenuPolicy(Qt::CustomContextMenu);
    auto* list = new QVBoxLayout(Panel2);
    list->setContentsMargins(1, 1, 1, 1);
    list->addWidget(CheckListBox1);

    JvPopupMenu1 = new QMenu(this);
    Delete1 = JvPopupMenu1->addAction(QStringLiteral("Delete"));
    DeleteAll1 = JvPopupMenu1->addAction(QStringLiteral("Delete All"));

    auto* box = new QVBoxLayout(AdvGroupBox2);
    box->setContentsMargins(0, 0, 0, 0);
    box->setSpacing(0);
    box->addWidget(Panel1);
    box->addWidget(Panel2, 1);
}

void TForm5::buildBottomPanel()
{
    Panel3 = new QWidget(this);
    Panel3->setFixedHeight(36);
    Label1 = new QLabel(QStringLiteral("Version:"), Panel3);
    Label1->setMinimumWidth(39); // wider when the font is
    Label1->setFixedHeight(25);
    Label2 = new QLabel(Panel3);
    Label2->setMinimumWidth(31);
    Label2->setFixedHeight(25);
    Label2->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    SpinButton1 = new SpinButton(Panel3);
    SpinButton1->setFixedSize(20, 25);
    Button6 = button(QStringLiteral("Update"), 53, Panel3);
    Button5 = button(QStringLiteral("Export Update Version File"), 165, Panel3);
    Button4 = button(QStringLiteral("Close"), 75, Panel3);
    for (QWidget* versionControl : versionControls())
        keepPlaceWhenHidden(versionControl);

    auto* row = rowLayout(Panel3, 8, 3, 17);
    row->addWidget(Label1);
    row->addWidget(Label2);
    row->addWidget(SpinButton1);
    row->addWidget(Button6);
    row->addSpacing(320 - (116 + 53) - 2 * 6); // "Export" keeps its place at the left
    row->addWidget(Button5);
    row->addStretch(1);                         // "Close" keeps its distance to the right edge
    row->addWidget(Button4);
}

void TForm5::connectHandlers()
{
    connect(Button1, &QPushButton::clicked, this, &TForm5::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TForm5::Button2Click);
    connect(Button3, &QPushButton::clicked, this, &TForm5::Button3Click);
    connect(Button4, &QPushButton::clicked, this, &TForm5::Button4Click);
    connect(Button5, &QPushButton::clicked, this, &TForm5::Button5Click);
    connect(Button6, &QPushButton::clicked, this, &TForm5::Button6Click);
    // A click on an entry, and a move of the selection with the keyboard; changes the
    // console makes itself block these signals.
    connect(CheckListBox1, &QListWidget::itemClicked, this, &TForm5::CheckListBox1Click);
    connect(CheckListBox1, &QListWidget::currentRowChanged, this, &TForm5::CheckListBox1Click);
    connect(CheckListBox1, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { JvPopupMenu1->popup(CheckListBox1->viewport()->mapToGlobal(at)); });
    connect(Delete1, &QAction::triggered, this, &TForm5::Delete1Click);
    connect(DeleteAll1, &QAction::triggered, this, &TForm5::DeleteAll1Click);
    connect(SpinButton1, &SpinButton::upClicked, this, &TForm5::SpinButton1UpClick);
    connect(SpinButton1, &SpinButton::downClicked, this, &TForm5::SpinButton1DownClick);
    connect(Timer1, &QTimer::timeout, this, &TForm5::Timer1Timer);
}

std::array<QWidget*, 4> TForm5::versionControls() const { return {Label1, Label2, SpinButton1, Button6}; }
