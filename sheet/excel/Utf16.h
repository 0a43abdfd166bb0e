#pragma once

#include <string>
#include <string_view>

namespace sheet::excel {

// Excel speaks UTF-16 (BSTR); the gateway speaks UTF-8. Broken sequences on
// either side become U+FFFD instead of failing: a cell text is shown, never
// refused.
std::u16string Utf8ToUtf16(std::string_view text);
std::string Utf16ToUtf8(std::u16string_view text);

} // namespace sheet::excel
