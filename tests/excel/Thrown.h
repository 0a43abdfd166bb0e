#pragma once

#include <string>

// The words of what `call` threw as `Exception`, for checking with
// EXPECT_PRED2(Contains, ...); "(nothing thrown)" when it threw nothing.
template <typename Exception, typename Call> std::string Thrown(Call&& call) {
    try {
        call();
    } catch (const Exception& e) {
        return e.what();
    }
    return "(nothing thrown)";
}

inline bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}
