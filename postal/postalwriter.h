#pragma once
// Compiles the places and offices read from the national list into the index file's bytes.
#include <string>
#include <vector>

#include "postal/postalsource.h"

namespace talik {

// The index (see postalformat.h). Rows of one code naming the same place are one place, their hints
// joined with "、".
std::string BuildPostalIndex(const std::vector<SourcePlace>& places, const std::vector<SourceOffice>& offices);

} // namespace talik
