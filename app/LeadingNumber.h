#pragma once

#include <string_view>

// The number a text starts with: leading blanks are skipped and the longest
// leading part that forms a decimal number (sign, digits, a point, an
// exponent) is taken. A text with no leading number gives 0.
//   " 1" -> 1, "1.0" -> 1, "1abc" -> 1, "-1" -> -1, "2e1x" -> 20, "abc" -> 0
double LeadingNumber(std::string_view text);
