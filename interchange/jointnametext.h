#pragma once
// Joint names (連名) written in one column of a file: "花子・一郎様" or "山田 花子、佐藤 一郎".
#include <string_view>
#include <vector>

#include "store/sidestore.h"

namespace talik {

// The names of a UTF-8 text, separated by "・" or "、". A name with a blank (half- or full-width)
// is family name and given name, one without is the given name alone; a trailing "様" is the
// honorific and is taken off. Empty pieces are dropped; at most MaxJointNames are kept.
std::vector<JointName> ParseJointNames(std::string_view utf8);

} // namespace talik
