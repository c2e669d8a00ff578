#pragma once
// The birthday of a vCard's BDAY property as the record stores it (yyyymmdd; a month and day
// without a year as mmdd, as "--0815" gives).
#include <cstdint>

namespace talik {

struct VcardProperty;

// Apple's address books write a birthday without a year as a made-up year named in the parameter
// X-APPLE-OMIT-YEAR ("BDAY;X-APPLE-OMIT-YEAR=1604:1604-08-15"): that year is dropped.
std::int32_t VcardBirthday(const VcardProperty& bday);

} // namespace talik
