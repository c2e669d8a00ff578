// The PDF helper's zlib streams: whatever level the caller asks deflateInit for, the stream is
// zlib's fastest, and what it writes still inflates to what went in.
#include <gtest/gtest.h>
#include <string>
#include <zlib.h>

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

std::string Deflate(z_stream& stream, const std::string& input)
{
    std::string output(deflateBound(&stream, static_cast<uLong>(input.size())), '\0');
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(input.data()));
    stream.avail_in = static_cast<uInt>(input.size());
    stream.next_out = reinterpret_cast<Bytef*>(output.data());
    stream.avail_out = static_cast<uInt>(output.size());
    EXPECT_EQ(deflate(&stream, Z_FINISH), Z_STREAM_END);
    output.resize(stream.total_out);
    deflateEnd(&stream);
    return output;
}

// What deflateInit gives at `level` in this program.
std::string DeflateAsQtDoes(const std::string& input, int level)
{
    z_stream stream{};
    EXPECT_EQ(deflateInit(&stream, level), Z_OK);
    return Deflate(stream, input);
}

// zlib's own stream at `level`, started the way deflateInit is not.
std::string DeflateAtLevel(const std::string& input, int level)
{
    z_stream stream{};
    EXPECT_EQ(deflateInit2(&stream, level, Z_DEFLATED, MAX_WBITS, 8, Z_DEFAULT_STRATEGY), Z_OK);
    return Deflate(stream, input);
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
    const std::string fastest = DeflateAtLevel(input, Z_BEST_SPEED);
    ASSERT_NE(fastest, DeflateAtLevel(input, Z_DEFAULT_COMPRESSION)); // the levels tell apart here
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
