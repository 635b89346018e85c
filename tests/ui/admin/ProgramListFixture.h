#pragma once

#include "ui/main/UpdaterState.h"

#include <QByteArray>
#include <QList>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdint>
#include <functional>

// A program list whose "programs.conf" lies in a temporary folder standing for the
// executable's folder.
struct ProgramListFixture {
    ProgramListFixture();

    // Writes "programs.conf" from records built byte by byte, and loads it into the state.
    void loadPrograms(const QList<QByteArray>& records);
    QString programsFile() const;
    QByteArray programsFileBytes() const;
    QList<std::int32_t> ids() const;
    QStringList names() const;

    QTemporaryDir folder;
    UpdaterState state;
};

// The record of a program named `name` in /apps/<name>/, version `version`.
QByteArray programRecord(std::int32_t id, const QByteArray& name, const QByteArray& version = "1");

// Acts on a modal dialog once its modal run has begun (found through its global, Form2 or
// Form3), then closes it if `act` left it open, so that a failing test cannot hang. Only
// while this object lives.
template <typename Form>
class WhenDialogShows {
public:
    WhenDialogShows(Form*& global, std::function<void(Form&)> act)
    {
        timer_.setSingleShot(true);
        QObject::connect(&timer_, &QTimer::timeout, [this, &global, act] {
            if (!global || !global->isVisible())
                return;
            shown = true;
            act(*global);
            if (global && global->isVisible())
                global->reject();
        });
        timer_.start(0);
    }

    bool shown = false;

private:
    QTimer timer_;
};
