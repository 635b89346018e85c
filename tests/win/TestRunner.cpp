#include "tests/win/TestRunner.h"

#include <cstdio>
#include <exception>

namespace wintest {

namespace {

template <typename Unit>
std::string describeUnits(const Unit* units, std::size_t count, int hexDigits, const char* prefix)
{
    std::string text = "\"";
    for (std::size_t i = 0; i < count; ++i) {
        const auto value = static_cast<unsigned long>(static_cast<std::make_unsigned_t<Unit>>(units[i]));
        if (value >= 0x20 && value < 0x7F && value != '\\' && value != '"') {
            text.push_back(static_cast<char>(value));
        } else {
            char escape[16];
            std::snprintf(escape, sizeof escape, "%s%0*lX", prefix, hexDigits, value);
            text += escape;
        }
    }
    return text + "\"";
}

} // namespace

std::string describe(std::string_view bytes) { return describeUnits(bytes.data(), bytes.size(), 2, "\\x"); }
std::string describe(std::u16string_view text) { return describeUnits(text.data(), text.size(), 4, "\\u"); }
std::string describe(std::wstring_view text) { return describeUnits(text.data(), text.size(), 4, "\\u"); }
std::string describe(std::int64_t number) { return std::to_string(number); }

void fail(const std::string& message, const char* file, int line)
{
    throw CheckFailed{std::string(file) + ":" + std::to_string(line) + ": " + message};
}

void Runner::add(std::string name, std::function<void()> body) { cases_.push_back({std::move(name), std::move(body), {}}); }

void Runner::skip(std::string name, std::string reason) { cases_.push_back({std::move(name), {}, std::move(reason)}); }

int Runner::run()
{
    int passed = 0;
    int failed = 0;
    int skipped = 0;
    for (const Case& testCase : cases_) {
        if (!testCase.body) {
            std::printf("SKIP  %s (%s)\n", testCase.name.c_str(), testCase.skipReason.c_str());
            ++skipped;
            continue;
        }
        std::string failure;
        try {
            testCase.body();
        } catch (const CheckFailed& error) {
            failure = error.what;
        } catch (const std::exception& error) {
            failure = std::string("unexpected exception: ") + error.what();
        } catch (...) {
            failure = "unexpected exception of unknown type";
        }
        if (failure.empty()) {
            std::printf("PASS  %s\n", testCase.name.c_str());
            ++passed;
        } else {
            std::printf("FAIL  %s\n      %s\n", testCase.name.c_str(), failure.c_str());
            ++failed;
        }
        std::fflush(stdout);
    }
    if (skipped > 0)
        std::printf("%d passed, %d failed, %d skipped\n", passed, failed, skipped);
    else
        std::printf("%d passed, %d failed\n", passed, failed);
    return failed;
}

} // namespace wintest
