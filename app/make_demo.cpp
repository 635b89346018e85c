// Prepares the demo installation that `scripts/run.sh` starts: a program folder with the
// settings and one registered sample program at version 1, and an update folder that
// publishes version 2 of it. The files are written by the program's own store code, so the
// demo shows exactly what the program reads.
//
// Usage: updater_make_demo DEMO_FOLDER   (the folder must not hold a demo yet)
#include "store/PathRules.h"
#include "store/RecordStores.h"
#include "store/RecordText.h"
#include "store/Settings.h"
#include "store/TextFile.h"

#include <QCoreApplication>
#include <QDir>

#include <cstdio>
#include <exception>
#include <stdexcept>

namespace {

const QString SampleName = QStringLiteral("Sample");

void makeFolder(const QString& folder)
{
    if (!QDir().mkpath(folder))
        throw std::runtime_error("Cannot create the folder " + folder.toStdString());
}

// The sample program's files as one version of it ships them.
void writeSampleFiles(const QString& folder, const QString& version)
{
    makeFolder(folder);
    writeLine(folder + SampleName + QStringLiteral(".exe"), QStringLiteral("Sample program, version ") + version);
    writeLine(folder + QStringLiteral("readme.txt"), QStringLiteral("This is version ") + version +
                                                        QStringLiteral(" of the sample program."));
    writeLine(versionFileName(folder + SampleName + QStringLiteral(".exe")), version);
}

void makeDemo(const QString& demoFolder)
{
    const QString root = withTrailingSeparator(QDir(demoFolder).absolutePath());
    const QString programFolder = root + QStringLiteral("app/");
    const QString installFolder = root + QStringLiteral("install/") + SampleName + QStringLiteral("/");
    const QString updateFolder = root + QStringLiteral("updates/");
    if (QDir(programFolder).exists())
        throw std::runtime_error("There is a demo in " + root.toStdString() + " already.");

    writeSampleFiles(installFolder, QStringLiteral("1"));
    writeSampleFiles(updateFolder + SampleName + QStringLiteral("/"), QStringLiteral("2"));

    auto registered = zeroRecord<prog>();
    registered.id = 1;
    storeText(registered.name, SampleName);
    storeText(registered.path, installFolder);
    storeText(registered.version, QStringLiteral("1"));

    auto published = zeroRecord<upd>();
    published.id = 1;
    storeText(published.name, SampleName);
    storeText(published.path, installFolder + SampleName + QStringLiteral(".exe"));
    storeText(published.version, QStringLiteral("2"));
    published.complete = 1; // the readme and the version file come along with the executable

    SaveUpdateList({published}, updateFolder);
    makeFolder(programFolder);
    SaveAvailablePrograms({registered}, programFolder);
    SaveConfig(programFolder, updateFolder);
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "Usage: %s DEMO_FOLDER\n", argv[0]);
        return 2;
    }
    try {
        makeDemo(QString::fromLocal8Bit(argv[1]));
    } catch (const std::exception& error) {
        std::fprintf(stderr, "The demo could not be prepared: %s\n", error.what());
        return 1;
    }
    return 0;
}
