#include "platform/LocaleCodePage.h"

namespace platform {

int codePageForLocale(std::string_view locale)
{
    const auto cut = locale.find_first_of("_.@");
    const std::string_view language = locale.substr(0, cut);
    const std::string_view territory =
        cut != std::string_view::npos && locale[cut] == '_' ? locale.substr(cut + 1, 2) : std::string_view();
    struct Entry {
        std::string_view language;
        int codePage;
    };
    static constexpr Entry table[] = {
        {"hu", 1250}, {"pl", 1250}, {"cs", 1250}, {"sk", 1250}, {"sl", 1250}, {"hr", 1250}, {"ro", 1250},
        {"ru", 1251}, {"uk", 1251}, {"bg", 1251}, {"sr", 1251},
        {"el", 1253}, {"tr", 1254}, {"he", 1255}, {"ar", 1256},
        {"lt", 1257}, {"lv", 1257}, {"et", 1257},
        {"vi", 1258}, {"th", 874},  {"ja", 932},  {"ko", 949},
    };
    if (language == "zh")
        return territory == "TW" || territory == "HK" || territory == "MO" ? 950 : 936;
    for (const Entry& entry : table)
        if (entry.language == language)
            return entry.codePage;
    return 1252;
}

} // namespace platform
