#include "platform/recordfile.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "tests/support/tempdir.h"

namespace talik {
namespace {

using test::TempDir;

constexpr std::size_t RecLen = 8;
using Rec = std::array<unsigned char, RecLen>;

Rec Filled(unsigned char value)
{
    Rec rec;
    rec.fill(value);
    return rec;
}

const Rec Zeros{};

class RecordFileTest : public ::testing::Test
{
protected:
    TempDir dir;
    std::string file = (dir.path() / "MRPDAT01.QX1").string();

    OpenError openWriter(RecordFile& f) { return f.open(file, OpenMode::Write, RecLen); }
};

TEST_F(RecordFileTest, WriterLocksOutAnotherWriterOfTheSameFileUntilClosed)
{
    RecordFile first;
    ASSERT_EQ(openWriter(first), OpenError::None);
    RecordFile second;
    EXPECT_EQ(openWriter(second), OpenError::LockHeld);
    EXPECT_FALSE(second.isOpen());
    first.close();
    EXPECT_EQ(openWriter(second), OpenError::None);
}

TEST_F(RecordFileTest, LockGoesWithTheDestroyedWriterAndFollowsAMove)
{
    {
        RecordFile first;
        ASSERT_EQ(openWriter(first), OpenError::None);
        RecordFile moved = std::move(first);
        first.close(); // closing the moved-from object must not drop the lock
        RecordFile other;
        EXPECT_EQ(openWriter(other), OpenError::LockHeld);
    }
    RecordFile after;
    EXPECT_EQ(openWriter(after), OpenError::None);
}

TEST_F(RecordFileTest, ClosingAnotherDescriptorOfTheFileKeepsTheLock)
{
    RecordFile writer;
    ASSERT_EQ(openWriter(writer), OpenError::None);

    int fd = ::open(file.c_str(), O_RDONLY);
    ASSERT_GE(fd, 0);
    ::close(fd);
    RecordFile reader;
    ASSERT_EQ(reader.open(file, OpenMode::Read, RecLen), OpenError::None);
    reader.close();

    RecordFile second;
    EXPECT_EQ(openWriter(second), OpenError::LockHeld);
}

TEST_F(RecordFileTest, ReadersTakeNoLockAndSeeTheWritersRecords)
{
    RecordFile reader;
    ASSERT_EQ(reader.open(file, OpenMode::Read, RecLen), OpenError::None);
    RecordFile writer;
    ASSERT_EQ(openWriter(writer), OpenError::None); // a reader does not keep a writer out
    ASSERT_TRUE(writer.write(2, Filled(0x41)));

    RecordFile secondReader;
    ASSERT_EQ(secondReader.open(file, OpenMode::Read, RecLen), OpenError::None); // nor a writer a reader
    Rec rec{};
    ASSERT_TRUE(secondReader.read(2, rec));
    EXPECT_EQ(rec, Filled(0x41));
}

TEST_F(RecordFileTest, ReadingAMissingFileGivesZerosAndCreatesNothing)
{
    RecordFile reader;
    ASSERT_EQ(reader.open(file, OpenMode::Read, RecLen), OpenError::None);
    EXPECT_TRUE(reader.isOpen());
    Rec rec = Filled(0x55);
    EXPECT_TRUE(reader.read(1, rec));
    EXPECT_EQ(rec, Zeros);
    EXPECT_EQ(reader.recordCount(), 0);
    EXPECT_FALSE(std::filesystem::exists(file));
}

TEST_F(RecordFileTest, ReadsPastTheEndAreZeroFilled)
{
    test::WriteFileBytes(file, std::vector<std::uint8_t>(RecLen + 3, 0x7A)); // one record and a part
    RecordFile f;
    ASSERT_EQ(f.open(file, OpenMode::Read, RecLen), OpenError::None);
    EXPECT_EQ(f.recordCount(), 2);

    Rec rec = Filled(0x55);
    ASSERT_TRUE(f.read(2, rec));
    EXPECT_EQ(rec, (Rec{0x7A, 0x7A, 0x7A, 0, 0, 0, 0, 0}));
    rec = Filled(0x55);
    ASSERT_TRUE(f.read(9, rec));
    EXPECT_EQ(rec, Zeros);
}

TEST_F(RecordFileTest, ReadManyAcrossTheEndZeroFillsTheMissingRecords)
{
    RecordFile f;
    ASSERT_EQ(openWriter(f), OpenError::None);
    for (unsigned char n = 1; n <= 3; ++n) {
        ASSERT_TRUE(f.write(n, Filled(n)));
    }
    std::vector<unsigned char> out(4 * RecLen, 0x55);
    ASSERT_TRUE(f.readMany(2, 4, out));
    std::vector<unsigned char> expected(4 * RecLen, 0);
    std::fill_n(expected.begin(), RecLen, 2);
    std::fill_n(expected.begin() + RecLen, RecLen, 3);
    EXPECT_EQ(out, expected);
}

TEST_F(RecordFileTest, WriteFarPastTheEndGrowsTheFileWithAZeroGap)
{
    RecordFile f;
    ASSERT_EQ(openWriter(f), OpenError::None);
    ASSERT_TRUE(f.write(1, Filled(1)));
    ASSERT_TRUE(f.write(1000, Filled(9)));
    EXPECT_EQ(std::filesystem::file_size(file), 1000 * RecLen);
    EXPECT_EQ(f.recordCount(), 1000);

    Rec rec = Filled(0x55);
    ASSERT_TRUE(f.read(500, rec));
    EXPECT_EQ(rec, Zeros);
    ASSERT_TRUE(f.read(1000, rec));
    EXPECT_EQ(rec, Filled(9));
}

// Lets `allowed` bytes of each write through and keeps what it was shown.
class CuttingGate final : public WriteGate
{
public:
    explicit CuttingGate(std::size_t allowed) : m_allowed(allowed) {}
    std::size_t admit(const std::string& path, std::int64_t offset, std::size_t size) override
    {
        seen.push_back({path, offset, size});
        return m_allowed;
    }
    struct Write
    {
        std::string path;
        std::int64_t offset;
        std::size_t size;
        bool operator==(const Write&) const = default;
    };
    std::vector<Write> seen;

private:
    std::size_t m_allowed;
};

TEST_F(RecordFileTest, AGateCuttingAWriteShortLeavesItsPartAndFailsLikeAFullDisk)
{
    RecordFile f;
    ASSERT_EQ(openWriter(f), OpenError::None);
    ASSERT_TRUE(f.write(1, Filled(1)));
    CuttingGate gate(3);
    f.setWriteGate(&gate);
    RecordFile moved = std::move(f); // the gate follows the open file
    EXPECT_FALSE(moved.write(2, Filled(2)));
    EXPECT_EQ(moved.lastErrno(), ENOSPC);
    EXPECT_EQ(gate.seen, (std::vector<CuttingGate::Write>{{file, RecLen, RecLen}}));
    EXPECT_EQ(test::ReadFileBytes(file), (std::vector<std::uint8_t>{1, 1, 1, 1, 1, 1, 1, 1, 2, 2, 2}));

    moved.setWriteGate(nullptr);
    EXPECT_TRUE(moved.write(2, Filled(2)));
    EXPECT_EQ(std::filesystem::file_size(file), 2 * RecLen);
}

TEST_F(RecordFileTest, WritePartChangesOnlyItsBytesAndStopsAtTheRecordsEnd)
{
    RecordFile f;
    ASSERT_EQ(openWriter(f), OpenError::None);
    ASSERT_TRUE(f.write(1, Filled(1)));
    ASSERT_TRUE(f.write(2, Filled(2)));
    const std::array<unsigned char, 4> part{7, 7, 7, 7};
    EXPECT_TRUE(f.writePart(1, 6, part));
    EXPECT_TRUE(f.writePart(2, 0, std::span(part).first(1)));
    EXPECT_FALSE(f.writePart(2, RecLen, part));
    EXPECT_EQ(test::ReadFileBytes(file), (std::vector<std::uint8_t>{1, 1, 1, 1, 1, 1, 7, 7, 7, 2, 2, 2, 2, 2, 2, 2}));
}

TEST_F(RecordFileTest, WriteManyPutsConsecutiveRecordsDownInOneWriteThroughTheGate)
{
    RecordFile f;
    ASSERT_EQ(openWriter(f), OpenError::None);
    ASSERT_TRUE(f.write(1, Filled(1)));
    std::vector<unsigned char> three;
    for (unsigned char value : {3, 4, 5}) {
        const Rec rec = Filled(value);
        three.insert(three.end(), rec.begin(), rec.end());
    }
    CuttingGate gate(3 * RecLen);
    f.setWriteGate(&gate);
    ASSERT_TRUE(f.writeMany(3, three));
    EXPECT_EQ(gate.seen, (std::vector<CuttingGate::Write>{{file, 2 * RecLen, 3 * RecLen}}));
    EXPECT_EQ(f.recordCount(), 5);
    Rec rec{};
    ASSERT_TRUE(f.read(2, rec));
    EXPECT_EQ(rec, Zeros);
    ASSERT_TRUE(f.read(5, rec));
    EXPECT_EQ(rec, Filled(5));

    // Part of a record is no record; a disk that fills up keeps the part it took.
    EXPECT_FALSE(f.writeMany(6, std::span(three).first(RecLen + 1)));
    CuttingGate cutting(RecLen + 2);
    f.setWriteGate(&cutting);
    EXPECT_FALSE(f.writeMany(6, three));
    EXPECT_EQ(f.lastErrno(), ENOSPC);
    EXPECT_EQ(std::filesystem::file_size(file), 6 * RecLen + 2);
}

TEST_F(RecordFileTest, WriterInAMissingFolderOrOnAFolderIsAnAccessError)
{
    RecordFile f;
    EXPECT_EQ(f.open((dir.path() / "missing" / "MRPDAT01.QX1").string(), OpenMode::Write, RecLen), OpenError::Access);
    EXPECT_FALSE(f.isOpen());
    EXPECT_EQ(f.open(dir.str(), OpenMode::Write, RecLen), OpenError::Access);
    EXPECT_EQ(f.open(dir.str(), OpenMode::Read, RecLen), OpenError::Access);
}

TEST_F(RecordFileTest, WriterOnAReadOnlyFileIsAnAccessError)
{
    if (geteuid() == 0) {
        GTEST_SKIP() << "root bypasses file permissions";
    }
    test::WriteFileBytes(file, std::vector<std::uint8_t>(RecLen, 1));
    ASSERT_EQ(chmod(file.c_str(), 0444), 0);
    RecordFile f;
    EXPECT_EQ(openWriter(f), OpenError::Access);
    EXPECT_EQ(f.open(file, OpenMode::Read, RecLen), OpenError::None);
}

TEST_F(RecordFileTest, AViewShowsTheWholeRecordsAndLeavesAShortLastOneToReading)
{
    RecordFile writer;
    ASSERT_EQ(openWriter(writer), OpenError::None);
    ASSERT_TRUE(writer.write(1, Filled(0x31)));
    ASSERT_TRUE(writer.write(2, Filled(0x32)));
    writer.close();
    {
        std::FILE* tail = std::fopen(file.c_str(), "ab");
        ASSERT_NE(tail, nullptr);
        std::fputs("abc", tail); // a third record cut short, as a crash of an older copy leaves it
        std::fclose(tail);
    }
    RecordFile reader;
    ASSERT_EQ(reader.open(file, OpenMode::Read, RecLen), OpenError::None);
    std::optional<RecordView> view = reader.view();
    ASSERT_TRUE(view);
    EXPECT_EQ(reader.recordCount(), 3);
    EXPECT_EQ(view->wholeRecords(), 2);
    Rec second{};
    std::copy_n(view->record(2).begin(), RecLen, second.begin());
    EXPECT_EQ(second, Filled(0x32));
}

TEST_F(RecordFileTest, AReadersViewKeepsWritersOutUntilItGoesAndAWritersViewKeepsItsLock)
{
    RecordFile writer;
    ASSERT_EQ(openWriter(writer), OpenError::None);
    ASSERT_TRUE(writer.write(1, Filled(0x41)));
    {
        std::optional<RecordView> own = writer.view();
        ASSERT_TRUE(own);
    }
    RecordFile other;
    EXPECT_EQ(openWriter(other), OpenError::LockHeld); // the writer's view let go of nothing
    writer.close();

    RecordFile reader;
    ASSERT_EQ(reader.open(file, OpenMode::Read, RecLen), OpenError::None);
    {
        std::optional<RecordView> view = reader.view();
        ASSERT_TRUE(view);
        EXPECT_EQ(openWriter(other), OpenError::LockHeld); // no one can cut the file under the view
        RecordFile secondReader;
        ASSERT_EQ(secondReader.open(file, OpenMode::Read, RecLen), OpenError::None);
        EXPECT_TRUE(secondReader.view()); // readers share
    }
    EXPECT_EQ(openWriter(other), OpenError::None);
    EXPECT_FALSE(reader.view()); // and a reader waits for no writer: it reads instead
}

TEST_F(RecordFileTest, NoViewOfAnEmptyOrMissingFile)
{
    RecordFile missing;
    ASSERT_EQ(missing.open(file, OpenMode::Read, RecLen), OpenError::None);
    EXPECT_FALSE(missing.view());
    RecordFile writer;
    ASSERT_EQ(openWriter(writer), OpenError::None);
    EXPECT_FALSE(writer.view());
}

} // namespace
} // namespace talik
