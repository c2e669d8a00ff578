// The PDF helper's zlib streams: whatever level the caller asks deflateInit for, the stream is
// zlib's fastest, and what it writes still inflates to what went in.
#include <gtest/gtest.h>
#include <string>
#include <zlib.h>

#include "tests/support/deflate.h"

namespace {

// Drawing commands of the kind the PDF writer compresses: short, similar lines.
std::string PageCommands()
{
    std::string text;
    for (int n = 0; n < 4000; ++n) {
        text += std::to_string(136 + n % 7) + ".062500 0 Td <00" + std::to_string(10 + n % 53) + "> Tj\n";
    }
    return text;
}

// What deflateInit gives at `level` in this program.
std::string DeflateAsQtDoes(const std::string& input, int level)
{
    z_stream stream{};
    EXPECT_EQ(deflateInit(&stream, level), Z_OK);
    return talik::test::DeflateThrough(stream, input);
}

std::string Inflate(const std::string& input, std::size_t size)
{
    std::string output(size, '\0');
    uLongf length = static_cast<uLongf>(size);
    EXPECT_EQ(uncompress(reinterpret_cast<Bytef*>(output.data()), &length, reinterpret_cast<const Bytef*>(input.data()),
                         static_cast<uLong>(input.size())),
              Z_OK);
    output.resize(length);
    return output;
}

TEST(PdfDeflate, EveryLevelAskedForCompressesAtTheFastest)
{
    const std::string input = PageCommands();
    const std::string fastest = talik::test::DeflateAtLevel(input, Z_BEST_SPEED);
    ASSERT_NE(fastest, talik::test::DeflateAtLevel(input, Z_DEFAULT_COMPRESSION)); // the levels tell apart here
    EXPECT_EQ(DeflateAsQtDoes(input, Z_DEFAULT_COMPRESSION), fastest);
    EXPECT_EQ(DeflateAsQtDoes(input, Z_BEST_COMPRESSION), fastest);
}

TEST(PdfDeflate, TheStreamInflatesToWhatWentIn)
{
    const std::string input = PageCommands();
    const std::string packed = DeflateAsQtDoes(input, Z_DEFAULT_COMPRESSION);
    EXPECT_LT(packed.size(), input.size() / 4);
    EXPECT_EQ(Inflate(packed, input.size()), input);
}

} // namespace
