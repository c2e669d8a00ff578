#include "print/tenths.h"

#include <charconv>
#include <cmath>
#include <iterator>

#include "print/numberparse.h"

namespace talik {
namespace {

float FloatFromText(const std::string& text)
{
    float value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value + 0.0f; // no "-0" in the settings
}

} // namespace

long ShownTenths(float millimetres)
{
    if (!std::isfinite(millimetres)) {
        return 0;
    }
    // The shortest text that reads back as the value is its decimal form as typed: 62.3f -> "62.3".
    char text[64];
    const auto end = std::to_chars(std::begin(text), std::end(text), millimetres, std::chars_format::fixed).ptr;
    const std::optional<TypedNumber> number = ParseStrictNumber(std::string_view(text, end - text));
    if (!number) {
        return 0;
    }
    const std::string digits = number->whole + (number->fraction.empty() ? "0" : number->fraction.substr(0, 1));
    const long tenths = std::strtol(digits.c_str(), nullptr, 10);
    return number->negative ? -tenths : tenths;
}

float TenthsValue(long tenths)
{
    const long magnitude = tenths < 0 ? -tenths : tenths;
    const std::string text =
        (tenths < 0 ? "-" : "") + std::to_string(magnitude / 10) + "." + std::to_string(magnitude % 10);
    return FloatFromText(text);
}

std::optional<float> TenthsToMillimetres(std::string_view typed)
{
    const std::optional<TypedNumber> number = ParseStrictNumber(typed);
    if (!number) {
        return std::nullopt;
    }
    // Moving the point one place to the left keeps the typed digits exact.
    const std::string whole = number->whole.empty() ? "0" : number->whole;
    const std::string text = std::string(number->negative ? "-0" : "0") + whole.substr(0, whole.size() - 1) + "." +
                             whole.substr(whole.size() - 1) + number->fraction;
    return FloatFromText(text);
}

float RoundToTenth(double millimetres)
{
    return TenthsValue(std::lround(millimetres * 10));
}

} // namespace talik
