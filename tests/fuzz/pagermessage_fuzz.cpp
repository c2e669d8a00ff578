// A pager message file of any content, recalled as the message window does, and the message it
// holds normalised and coded for both code tables.
#include <cstddef>
#include <cstdint>
#include <string>

#include "dial/pagercode.h"
#include "tests/fuzz/fuzzsupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace talik;
    const std::string file = fuzz::WriteScratchFile("message.qxm", fuzz::InputBytes(data, size));
    const std::string message = ReadMessageFile(file);
    fuzz::Require(fuzz::IsWellFormedUtf8(message), "the recalled message is well-formed UTF-8");
    const std::string normalised = NormalisePagerText(message);
    fuzz::Require(fuzz::IsWellFormedUtf8(normalised), "the normalised message is well-formed UTF-8");
    for (int msgType : {1, 2}) {
        const std::string codes = PagerCodes(normalised, msgType);
        fuzz::Require(codes.size() % 2 == 0, "every character codes as two digits");
        fuzz::Require(codes.find_first_not_of("0123456789") == std::string::npos, "codes are digits");
    }
    return 0;
}
