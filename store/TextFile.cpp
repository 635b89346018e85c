#include "store/TextFile.h"

#include "platform/AnsiCodePage.h"
#include "platform/FileAccess.h"
#include "store/PathRules.h"
#include "store/RecordText.h"

namespace {

// Where the first line ends: at LF, at byte 26, or not in `content` (-1).
qsizetype lineEnd(QByteArrayView content)
{
    for (qsizetype i = 0; i < content.size(); ++i)
        if (content[i] == '\n' || content[i] == '\x1a')
            return i;
    return -1;
}

} // namespace

QByteArray firstLineOf(QByteArrayView content)
{
    const qsizetype end = lineEnd(content);
    QByteArray line = content.first(end < 0 ? content.size() : end).toByteArray();
    line.removeIf([](char byte) { return byte == '\r'; });
    return line;
}

QString readFirstLine(const QString& fileName)
{
    requireFitsPathLimit(fileName);
    platform::InputFile file(systemPath(fileName));
    // The line has no length limit: read on until its end turns up.
    QByteArray content;
    constexpr qsizetype Block = 64 * 1024;
    for (;;) {
        const qsizetype before = content.size();
        content.resize(before + Block);
        const auto got = static_cast<qsizetype>(file.read(content.data() + before, Block));
        content.resize(before + got);
        if (got < Block || lineEnd(QByteArrayView(content).sliced(before)) >= 0)
            break;
    }
    const QByteArray line = firstLineOf(content);
    return detail::textFromAnsi(std::string_view(line.constData(), static_cast<std::size_t>(line.size())));
}

void writeLine(const QString& fileName, const QString& text)
{
    requireFitsPathLimit(fileName);
    std::string bytes = platform::toAnsi(
        std::u16string_view(reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size())));
    bytes += "\r\n";
    platform::ReplacingFile file(systemPath(fileName));
    file.write(bytes.data(), bytes.size());
    file.commit();
}
