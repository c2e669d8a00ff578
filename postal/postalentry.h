#pragma once
// What the record editor does with the postal code list: which place a code or an address stands
// for, and whether the box it goes into may simply take it or the user is asked first. Nothing is
// put into a box the user has filled without a question.
#include <string>
#include <string_view>
#include <vector>

#include "postal/postalindex.h"

namespace talik {

inline constexpr std::string_view PostalChoiceTitle = "住所の選択";
inline constexpr std::string_view PostalCodeChoiceTitle = "郵便番号の選択";
inline constexpr std::string_view BadPostalCodeMessage = "郵便番号は７桁の数字で入力して下さい。";
inline constexpr std::string_view NoPostalIndexMessage = "郵便番号データがありません。";

// How an offered text meets what a box holds.
enum class BoxOffer
{
    Fill, // the box is empty: it takes the text
    Keep, // the box already holds it (or begins with it, the rest of the address typed after it)
    Ask,  // the box holds something else: replace only when the user says so
};

// `offered` against `current`, compared as addresses are (FoldAddress).
BoxOffer OfferFor(std::string_view current, std::string_view offered);

// The line of a place in the choice list: "150-0001　東京都渋谷区神宮前" with the list's note
// ("（１～１９丁目）") or the office's name after it.
std::string PostalChoiceLabel(const PostalPlace& place);
std::vector<std::string> PostalChoiceLabels(const std::vector<PostalPlace>& places);

std::string ReplaceAddressQuestion(std::string_view address);
std::string ReplaceCodeQuestion(std::string_view hyphenatedCode);
std::string CompanyQuestion(std::string_view office);
std::string NoAddressMessage(std::string_view hyphenatedCode);
std::string NoCodeMessage(std::string_view address);

} // namespace talik
