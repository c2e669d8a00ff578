#include "store/liverecords.h"

#include <cstdio>
#include <string>
#include <vector>

#include "platform/codec.h"
#include "store/dbfile.h"
#include "tests/support/storefixture.h"

namespace talik::test {
namespace {

// The live records a scan visits, by number and reading.
class LiveScan : public StoreTest
{
protected:
    std::vector<std::string> scan()
    {
        auto main = OpenDbFile(state, mainPath(), OpenMode::Read, MainRecLen);
        EXPECT_TRUE(main);
        std::vector<std::string> seen;
        EXPECT_TRUE(ScanLiveRecords(state, {&*main, mainPath()}, {},
                                    [&](std::int32_t recNo, const AddressRecord& rec, const ExtraRecord*) {
                                        seen.push_back(std::to_string(recNo) + ":" + GetText(rec.KanaName));
                                    }));
        return seen;
    }
};

TEST_F(LiveScan, AWriterHoldingTheFileAndAShortLastRecordChangeNothingOfWhatIsSeen)
{
    // Three records, the second deleted, the third cut short by a crash of an older copy: its
    // reading survives, and past the end of the file it reads as blank.
    Bytes600 third = HandAddress("\xB3", "\x89\x4B"); // ｳ
    third.resize(100);
    WriteRecords(mainPath(), {HandMainHeader(4), HandAddress("\xB1", "\x88\xA2"), HandAddress("\xFF\xB2", ""), third});
    load();
    const std::vector<std::string> expected = {"2:ｱ", "4:ｳ"};
    EXPECT_EQ(scan(), expected); // through a mapping, the short record read

    RecordFile writer; // a writer holds the file: the scan reads instead of mapping
    ASSERT_EQ(writer.open(mainPath(), OpenMode::Write, MainRecLen), OpenError::None);
    EXPECT_EQ(scan(), expected);
}

} // namespace
} // namespace talik::test
