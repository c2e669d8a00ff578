#include "interchange/vcardbirthday.h"

#include <string>

#include "interchange/vcardimport.h"
#include "interchange/vcardread.h"
#include "platform/trim.h"

namespace talik {

std::int32_t VcardBirthday(const VcardProperty& bday)
{
    std::string value(TrimOf(bday.value, " \t"));
    const std::string param = bday.param("X-APPLE-OMIT-YEAR");
    const std::string_view omitted = TrimOf(param, " \t");
    if (omitted.size() == 4 && value.starts_with(omitted)) {
        value = "--" + value.substr(omitted.size());
        if (value.starts_with("---")) {
            value.erase(2, 1); // "1604-08-15" becomes "--08-15"
        }
    }
    return ParseVcardBirthday(value);
}

} // namespace talik
