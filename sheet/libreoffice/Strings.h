#pragma once

#include <rtl/ustring.hxx>

#include <algorithm>
#include <cctype>
#include <string>
#include <string_view>

namespace sheet::libreoffice {

using rtl::OString;
using rtl::OUString;

inline OUString ToOUString(std::string_view text) {
    return OUString(text.data(), static_cast<sal_Int32>(text.size()), RTL_TEXTENCODING_UTF8);
}

inline std::string ToUtf8(const OUString& text) {
    const OString bytes = OUStringToOString(text, RTL_TEXTENCODING_UTF8);
    return std::string(bytes.getStr(), static_cast<std::size_t>(bytes.getLength()));
}

// File name extensions and codeset names are ASCII.
inline std::string AsciiLower(std::string text) {
    std::ranges::transform(text, text.begin(),
                           [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

} // namespace sheet::libreoffice
