#include "Check.h"

#include <cstdio>
#include <exception>
#include <vector>

namespace check {
namespace {

struct Case {
    const char* name;
    Body body;
};

std::vector<Case>& Cases() {
    static std::vector<Case> cases;
    return cases;
}

struct Skipped {
    std::string why;
};

int checksPassed = 0;
int checksFailed = 0;

} // namespace

Register::Register(const char* name, Body body) { Cases().push_back({name, body}); }

void Passed() { ++checksPassed; }

void Failed(const char* file, int line, const std::string& what) {
    ++checksFailed;
    std::printf("  %s:%d: %s\n", file, line, what.c_str());
}

void Skip(const std::string& why) { throw Skipped{why}; }

int RunAll() {
    int passed = 0;
    int failed = 0;
    int skipped = 0;
    for (const auto& c : Cases()) {
        checksPassed = 0;
        checksFailed = 0;
        std::printf("%s\n", c.name);
        try {
            c.body();
        } catch (const Skipped& s) {
            std::printf("  skipped: %s\n", s.why.c_str());
            ++skipped;
            continue;
        } catch (const std::exception& e) {
            Failed(__FILE__, __LINE__, std::string("unexpected exception: ") + e.what());
        }
        if (checksPassed == 0 && checksFailed == 0) {
            Failed(__FILE__, __LINE__, "the case checked nothing");
        }
        if (checksFailed == 0) {
            ++passed;
        } else {
            std::printf("  FAILED\n");
            ++failed;
        }
    }
    if (skipped > 0) {
        std::printf("%d passed, %d failed, %d skipped\n", passed, failed, skipped);
    } else {
        std::printf("%d passed, %d failed\n", passed, failed);
    }
    std::fflush(stdout);
    return failed == 0 ? 0 : 1;
}

} // namespace check
