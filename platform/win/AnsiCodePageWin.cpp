#include "platform/AnsiCodePage.h"
#include "platform/win/WideText.h"
#include "platform/win/Win32.h"

#include <stdexcept>

namespace platform {

namespace {

using win::lengthOf;

// A code page this machine does not have is read as the Western one, as on Linux.
UINT usable(int codePage)
{
    return codePage > 0 && ::IsValidCodePage(static_cast<UINT>(codePage)) ? static_cast<UINT>(codePage) : 1252;
}

// The UTF-8 page (a machine may have it as its ANSI page) holds every character and takes
// neither the no-best-fit flag nor a default character.
bool holdsEveryCharacter(UINT codePage) { return codePage == CP_UTF8 || codePage == 54936; }

bool isHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool isLowSurrogate(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

// Windows writes one '?' for each half of a character outside the BMP, the Linux side one
// for the character. Machines that share a file must write the same bytes: such a
// character becomes one '?' here too.
std::u16string oneUnitPerCharacter(std::u16string_view text)
{
    std::u16string result;
    result.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (isHighSurrogate(text[i]) && i + 1 < text.size() && isLowSurrogate(text[i + 1])) {
            result.push_back(u'?');
            ++i;
        } else {
            result.push_back(text[i]);
        }
    }
    return result;
}

std::string encode(std::u16string_view text, UINT codePage)
{
    const auto* wide = reinterpret_cast<const wchar_t*>(text.data());
    const int length = lengthOf(text.size());
    const DWORD flags = holdsEveryCharacter(codePage) ? 0 : WC_NO_BEST_FIT_CHARS;
    const char* defaultCharacter = holdsEveryCharacter(codePage) ? nullptr : "?";
    const int size = ::WideCharToMultiByte(codePage, flags, wide, length, nullptr, 0, defaultCharacter, nullptr);
    if (size <= 0)
        throw std::runtime_error("Cannot convert a text to code page " + std::to_string(codePage));
    std::string bytes(static_cast<std::size_t>(size), '\0');
    ::WideCharToMultiByte(codePage, flags, wide, length, bytes.data(), size, defaultCharacter, nullptr);
    return bytes;
}

} // namespace

int ansiCodePage() { return static_cast<int>(::GetACP()); }

std::string toAnsi(std::u16string_view text, int codePage)
{
    if (text.empty())
        return {};
    const UINT page = usable(codePage);
    if (holdsEveryCharacter(page))
        return encode(text, page);
    return encode(oneUnitPerCharacter(text), page);
}

std::u16string fromAnsi(std::string_view bytes, int codePage)
{
    if (bytes.empty())
        return {};
    const UINT page = usable(codePage);
    const int length = lengthOf(bytes.size());
    const int size = ::MultiByteToWideChar(page, 0, bytes.data(), length, nullptr, 0);
    if (size <= 0)
        throw std::runtime_error("Cannot convert a text from code page " + std::to_string(codePage));
    std::u16string text(static_cast<std::size_t>(size), u'\0');
    ::MultiByteToWideChar(page, 0, bytes.data(), length, reinterpret_cast<wchar_t*>(text.data()), size);
    return text;
}

} // namespace platform
