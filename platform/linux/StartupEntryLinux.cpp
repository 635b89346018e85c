// XDG autostart: $XDG_CONFIG_HOME/autostart/NAME.desktop, a desktop entry that the session
// starts at logon.
#include "platform/FileAccess.h"
#include "platform/IoError.h"
#include "platform/StartupEntry.h"

#include <cerrno>
#include <cstdlib>
#include <pwd.h>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

std::string homeFolder()
{
    if (const char* home = std::getenv("HOME"); home && *home)
        return home;
    if (const passwd* user = ::getpwuid(::getuid()); user && user->pw_dir)
        return user->pw_dir;
    return "/";
}

// A relative or empty XDG_CONFIG_HOME is to be ignored, as the base directory rules say.
std::string configHome()
{
    if (const char* configured = std::getenv("XDG_CONFIG_HOME"); configured && configured[0] == '/')
        return configured;
    return homeFolder() + "/.config";
}

std::string autostartFolder() { return configHome() + "/autostart"; }

std::string entryFile(const std::string& name) { return autostartFolder() + "/" + name + ".desktop"; }

// Creates the folder and every missing folder above it, private to the user as the base
// directory rules ask.
void makeFolders(const std::string& folder)
{
    for (std::size_t slash = folder.find('/', 1);; slash = folder.find('/', slash + 1)) {
        const std::string part = folder.substr(0, slash);
        if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST)
            throw IoError(errno, "create", part);
        if (slash == std::string::npos)
            break;
    }
}

// The path as one argument of the Exec key: quoted, with the characters that stay special
// inside quotes escaped, '%' doubled so that it is not read as a field code, and then the
// escapes that every string value of a desktop entry takes.
std::string execValue(const std::string& executable)
{
    std::string argument = "\"";
    for (const char c : executable) {
        if (c == '"' || c == '`' || c == '$' || c == '\\')
            argument += '\\';
        argument += c;
        if (c == '%')
            argument += '%';
    }
    argument += '"';

    std::string value;
    for (const char c : argument) {
        switch (c) {
        case '\\': value += "\\\\"; break;
        case '\n': value += "\\n"; break;
        case '\t': value += "\\t"; break;
        case '\r': value += "\\r"; break;
        default: value += c;
        }
    }
    return value;
}

std::string_view trimmed(std::string_view text)
{
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

struct EntryKeys {
    bool isEntry = true; // false: the file holds something else than a desktop entry
    bool hidden = false;
    bool hasExec = false;
};

EntryKeys readKeys(std::string_view content)
{
    EntryKeys keys;
    bool firstGroupSeen = false;
    bool inEntryGroup = false;
    while (!content.empty()) {
        const auto end = content.find('\n');
        std::string_view line = content.substr(0, end);
        content = end == std::string_view::npos ? std::string_view() : content.substr(end + 1);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (trimmed(line).empty() || line.front() == '#')
            continue;
        if (line.front() == '[') {
            inEntryGroup = line == "[Desktop Entry]";
            if (!firstGroupSeen && !inEntryGroup)
                keys.isEntry = false;
            firstGroupSeen = true;
            continue;
        }
        if (!firstGroupSeen) { // a key before any group
            keys.isEntry = false;
            continue;
        }
        const auto equals = line.find('=');
        if (!inEntryGroup || equals == std::string_view::npos)
            continue;
        const std::string_view key = trimmed(line.substr(0, equals));
        const std::string_view value = trimmed(line.substr(equals + 1));
        if (key == "Hidden")
            keys.hidden = value == "true";
        else if (key == "Exec")
            keys.hasExec = !value.empty();
    }
    return keys;
}

} // namespace

bool startupEntryPresent(const std::string& name)
{
    const std::string file = entryFile(name);
    struct stat info {};
    if (::stat(file.c_str(), &info) != 0)
        return false;
    if (!S_ISREG(info.st_mode))
        throw StartupEntryError(StartupEntryError::Kind::InvalidDataType, name);
    std::string content;
    try {
        InputFile input(file);
        content.resize(static_cast<std::size_t>(input.size()));
        content.resize(input.read(content.data(), content.size()));
    } catch (const IoError&) {
        return false; // unreadable: as good as absent
    }
    const EntryKeys keys = readKeys(content);
    if (!keys.isEntry)
        throw StartupEntryError(StartupEntryError::Kind::InvalidDataType, name);
    return keys.hasExec && !keys.hidden;
}

void writeStartupEntry(const std::string& name, const std::string& executable)
{
    const std::string content = "[Desktop Entry]\n"
                                "Type=Application\n"
                                "Name=" + name + "\n"
                                "Exec=" + execValue(executable) + "\n";
    try {
        makeFolders(autostartFolder());
        ReplacingFile file(entryFile(name));
        file.write(content.data(), content.size());
        file.commit();
    } catch (const IoError&) {
        throw StartupEntryError(StartupEntryError::Kind::FailedToSetData, name);
    }
}

void removeStartupEntry(const std::string& name)
{
    const std::string file = entryFile(name);
    if (::unlink(file.c_str()) != 0 && errno != ENOENT && errno != ENOTDIR)
        throw StartupEntryError(StartupEntryError::Kind::FailedToDelete, name);
}

} // namespace platform
