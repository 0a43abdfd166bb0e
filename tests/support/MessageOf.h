#pragma once

#include "sheet/SheetError.h"

#include <functional>
#include <string>

// What `call` says when it fails as the gateway fails, or "(nothing thrown)".
inline std::string MessageOf(const std::function<void()>& call) {
    try {
        call();
    } catch (const sheet::SheetError& e) {
        return e.what();
    }
    return "(nothing thrown)";
}
