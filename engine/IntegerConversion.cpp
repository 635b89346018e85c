#include "engine/IntegerConversion.h"

#include <optional>

namespace {

int hexDigit(QChar c)
{
    if (c >= u'0' && c <= u'9')
        return c.unicode() - u'0';
    if (c >= u'a' && c <= u'f')
        return c.unicode() - u'a' + 10;
    if (c >= u'A' && c <= u'F')
        return c.unicode() - u'A' + 10;
    return -1;
}

std::optional<std::int32_t> parse(const QString& text)
{
    qsizetype i = 0;
    while (i < text.size() && text[i] == u' ')
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    bool hex = false;
    if (i < text.size() && (text[i] == u'$' || text[i] == u'x' || text[i] == u'X')) {
        hex = true;
        i += 1;
    } else if (i + 1 < text.size() && text[i] == u'0' && (text[i + 1] == u'x' || text[i + 1] == u'X')) {
        hex = true;
        i += 2;
    }
    if (i == text.size())
        return std::nullopt;

    std::uint64_t value = 0;
    const std::uint64_t limit = hex ? 0xFFFFFFFFull : (negative ? 0x80000000ull : 0x7FFFFFFFull);
    for (; i < text.size(); ++i) {
        const int digit = hex ? hexDigit(text[i]) : (text[i] >= u'0' && text[i] <= u'9' ? text[i].unicode() - u'0' : -1);
        if (digit < 0)
            return std::nullopt;
        value = value * (hex ? 16 : 10) + static_cast<std::uint64_t>(digit);
        if (value > limit)
            return std::nullopt;
    }
    const auto bits = static_cast<std::uint32_t>(negative ? (~value + 1) : value);
    return static_cast<std::int32_t>(bits);
}

} // namespace

ConversionError::ConversionError(const QString& text)
    : std::runtime_error(QStringLiteral("''%1'' is not a valid integer value").arg(text).toStdString())
{
}

std::int32_t StrToInt(const QString& text)
{
    if (const auto value = parse(text))
        return *value;
    throw ConversionError(text);
}
