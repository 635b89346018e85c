#pragma once

#include <QString>

#include <cstdint>
#include <stdexcept>

// A text that is not an integer: "''%s'' is not a valid integer value".
class ConversionError : public std::runtime_error {
public:
    explicit ConversionError(const QString& text);
};

// Leading blanks, an optional sign, then decimal digits to the end of the text, or after
// "$", "x", "X", "0x" or "0X" hexadecimal digits to the end. Decimal values must fit a
// signed 32-bit integer; hexadecimal ones may use all 32 bits (FFFFFFFF is -1).
std::int32_t StrToInt(const QString& text);
