#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string_view>

// A record text field: one length byte and room for `Capacity` bytes of ANSI text. The
// bytes behind the text carry no meaning but are kept as they are.
template <std::size_t Capacity>
struct CountedString {
    std::uint8_t length;
    char text[Capacity];

    // A length byte above the capacity reads as the capacity.
    std::string_view bytes() const { return {text, std::min<std::size_t>(length, Capacity)}; }
};

static_assert(sizeof(CountedString<255>) == 256);
static_assert(sizeof(CountedString<10>) == 11);

// Same length and same bytes: case-sensitive, nothing trimmed.
template <std::size_t A, std::size_t B>
bool exactlyEqual(const CountedString<A>& a, const CountedString<B>& b)
{
    return a.bytes() == b.bytes();
}
