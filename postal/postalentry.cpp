#include "postal/postalentry.h"

#include "postal/postaltext.h"

namespace talik {

BoxOffer OfferFor(std::string_view current, std::string_view offered)
{
    std::string box = FoldAddress(current);
    if (box.empty()) {
        return BoxOffer::Fill;
    }
    return box.starts_with(FoldAddress(offered)) ? BoxOffer::Keep : BoxOffer::Ask;
}

std::string PostalChoiceLabel(const PostalPlace& place)
{
    std::string label = HyphenatedPostalCode(place.code) + "　" + place.address();
    if (place.isOffice()) {
        label += "　" + place.office;
    } else if (!place.hint.empty()) {
        label += "（" + place.hint + "）";
    }
    return label;
}

std::vector<std::string> PostalChoiceLabels(const std::vector<PostalPlace>& places)
{
    std::vector<std::string> labels;
    labels.reserve(places.size());
    for (const auto& place : places) {
        labels.push_back(PostalChoiceLabel(place));
    }
    return labels;
}

std::string ReplaceAddressQuestion(std::string_view address)
{
    return "住所を「" + std::string(address) + "」に置き換えますか？";
}

std::string ReplaceCodeQuestion(std::string_view hyphenatedCode)
{
    return "郵便番号を「" + std::string(hyphenatedCode) + "」に置き換えますか？";
}

std::string CompanyQuestion(std::string_view office)
{
    return "会社名を「" + std::string(office) + "」にしますか？";
}

std::string NoAddressMessage(std::string_view hyphenatedCode)
{
    return "郵便番号 " + std::string(hyphenatedCode) + " の住所は見つかりません。";
}

std::string NoCodeMessage(std::string_view address)
{
    return "「" + std::string(address) + "」の郵便番号は見つかりません。";
}

} // namespace talik
