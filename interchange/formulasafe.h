#pragma once
// Cells a spreadsheet would evaluate: a value that came from anywhere (an imported file, a shared
// database) must not run as a formula when the exported file is opened.
#include <string_view>

namespace talik {

inline constexpr std::string_view FormulaSafeCaption = "表計算ソフト用に安全な形で出力";

// True when a spreadsheet takes `field` for a formula: it begins with "=" or "@", or with "+" or
// "-" not followed by a digit ("+81 3..." and "-5" stay numbers and text as they are).
bool SpreadsheetWouldEvaluate(std::string_view field);

} // namespace talik
