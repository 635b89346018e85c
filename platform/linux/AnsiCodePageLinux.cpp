#include "platform/AnsiCodePage.h"
#include "platform/LocaleCodePage.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <cstdlib>
#include <map>
#include <memory>
#include <string_view>

namespace platform {

namespace {

std::string_view localeName()
{
    for (const char* variable : {"LC_ALL", "LC_CTYPE", "LANG"}) {
        const char* value = std::getenv(variable);
        if (value && *value)
            return value;
    }
    return "C";
}

QByteArray converterName(int codePage) { return "windows-" + QByteArray::number(codePage); }

// Converters are stateless but not thread-safe: one set per thread and code page.
struct Converters {
    QStringEncoder encoder;
    QStringDecoder decoder;
};

Converters& convertersFor(int codePage)
{
    thread_local std::map<int, std::unique_ptr<Converters>> cache;
    auto& slot = cache[codePage];
    if (!slot) {
        const QByteArray name = converterName(codePage);
        slot.reset(new Converters{QStringEncoder(name.constData(), QStringConverter::Flag::Stateless),
                                  QStringDecoder(name.constData(), QStringConverter::Flag::Stateless)});
        if (!slot->encoder.isValid()) // no such converter here: fall back to the Western page
            slot.reset(new Converters{QStringEncoder("windows-1252", QStringConverter::Flag::Stateless),
                                      QStringDecoder("windows-1252", QStringConverter::Flag::Stateless)});
    }
    return *slot;
}

QString decode(Converters& converters, QByteArrayView bytes)
{
    converters.decoder.resetState();
    return converters.decoder.decode(bytes);
}

QByteArray encode(Converters& converters, QStringView text)
{
    converters.encoder.resetState();
    return converters.encoder.encode(text);
}

} // namespace

int ansiCodePage()
{
    static const int codePage = codePageForLocale(localeName());
    return codePage;
}

std::string toAnsi(std::u16string_view text, int codePage)
{
    Converters& converters = convertersFor(codePage);
    const QStringView view(text.data(), static_cast<qsizetype>(text.size()));
    QByteArray whole = encode(converters, view);
    if (decode(converters, whole) == view)
        return whole.toStdString();

    // Some character has no place in this code page. The converter would put its own
    // substitute (or a look-alike) there; Windows without best-fit writes '?'.
    std::string result;
    result.reserve(text.size());
    qsizetype i = 0;
    while (i < view.size()) {
        const qsizetype width = view[i].isHighSurrogate() && i + 1 < view.size() && view[i + 1].isLowSurrogate() ? 2 : 1;
        const QStringView character = view.mid(i, width);
        const QByteArray bytes = encode(converters, character);
        if (!bytes.isEmpty() && decode(converters, bytes) == character)
            result.append(bytes.constData(), static_cast<std::size_t>(bytes.size()));
        else
            result.push_back('?');
        i += width;
    }
    return result;
}

std::u16string fromAnsi(std::string_view bytes, int codePage)
{
    const QString text = decode(convertersFor(codePage), QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
    return std::u16string(reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size()));
}

} // namespace platform
