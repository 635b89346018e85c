#include "engine/UpdateCheck.h"
#include "tests/support/Fixtures.h"
#include "tests/support/RecordLists.h"
#include "tests/support/ScriptedPrompts.h"
#include "ui/admin/AdminConsoleOpener.h"
#include "ui/admin/TForm5.h"

#include <QApplication>
#include <QInputDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPointer>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <functional>

namespace {

const QString Warning =
    QStringLiteral("If your name isn't Torvin. Please don't use this feature! In this case please Select Close Button!");

// Runs `answer` on the next modal window of type Window once it is up.
template <typename Window>
void answerWhenShown(std::function<void(Window*)> answer)
{
    auto* poll = new QTimer;
    poll->setInterval(5);
    QObject::connect(poll, &QTimer::timeout, [poll, answer] {
        if (auto* window = qobject_cast<Window*>(QApplication::activeModalWidget())) {
            poll->stop();
            poll->deleteLater();
            answer(window);
        }
    });
    poll->start();
}

class FoundEntries final : public FoundUpdatesList {
public:
    void clear() override { texts.clear(); }
    void append(const QString& text, const QByteArray&) override { texts << text; }
    int count() const override { return static_cast<int>(texts.size()); }
    void uncheckAll() override {}
    QStringList texts;
};

} // namespace

class AdminConsoleOpenerTest : public QObject {
    Q_OBJECT

private slots:
    void loginWantsTheWholePassword_data();
    void loginWantsTheWholePassword();
    void passwordIsMaskedInTheRealDialog();
    void consoleOpensFilledBesideItsOpener();
    void closingWithoutExportLeavesEditsToTheNextCheck();
};

void AdminConsoleOpenerTest::loginWantsTheWholePassword_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<bool>("admitted");

    QTest::addRow("Cancel") << QString() << false;
    QTest::addRow("empty entry") << "" << false;
    QTest::addRow("other letter case") << "quicksilver" << false;
    QTest::addRow("a blank after it") << "Quicksilver " << false;
    QTest::addRow("a blank before it") << " Quicksilver" << false;
    QTest::addRow("the password") << "Quicksilver" << true;
}

void AdminConsoleOpenerTest::loginWantsTheWholePassword()
{
    QFETCH(QString, entry);
    QFETCH(bool, admitted);

    ScriptedPrompts scripted;
    scripted.passwordAnswers << entry;

    QCOMPARE(adminConsoleLogin(), admitted);
    QCOMPARE(scripted.log.constFirst(), QStringLiteral("password: Admin Console Login / Enter Password"));
    QCOMPARE(scripted.messages(), admitted ? QStringList{Warning} : QStringList());
    QCOMPARE(scripted.unanswered, 0);
}

void AdminConsoleOpenerTest::passwordIsMaskedInTheRealDialog()
{
    QLineEdit::EchoMode echo = QLineEdit::Normal;
    QString caption, prompt, warning;
    answerWhenShown<QInputDialog>([&](QInputDialog* dialog) {
        echo = dialog->textEchoMode();
        caption = dialog->windowTitle();
        prompt = dialog->labelText();
        dialog->setTextValue(QStringLiteral("Quicksilver"));
        answerWhenShown<QMessageBox>([&](QMessageBox* box) {
            warning = box->text();
            box->accept();
        });
        dialog->accept();
    });

    QVERIFY(adminConsoleLogin());
    QCOMPARE(echo, QLineEdit::Password);
    QCOMPARE(caption, QStringLiteral("Admin Console Login"));
    QCOMPARE(prompt, QStringLiteral("Enter Password"));
    QCOMPARE(warning, Warning);
}

void AdminConsoleOpenerTest::consoleOpensFilledBesideItsOpener()
{
    ScriptedPrompts scripted;
    UpdaterState state;
    state.updates = recordsFrom<upd>(recordBytes(1, "Tool", "/a/", "3") + recordBytes(2, "Editor", "/b/", "4", 1) +
                                     recordBytes(3, "Viewer", "/c/", "5"));
    state.updatesdb = 3;
    state.update_path = QStringLiteral("/srv/updates/");
    QWidget opener;
    opener.move(120, 70);
    opener.show();

    QPointer<TForm5> seen;
    bool modal = false, ownerless = false, placed = false;
    QStringList entries;
    QList<bool> checks;
    QString folder;
    answerWhenShown<TForm5>([&](TForm5* console) {
        seen = console;
        modal = console == Form5 && console->isModal();
        ownerless = console->parent() == nullptr;
        placed = console->pos() == opener.pos() + QPoint(10, 10);
        for (int row = 0; row < console->CheckListBox1->count(); ++row) {
            entries << console->CheckListBox1->item(row)->text();
            checks << (console->CheckListBox1->item(row)->checkState() == Qt::Checked);
        }
        folder = console->Edit1->text();
        console->close(); // the window's close box
    });

    openAdminConsole(state, &opener);

    QVERIFY(modal);
    QVERIFY(ownerless);
    QVERIFY(placed);
    QCOMPARE(entries, (QStringList{"Tool", "Editor", "Viewer"}));
    QCOMPARE(checks, (QList<bool>{false, true, false}));
    QCOMPARE(folder, QStringLiteral("/srv/updates/"));
    QVERIFY(seen.isNull()); // destroyed when closed
    QCOMPARE(Form5, nullptr);
}

void AdminConsoleOpenerTest::closingWithoutExportLeavesEditsToTheNextCheck()
{
    // The opener's caller runs the update check once the console is closed: a list that was
    // not exported is replaced by the published one.
    QTemporaryDir share;
    const QByteArray published = recordBytes(4, "Tool", "/a/", "5");
    writeFile(share.filePath(QStringLiteral("update.conf")), published);
    ScriptedPrompts scripted;
    scripted.executableAnswers << QStringLiteral("/apps/New/new.exe");
    UpdaterState state;
    state.update_path = share.path() + QLatin1Char('/');
    state.update_path_ok = state.programok_ok = true;
    state.programok = recordsFrom<prog>(recordBytes(1, "Tool", "/apps/Tool/", "3"));
    state.programokdb = 1;
    state.updates = recordsFrom<upd>(published);
    state.updatesdb = 1;

    answerWhenShown<TForm5>([](TForm5* console) {
        console->Button2Click();
        console->Button4Click();
    });
    openAdminConsole(state, nullptr);
    QCOMPARE(state.updatesdb, 2);

    FoundEntries found;
    QVERIFY(CheckForUpdates(state.programok_ok, state.update_path_ok, state.programok, state.updates, state.updatesdb,
                            state.update_path, found));
    QCOMPARE(bytesOf(state.updates), published);
    QCOMPARE(found.texts, QStringList{"4 - Tool | 5"});
}

QTEST_MAIN(AdminConsoleOpenerTest)
#include "AdminConsoleOpenerTest.moc"
