#include "store/RecordText.h"

#include "platform/AnsiCodePage.h"

namespace detail {

std::string ansiForField(const QString& text)
{
    const QString head = text.left(255);
    return platform::toAnsi(std::u16string_view(reinterpret_cast<const char16_t*>(head.utf16()),
                                                static_cast<std::size_t>(head.size())));
}

QString textFromAnsi(std::string_view bytes)
{
    const std::u16string text = platform::fromAnsi(bytes);
    return QString(reinterpret_cast<const QChar*>(text.data()), static_cast<qsizetype>(text.size()));
}

} // namespace detail
