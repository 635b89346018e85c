#pragma once

// A small table-driven test runner for the Windows layer, which is built without Qt: one
// line per case, then "N passed, M failed".

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

namespace wintest {

// Thrown by a failed check; the runner reports it and goes on with the next case.
struct CheckFailed {
    std::string what;
};

class Runner {
public:
    void add(std::string name, std::function<void()> body);
    void skip(std::string name, std::string reason);

    // One case per row; a row type has a `name`.
    template <typename Row>
    void table(const std::string& group, const std::vector<Row>& rows, std::function<void(const Row&)> body)
    {
        for (const Row& row : rows)
            add(group + ": " + row.name, [body, row] { body(row); });
    }

    int run(); // the number of failed cases

private:
    struct Case {
        std::string name;
        std::function<void()> body;
        std::string skipReason;
    };
    std::vector<Case> cases_;
};

// How a value reads in a failure message: texts with their bytes or code units in hex
// where they are not plain ASCII.
std::string describe(std::string_view bytes);
std::string describe(std::u16string_view text);
std::string describe(std::wstring_view text);
std::string describe(std::int64_t number);
inline std::string describe(const std::string& bytes) { return describe(std::string_view(bytes)); }
inline std::string describe(const std::u16string& text) { return describe(std::u16string_view(text)); }
inline std::string describe(const std::wstring& text) { return describe(std::wstring_view(text)); }
inline std::string describe(const char* bytes) { return describe(std::string_view(bytes)); }
inline std::string describe(const char16_t* text) { return describe(std::u16string_view(text)); }
inline std::string describe(const wchar_t* text) { return describe(std::wstring_view(text)); }
inline std::string describe(bool value) { return value ? "true" : "false"; }
template <typename Number>
std::string describe(Number number) requires std::is_integral_v<Number>
{
    return describe(static_cast<std::int64_t>(number));
}

[[noreturn]] void fail(const std::string& message, const char* file, int line);

inline void check(bool ok, const char* expression, const char* file, int line)
{
    if (!ok)
        fail(std::string("CHECK(") + expression + ")", file, line);
}

template <typename Actual, typename Expected>
void checkEqual(const Actual& actual, const Expected& expected, const char* actualText, const char* file, int line)
{
    if (!(actual == expected))
        fail(std::string(actualText) + " is " + describe(actual) + ", expected " + describe(expected), file, line);
}

// Runs `body`, which must throw an Error; returns it for further checks.
template <typename Error>
Error expectThrow(const std::function<void()>& body, const char* file, int line)
{
    try {
        body();
    } catch (const Error& error) {
        return error;
    }
    fail("nothing was thrown", file, line);
}

} // namespace wintest

#define CHECK(condition) ::wintest::check((condition), #condition, __FILE__, __LINE__)
#define CHECK_EQ(actual, expected) ::wintest::checkEqual((actual), (expected), #actual, __FILE__, __LINE__)
#define EXPECT_THROW(Error, body) ::wintest::expectThrow<Error>([&] { body; }, __FILE__, __LINE__)
