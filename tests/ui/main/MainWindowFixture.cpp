#include "tests/ui/main/MainWindowFixture.h"

#include "tests/support/Fixtures.h"
#include "tests/support/ScriptedPrompts.h"
#include "ui/main/TForm1.h"
#include "ui/main/TrayIcon.h"

#include <QApplication>
#include <QDir>
#include <QTimer>
#include <QWidget>

TestEnvironment::TestEnvironment()
{
    QCoreApplication::setApplicationName(QStringLiteral("Updater"));
    qputenv("HOME", home_.path().toUtf8());
    qputenv("XDG_CONFIG_HOME", (home_.path() + QStringLiteral("/config")).toUtf8());
    TrayIcon::assumeAvailable(true);
}

TestEnvironment::~TestEnvironment() { TrayIcon::assumeAvailable(std::nullopt); }

QString TestEnvironment::autostartEntry() const
{
    return home_.path() + QStringLiteral("/config/autostart/Updater.desktop");
}

InstallFolder::InstallFolder()
{
    QDir().mkpath(root_.path() + QStringLiteral("/app"));
    QDir().mkpath(updateFolder());
}

QString InstallFolder::executable() const { return appFile(QStringLiteral("Updater")); }

QString InstallFolder::appFile(const QString& name) const { return root_.path() + QStringLiteral("/app/") + name; }

QString InstallFolder::updateFolder() const { return root_.path() + QStringLiteral("/updates"); }

void InstallFolder::writeConfig(const QByteArray& line)
{
    writeFile(appFile(QStringLiteral("updater.conf")), line + "\r\n");
}

void InstallFolder::writePrograms(const QByteArray& records)
{
    writeFile(appFile(QStringLiteral("programs.conf")), records);
}

void InstallFolder::writeUpdates(const QByteArray& records)
{
    writeFile(updateFolder() + QStringLiteral("/update.conf"), records);
}

void InstallFolder::prepareReady(const QByteArray& updates)
{
    writeConfig(updateFolder().toUtf8() + '/');
    writePrograms(programRecord(1, "Tool", "1"));
    writeUpdates(updates);
}

QByteArray programRecord(int id, const QByteArray& name, const QByteArray& version)
{
    return recordBytes(id, name, "/opt/" + name + "/", version);
}

QByteArray updateRecord(int id, const QByteArray& name, const QByteArray& version)
{
    return recordBytes(id, name, "/opt/" + name + "/" + name + ".exe", version);
}

void onNextModal(const std::function<void(QWidget&)>& action)
{
    auto* poll = new QTimer;
    poll->setInterval(10);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, action] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            poll->stop();
            poll->deleteLater();
            action(*modal);
        }
    });
    poll->start();
}

MainWindowFixture::MainWindowFixture() = default;

MainWindowFixture::~MainWindowFixture() { stop(); }

TForm1& MainWindowFixture::startWith(const QByteArray& updates)
{
    auto install = std::make_unique<InstallFolder>();
    install->prepareReady(updates);
    return startOn(std::move(install));
}

TForm1& MainWindowFixture::startOn(std::unique_ptr<InstallFolder> install)
{
    install_ = std::move(install);
    prompts_ = std::make_unique<ScriptedPrompts>();
    form_ = std::make_unique<TForm1>(install_->executable());
    form_->Timer1->stop();
    return *form_;
}

void MainWindowFixture::stop()
{
    form_.reset();
    prompts_.reset();
    install_.reset();
}
