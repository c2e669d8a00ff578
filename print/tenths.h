#pragma once
// Millimetres typed and shown as tenths. The settings keep single-precision values; multiplying
// those by 10 in binary arithmetic cuts 0.7 to 6 and 62.3 to 622, so the shown value is taken from
// the value's shortest decimal text instead, and typed tenths become millimetres the same way.
#include <optional>
#include <string>
#include <string_view>

namespace talik {

// The value × 10 with the fraction cut off (towards zero), exact for every value of one decimal:
// 62.3 -> 623, 62.35 -> 623, -1.5 -> -15.
long ShownTenths(float millimetres);
// `tenths` ÷ 10 as the nearest single-precision value (623 -> 62.3).
float TenthsValue(long tenths);
// A strictly read number (see ParseStrictNumber) of tenths ÷ 10, as the nearest single-precision
// value: "623" -> 62.3, "62.5" -> 6.25, "-15" -> -1.5. nullopt when the text is no number.
std::optional<float> TenthsToMillimetres(std::string_view typed);
// A value rounded to the nearest tenth (half away from zero), as stored by the layout editor.
float RoundToTenth(double millimetres);

} // namespace talik
