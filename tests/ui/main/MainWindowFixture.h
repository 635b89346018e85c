#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include <functional>
#include <memory>

class QWidget;
class ScriptedPrompts;
class TForm1;

// What every main-window test needs around it: the application title "Updater", a home
// and config folder of its own (the user's autostart folder is never touched), and a
// notification area, unless the test takes it away.
class TestEnvironment {
public:
    TestEnvironment();
    ~TestEnvironment();
    QString autostartEntry() const;

private:
    QTemporaryDir home_;
};

// A folder the program is installed in ("app/"), with an update folder beside it
// ("updates/").
class InstallFolder {
public:
    InstallFolder();

    QString executable() const;
    QString appFile(const QString& name) const;
    QString updateFolder() const; // without a trailing separator

    void writeConfig(const QByteArray& line); // "updater.conf": the line and CR LF
    void writePrograms(const QByteArray& records);
    void writeUpdates(const QByteArray& records);
    // "updater.conf" naming the update folder, one program "Tool" at version 1, and an
    // update list holding `updates`.
    void prepareReady(const QByteArray& updates);

private:
    QTemporaryDir root_;
};

QByteArray programRecord(int id, const QByteArray& name, const QByteArray& version);
QByteArray updateRecord(int id, const QByteArray& name, const QByteArray& version);

// Runs `action` once on the next modal window, as soon as it is shown.
void onNextModal(const std::function<void(QWidget&)>& action);

// For test classes: starts a main window on a ready installation (see prepareReady), with
// scripted prompts, and stops it again. The window stays where the test puts it: its tray
// timer is stopped.
class MainWindowFixture {
protected:
    MainWindowFixture();
    ~MainWindowFixture();

    TForm1& startWith(const QByteArray& updates);
    // Starts on an installation the test has prepared itself.
    TForm1& startOn(std::unique_ptr<InstallFolder> install);
    void stop();

    TestEnvironment environment_;
    std::unique_ptr<InstallFolder> install_;
    std::unique_ptr<ScriptedPrompts> prompts_;
    std::unique_ptr<TForm1> form_;
};
