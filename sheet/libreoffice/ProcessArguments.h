#pragma once

#include <string>
#include <vector>

namespace sheet::libreoffice {

// The null-terminated array of pointers posix_spawn takes for its argument
// and environment lists; it points into `strings`, which must outlive it.
inline std::vector<char*> NullTerminated(std::vector<std::string>& strings) {
    std::vector<char*> pointers;
    for (auto& text : strings) {
        pointers.push_back(text.data());
    }
    pointers.push_back(nullptr);
    return pointers;
}

} // namespace sheet::libreoffice
