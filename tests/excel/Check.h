#pragma once

// A small test harness: GoogleTest has no MinGW build in Debian, and these
// tests run both natively and cross-built under Wine. Each case is a
// function; a case passes when it checked something and nothing failed. The
// last line printed is "N passed, M failed" (", K skipped" when any were).

#include <sstream>
#include <string>

namespace check {

using Body = void (*)();

struct Register {
    Register(const char* name, Body body);
};

void Passed();
void Failed(const char* file, int line, const std::string& what);
// Ends the current case as skipped, saying why: for a check that needs what
// this machine does not have.
[[noreturn]] void Skip(const std::string& why);

template <typename T> std::string Show(const T& value) {
    std::ostringstream out;
    if constexpr (requires { out << value; }) {
        out << value;
    } else {
        out << "(a value)";
    }
    return out.str();
}
inline std::string Show(const std::string& value) { return "\"" + value + "\""; }

// Runs every case; returns the process's exit status.
int RunAll();

} // namespace check

#define CHECK_CASE(name)                                                                           \
    static void name();                                                                            \
    static const check::Register name##_registration(#name, name);                                 \
    static void name()

#define CHECK(condition)                                                                           \
    do {                                                                                           \
        if (condition) {                                                                           \
            check::Passed();                                                                       \
        } else {                                                                                   \
            check::Failed(__FILE__, __LINE__, #condition);                                         \
        }                                                                                          \
    } while (false)

#define CHECK_EQ(actual, expected)                                                                 \
    do {                                                                                           \
        /* Copies: a reference could outlive a temporary the expression made. */                  \
        const auto check_actual = (actual);                                                        \
        const auto check_expected = (expected);                                                    \
        if (check_actual == check_expected) {                                                      \
            check::Passed();                                                                       \
        } else {                                                                                   \
            check::Failed(__FILE__, __LINE__,                                                      \
                          std::string(#actual " == " #expected ": got ") +                         \
                              check::Show(check_actual) + ", expected " +                          \
                              check::Show(check_expected));                                        \
        }                                                                                          \
    } while (false)

// `statement` must throw `Exception` whose what() contains `fragment`.
#define CHECK_THROWS(statement, Exception, fragment)                                               \
    do {                                                                                           \
        try {                                                                                      \
            statement;                                                                             \
            check::Failed(__FILE__, __LINE__, "no exception from " #statement);                    \
        } catch (const Exception& check_error) {                                                   \
            const std::string check_what = check_error.what();                                     \
            if (check_what.find(fragment) != std::string::npos) {                                  \
                check::Passed();                                                                   \
            } else {                                                                               \
                check::Failed(__FILE__, __LINE__,                                                  \
                              std::string(#statement " threw \"") + check_what +                   \
                                  "\", which lacks \"" + (fragment) + "\"");                       \
            }                                                                                      \
        }                                                                                          \
    } while (false)
