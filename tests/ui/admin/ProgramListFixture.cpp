#include "tests/ui/admin/ProgramListFixture.h"

#include "store/RecordStores.h"
#include "store/RecordText.h"
#include "tests/support/Fixtures.h"

#include <QtTest>

ProgramListFixture::ProgramListFixture()
{
    state.applicationpath = folder.path() + QLatin1Char('/');
}

void ProgramListFixture::loadPrograms(const QList<QByteArray>& records)
{
    writeFile(programsFile(), records.join());
    LoadAvailabelPrograms(state.programok, state.programokdb, state.applicationpath);
    QCOMPARE(state.programokdb, static_cast<std::int32_t>(records.size()));
}

QString ProgramListFixture::programsFile() const { return state.applicationpath + QStringLiteral("programs.conf"); }

QByteArray ProgramListFixture::programsFileBytes() const { return readFile(programsFile()); }

QList<std::int32_t> ProgramListFixture::ids() const
{
    QList<std::int32_t> result;
    for (const prog& program : state.programok)
        result << program.id;
    return result;
}

QStringList ProgramListFixture::names() const
{
    QStringList result;
    for (const prog& program : state.programok)
        result << readText(program.name);
    return result;
}

QByteArray programRecord(std::int32_t id, const QByteArray& name, const QByteArray& version)
{
    return recordBytes(id, name, "/apps/" + name + "/", version);
}
