#pragma once
// Deflating a text through a zlib stream already started, the way the tests of the PDF helper's
// compression compare what a level gives.
#include <string>
#include <zlib.h>

#include <gtest/gtest.h>

namespace talik::test {

// All of `input` through `stream` to its end; the stream is ended too.
inline std::string DeflateThrough(z_stream& stream, const std::string& input)
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

// zlib's own stream at `level`, started with deflateInit2 (which the PDF helper leaves as it is).
inline std::string DeflateAtLevel(const std::string& input, int level)
{
    z_stream stream{};
    EXPECT_EQ(deflateInit2(&stream, level, Z_DEFLATED, MAX_WBITS, 8, Z_DEFAULT_STRATEGY), Z_OK);
    return DeflateThrough(stream, input);
}

} // namespace talik::test
