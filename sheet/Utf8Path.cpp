#include "Utf8Path.h"

#include <string>

namespace sheet {

std::filesystem::path PathOf(std::string_view utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

} // namespace sheet
