// How talikcli print stores a page in the PDF file: its drawing commands are one zlib stream,
// compressed at zlib's fastest level (the helper program sets it for Qt's PDF writer), and they
// read back whole.
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <zlib.h>

#include "tests/cli/clifixture.h"
#include "tests/support/deflate.h"
#include "tests/support/tempdir.h"

namespace talik {
namespace {

// The first stream of `pdf` whose dictionary names the Flate filter, still compressed, with the end
// of line the file puts before "endstream".
std::optional<std::string> FirstFlateStream(const std::string& pdf)
{
    const std::string streamStart = "stream\n";
    for (std::size_t filter = pdf.find("/FlateDecode"); filter != std::string::npos;
         filter = pdf.find("/FlateDecode", filter + 1)) {
        std::size_t start = pdf.find(streamStart, filter);
        std::size_t end = pdf.find("endstream", start);
        if (start != std::string::npos && end != std::string::npos) {
            start += streamStart.size();
            return pdf.substr(start, end - start);
        }
    }
    return std::nullopt;
}

std::optional<std::string> Inflate(const std::string& packed)
{
    std::string output(packed.size() * 50 + 1024, '\0');
    uLongf length = static_cast<uLongf>(output.size());
    if (uncompress(reinterpret_cast<Bytef*>(output.data()), &length, reinterpret_cast<const Bytef*>(packed.data()),
                   static_cast<uLong>(packed.size())) != Z_OK) {
        return std::nullopt;
    }
    output.resize(length);
    return output;
}

class CliPrintStreamsTest : public test::CliFixture
{
protected:
    test::TempDir output;
};

TEST_F(CliPrintStreamsTest, PageCommandsAreOneStreamAtTheFastestLevel)
{
    for (const char* name : {"青木", "井上", "上田", "江口"}) {
        add({"--KanaName=ｱｲｳ", std::string("--KanjiName=") + name, "--Address1=東京都渋谷区渋谷2-21-1"});
    }
    const std::string pdf = (output.path() / "labels.pdf").string();
    test::ProgramRun run = cli({"print", "labels", "--out", pdf});
    ASSERT_EQ(run.exitCode, 0) << run.err;

    std::optional<std::string> packed = FirstFlateStream(test::ReadFileText(pdf));
    ASSERT_TRUE(packed.has_value());
    std::optional<std::string> commands = Inflate(*packed);
    ASSERT_TRUE(commands.has_value());
    EXPECT_NE(commands->find(" Tj"), std::string::npos) << "the page draws text";
    ASSERT_NE(test::DeflateAtLevel(*commands, Z_BEST_SPEED), test::DeflateAtLevel(*commands, Z_DEFAULT_COMPRESSION));
    EXPECT_EQ(*packed, test::DeflateAtLevel(*commands, Z_BEST_SPEED) + "\n");
}

} // namespace
} // namespace talik
