#pragma once

#include "store/CountedString.h"

#include <QString>

#include <string>

namespace detail {
std::string ansiForField(const QString& text); // first 255 characters, in the ANSI code page
QString textFromAnsi(std::string_view bytes);
} // namespace detail

// Stores `text` into a counted string: at most its first 255 characters are converted to
// the ANSI code page, and at most `Capacity` bytes of the result are kept. The bytes behind
// the new text keep what the record held there.
template <std::size_t Capacity>
void storeText(CountedString<Capacity>& field, const QString& text)
{
    const std::string bytes = detail::ansiForField(text);
    const std::size_t length = std::min(bytes.size(), Capacity);
    field.length = static_cast<std::uint8_t>(length);
    std::copy_n(bytes.data(), length, field.text);
}

template <std::size_t Capacity>
QString readText(const CountedString<Capacity>& field)
{
    return detail::textFromAnsi(field.bytes());
}

// Copies the length byte and the text bytes only.
template <std::size_t Capacity>
void copyText(CountedString<Capacity>& to, const CountedString<Capacity>& from)
{
    const auto bytes = from.bytes();
    to.length = static_cast<std::uint8_t>(bytes.size());
    std::copy(bytes.begin(), bytes.end(), to.text);
}
