#pragma once

// A minimal test runner for test sources that build without Qt, so the same
// source also runs as a Windows program.

#include <cstdio>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

namespace minitest {

struct TestCase {
    const char *name;
    std::function<void()> body;
};

inline std::vector<TestCase> &allTests()
{
    static std::vector<TestCase> tests;
    return tests;
}

inline int &failures()
{
    static int count = 0;
    return count;
}

struct Registration {
    Registration(const char *name, std::function<void()> body) { allTests().push_back({name, std::move(body)}); }
};

// Ends the current test case.
struct Abort {};

template <class T> std::string show(const T &value)
{
    std::ostringstream out;
    out << value;
    return out.str();
}

inline std::string show(const std::string &value)
{
    std::string out = "\"";
    for (const char c : value) {
        if (c == '\0')
            out += "\\0";
        else if (c == '\n')
            out += "\\n";
        else
            out += c;
    }
    return out + "\"";
}

inline std::string show(const char *value)
{
    return show(std::string(value));
}

inline void fail(const char *file, int line, const std::string &what)
{
    ++failures();
    std::printf("  FAIL %s:%d: %s\n", file, line, what.c_str());
    throw Abort{};
}

template <class A, class B>
void checkEqual(const A &actual, const B &expected, const char *text, const char *file, int line)
{
    if (!(actual == expected))
        fail(file, line, std::string(text) + ": got " + show(actual) + ", expected " + show(expected));
}

// Runs every test; the result is the process's exit status.
inline int runAll(const char *title)
{
    std::printf("%s\n", title);
    int failed = 0;
    for (const TestCase &test : allTests()) {
        const int before = failures();
        try {
            test.body();
        } catch (const Abort &) {
        } catch (const std::exception &e) {
            ++failures();
            std::printf("  FAIL %s: exception %s\n", test.name, e.what());
        }
        const bool passed = failures() == before;
        failed += passed ? 0 : 1;
        std::printf("%s %s\n", passed ? "PASS" : "FAIL", test.name);
    }
    std::printf("%d of %zu tests failed\n", failed, allTests().size());
    std::fflush(stdout);
    return failed == 0 ? 0 : 1;
}

} // namespace minitest

#define MT_CONCAT2(a, b) a##b
#define MT_CONCAT(a, b) MT_CONCAT2(a, b)
#define TEST_CASE(name)                                                                                                \
    static void name();                                                                                                \
    static const minitest::Registration MT_CONCAT(registration_, name)(#name, name);                                   \
    static void name()
#define CHECK(condition)                                                                                               \
    do {                                                                                                               \
        if (!(condition))                                                                                              \
            minitest::fail(__FILE__, __LINE__, #condition);                                                            \
    } while (false)
#define CHECK_EQ(actual, expected) minitest::checkEqual((actual), (expected), #actual, __FILE__, __LINE__)
