#include "platform/ExecutablePath.h"
#include "platform/FileAccess.h"
#include "platform/IoError.h"
#include "platform/win/LongPath.h"
#include "platform/win/WideText.h"
#include "platform/win/Win32.h"
#include "tests/win/Cases.h"
#include "tests/win/Scratch.h"

#include <memory>
#include <thread>

namespace wintest {

namespace {

using platform::InputFile;
using platform::IoError;
using platform::ReplacingFile;

// What a test finds in its scratch folder before it acts.
enum class Setup { Nothing, File, Folder, ReadOnlyFile };

void prepare(const ScratchFolder& scratch, Setup setup)
{
    switch (setup) {
    case Setup::Nothing: break;
    case Setup::File: writeBytes(scratch.path("target"), "old"); break;
    case Setup::Folder: makeFolder(scratch.path("target")); break;
    case Setup::ReadOnlyFile:
        writeBytes(scratch.path("target"), "old");
        setReadOnly(scratch.path("target"), true);
        break;
    }
}

std::string readWhole(const std::string& path)
{
    InputFile file(path);
    std::string bytes(static_cast<std::size_t>(file.size()), '\0');
    bytes.resize(file.read(bytes.data(), bytes.size()));
    return bytes;
}

void save(const std::string& path, const std::string& bytes)
{
    ReplacingFile file(path);
    file.write(bytes.data(), bytes.size());
    file.commit();
}

std::string recordBytes(char fill) { return std::string(528, fill); }

enum class ReaderKind { Ours, SharingNoDeletion };

struct Reader {
    std::string name;
    ReaderKind kind;
};

// A file held open by a reader for as long as this lives.
class HeldOpen {
public:
    HeldOpen(const std::string& path, ReaderKind kind)
    {
        if (kind == ReaderKind::Ours)
            ours_ = std::make_unique<InputFile>(path);
        else
            foreign_ = std::make_unique<ForeignReader>(path);
    }

private:
    std::unique_ptr<InputFile> ours_;
    std::unique_ptr<ForeignReader> foreign_;
};

struct Existence {
    std::string name;
    Setup setup;
    std::string probe; // below the scratch folder
    bool file;
    bool folder;
};

struct OpenFailure {
    std::string name;
    Setup setup;
    std::string target; // below the scratch folder
    bool replacing;     // else reading
    int code;
};

struct CallPath {
    std::string name;
    std::wstring path;
    std::wstring expected; // empty: the path as it is
};

struct ErrorText {
    std::string name;
    int code;
    std::string text; // empty: the system's own, whatever its wording
};

void addExistenceCases(Runner& runner)
{
    runner.table<Existence>("exists",
        {
            {"a file", Setup::File, "target", true, false},
            {"a folder", Setup::Folder, "target", false, true},
            {"nothing of that name", Setup::Nothing, "target", false, false},
            {"inside a missing folder", Setup::Nothing, "missing\\target", false, false},
            {"below a file", Setup::File, "target\\below", false, false},
            {"a name Windows cannot have", Setup::Nothing, "tar*get", false, false},
        },
        [](const Existence& row) {
            ScratchFolder scratch;
            prepare(scratch, row.setup);
            CHECK_EQ(platform::fileExists(scratch.path(row.probe)), row.file);
            CHECK_EQ(platform::directoryExists(scratch.path(row.probe)), row.folder);
        });
}

void addOpenFailureCases(Runner& runner)
{
    runner.table<OpenFailure>("I/O error code",
        {
            {"reading a missing file", Setup::Nothing, "target", false, ERROR_FILE_NOT_FOUND},
            {"reading in a missing folder", Setup::Nothing, "missing\\target", false, ERROR_PATH_NOT_FOUND},
            {"reading a folder", Setup::Folder, "target", false, ERROR_ACCESS_DENIED},
            {"saving into a missing folder", Setup::Nothing, "missing\\target", true, ERROR_PATH_NOT_FOUND},
            {"saving over a folder", Setup::Folder, "target", true, ERROR_ACCESS_DENIED},
            {"saving over a read-only file", Setup::ReadOnlyFile, "target", true, ERROR_ACCESS_DENIED},
        },
        [](const OpenFailure& row) {
            ScratchFolder scratch;
            prepare(scratch, row.setup);
            const std::string path = scratch.path(row.target);
            const IoError error = row.replacing ? EXPECT_THROW(IoError, ReplacingFile{path})
                                                : EXPECT_THROW(IoError, InputFile{path});
            CHECK_EQ(error.code(), row.code);
            const std::string message = error.what();
            CHECK(message.find(path) != std::string::npos);
            CHECK(message.find("(I/O error " + std::to_string(row.code) + ")") != std::string::npos);
            if (row.setup == Setup::ReadOnlyFile)
                CHECK_EQ(readBytes(path), std::string("old"));
            if (row.setup == Setup::Nothing)
                CHECK_EQ(namesIn(scratch.path()).size(), 0u);
        });

    runner.table<ErrorText>("error text",
        {
            {"missing file, the system's words", ERROR_FILE_NOT_FOUND, ""},
            {"sharing violation, the system's words", ERROR_SHARING_VIOLATION, ""},
            {"3 is a missing path or a name over the limit", IoError::PathTooLong,
             "The path was not found, or the file name is too long"},
            {"100, short read", IoError::ShortRead, "The file ended before a whole record was read"},
            {"101, short write", IoError::ShortWrite, "Not every byte could be written"},
        },
        [](const ErrorText& row) {
            const std::string text = platform::errorText(row.code);
            if (!row.text.empty()) {
                CHECK_EQ(text, row.text);
                return;
            }
            CHECK(!text.empty() && text != "Unknown system error");
            // The message goes on after it: no line end or full stop of its own.
            CHECK(text.back() != '\n' && text.back() != '\r' && text.back() != '.' && text.back() != ' ');
        });
}

void addReplaceCases(Runner& runner)
{
    runner.add("save replaces the whole file and leaves nothing beside it", [] {
        ScratchFolder scratch;
        writeBytes(scratch.path("programs.conf"), recordBytes('a') + recordBytes('b') + "tail");
        save(scratch.path("programs.conf"), recordBytes('c'));
        CHECK_EQ(readBytes(scratch.path("programs.conf")), recordBytes('c'));
        CHECK(namesIn(scratch.path()) == std::vector<std::wstring>{L"programs.conf"});
    });

    runner.add("an abandoned save leaves the old file and nothing beside it", [] {
        ScratchFolder scratch;
        writeBytes(scratch.path("update.conf"), recordBytes('a'));
        {
            ReplacingFile file(scratch.path("update.conf"));
            file.write("half", 4);
        }
        CHECK_EQ(readBytes(scratch.path("update.conf")), recordBytes('a'));
        CHECK(namesIn(scratch.path()) == std::vector<std::wstring>{L"update.conf"});
    });

    // Where the system cannot replace a file that is open (Wine, older Windows, some
    // shares), the replace waits for the reader to close it; elsewhere it needs no wait.
    runner.table<Reader>("the replace gets past a reader that closes the file",
        {
            {"a reader of ours", ReaderKind::Ours},
            {"a reader that shares reading and writing only, as older clients open the list",
             ReaderKind::SharingNoDeletion},
        },
        [](const Reader& row) {
            ScratchFolder scratch;
            const std::string path = scratch.path("update.conf");
            writeBytes(path, recordBytes('a'));
            auto reader = std::make_unique<HeldOpen>(path, row.kind);
            std::thread closer([&reader] {
                ::Sleep(300);
                reader.reset();
            });
            try {
                save(path, recordBytes('c'));
            } catch (...) {
                closer.join();
                throw;
            }
            closer.join();
            CHECK_EQ(readBytes(path), recordBytes('c'));
            CHECK(namesIn(scratch.path()) == std::vector<std::wstring>{L"update.conf"});
        });

    runner.add("the replace gives up on a reader that keeps the file, which stays as it was", [] {
        ScratchFolder scratch;
        const std::string path = scratch.path("update.conf");
        writeBytes(path, recordBytes('a'));
        IoError error(0, "", "");
        {
            const HeldOpen reader(path, ReaderKind::SharingNoDeletion);
            error = EXPECT_THROW(IoError, save(path, recordBytes('c')));
        }
        CHECK(error.code() == ERROR_SHARING_VIOLATION || error.code() == ERROR_ACCESS_DENIED);
        CHECK_EQ(readBytes(path), recordBytes('a'));
        CHECK(namesIn(scratch.path()) == std::vector<std::wstring>{L"update.conf"});
    });

    runner.add("a file name of 259 characters saves and loads", [] {
        ScratchFolder scratch;
        const std::size_t nameLength = 259 - scratch.path().size() - 1;
        CHECK(nameLength <= 255);
        const std::string path = scratch.path(std::string(nameLength, 'n'));
        CHECK_EQ(path.size(), 259u);
        save(path, recordBytes('a'));
        save(path, recordBytes('b')); // replacing needs the longer temporary name
        CHECK(platform::fileExists(path));
        CHECK_EQ(readWhole(path), recordBytes('b'));
        CHECK_EQ(namesIn(scratch.path()).size(), 1u);
    });

    runner.add("UTF-8 names reach the file system as their characters", [] {
        ScratchFolder scratch;
        makeFolder(scratch.path("Árvíztűrő"));
        const std::string path = scratch.path("Árvíztűrő\\tükör.conf");
        save(path, "12\r\n");
        CHECK(platform::directoryExists(scratch.path("Árvíztűrő")));
        CHECK(namesIn(scratch.path("Árvíztűrő")) == std::vector<std::wstring>{L"tükör.conf"});
        CHECK_EQ(readWhole(path), std::string("12\r\n"));
    });
}

// Wine takes long paths as they are; Windows refuses them unless given verbatim.
void addLongPathCases(Runner& runner)
{
    const std::wstring longName(300, L'n');
    runner.table<CallPath>("path form for the file calls",
        {
            {"a path below the limit as it is", L"C:\\Apps\\updater.conf", L""},
            {"a long path verbatim", L"C:\\Apps\\" + longName, L"\\\\?\\C:\\Apps\\" + longName},
            {"a long path with forward slashes", L"C:/Apps/" + longName, L"\\\\?\\C:\\Apps\\" + longName},
            {"a long path on a share", L"\\\\server\\share\\" + longName,
             L"\\\\?\\UNC\\server\\share\\" + longName},
            {"a verbatim path as it is", L"\\\\?\\C:\\Apps\\" + longName, L""},
        },
        [](const CallPath& row) {
            CHECK_EQ(platform::win::fileCallPath(row.path), row.expected.empty() ? row.path : row.expected);
        });
}

} // namespace

void addFileAccessCases(Runner& runner)
{
    addLongPathCases(runner);
    addExistenceCases(runner);
    addOpenFailureCases(runner);
    addReplaceCases(runner);

    runner.add("executablePath names this program", [] {
        const std::string path = platform::executablePath();
        const std::string name = "\\WinLayerTest.exe";
        CHECK(path.size() > name.size() && path.compare(path.size() - name.size(), name.size(), name) == 0);
        CHECK(platform::fileExists(path));
    });
}

} // namespace wintest
