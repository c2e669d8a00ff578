#include "postal/postalfill.h"

#include <set>

#include "postal/postaltext.h"

namespace talik {

PostalFill FillMissingPostal(const PostalIndex& index, std::string& code, std::string& address)
{
    bool noCode = FoldAddress(code).empty();
    bool noAddress = FoldAddress(address).empty();
    if (noCode == noAddress) {
        return PostalFill::None;
    }
    if (noCode) {
        std::set<std::string> codes;
        for (const auto& place : index.byAddress(address)) {
            codes.insert(place.code);
        }
        if (codes.size() != 1) {
            return PostalFill::None;
        }
        code = HyphenatedPostalCode(*codes.begin());
        return PostalFill::Code;
    }
    std::optional<std::string> digits = NormalizePostalCode(code);
    std::vector<PostalPlace> places = digits ? index.byCode(*digits) : std::vector<PostalPlace>{};
    if (places.size() != 1) {
        return PostalFill::None;
    }
    address = places.front().address();
    return PostalFill::Address;
}

} // namespace talik
