#include "platform/AnsiCodePage.h"
#include "tests/win/Cases.h"

namespace wintest {

namespace {

struct Conversion {
    std::string name;
    int codePage;
    std::u16string text;
    std::string bytes;
};

} // namespace

void addCodePageCases(Runner& runner)
{
    // The bytes the Linux side writes and reads for the same texts.
    runner.table<Conversion>("code page, both ways",
        {
            {"1250 Hungarian", 1250, u"Árvíztűrő tükörfúrógép", "\xC1rv\xEDzt\xFBr\xF5 t\xFCk\xF6rf\xFAr\xF3g\xE9p"},
            {"1250 Polish", 1250, u"Zażółć", "Za\xBF\xF3\xB3\xE6"},
            {"1252 Western", 1252, u"Café €5 ß", "Caf\xE9 \x80" "5 \xDF"},
            {"empty text", 1252, u"", ""},
        },
        [](const Conversion& row) {
            CHECK_EQ(platform::toAnsi(row.text, row.codePage), row.bytes);
            CHECK_EQ(platform::fromAnsi(row.bytes, row.codePage), row.text);
        });

    runner.table<Conversion>("code page, unrepresentable becomes ?",
        {
            {"ő in 1252, no look-alike", 1252, u"Tűrő", "T?r?"},
            {"Greek in 1250", 1250, u"aΩb", "a?b"},
            {"one ? per character outside the BMP", 1252, u"x😀y", "x?y"},
            {"a lone surrogate", 1250, u"a\xD800" "b", "a?b"},
            {"a code page the machine lacks is read as 1252", 12345, u"Café", "Caf\xE9"},
        },
        [](const Conversion& row) { CHECK_EQ(platform::toAnsi(row.text, row.codePage), row.bytes); });
}

} // namespace wintest
