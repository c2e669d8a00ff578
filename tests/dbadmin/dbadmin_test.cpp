// Passwords, database names and moving or copying records between databases.
#include <cstring>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "dbadmin/dbnames.h"
#include "dbadmin/dbpassword.h"
#include "dbadmin/movecopy.h"
#include "platform/codec.h"
#include "platform/recordfile.h"
#include "store/database.h"
#include "tests/support/storefixture.h"

namespace talik::test {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t PasswordOffset = 330;

std::vector<std::uint8_t> Record(const std::vector<std::uint8_t>& file, std::size_t recNo, std::size_t len)
{
    return {file.begin() + static_cast<long>((recNo - 1) * len), file.begin() + static_cast<long>(recNo * len)};
}

// --- passwords ----------------------------------------------------------------------------------

class PasswordTest : public StoreTest
{
protected:
    PasswordTest()
    {
        WriteRecords(mainPath(), {HandMainHeader(3), HandAddress("\xb1", "a"), HandAddress("\xb2", "b")});
        WriteRecords(extraPath(), {HandExtraHeader(3), HandExtra(""), HandExtra("")});
        load();
    }
};

TEST_F(PasswordTest, IsStoredAsSaltDigitLengthAndSaltedHexDigits)
{
    ASSERT_TRUE(SetDatabasePassword(state, "ab"));
    auto header = Record(ReadFileBytes(mainPath()), 1, 600);
    // The clock stands at 37 seconds: the salt is 7; "ab" is 61 62 in CP932.
    std::vector<std::uint8_t> expected = {7, 4, 6 + 7, 1 + 7, 6 + 7, 2 + 7};
    EXPECT_EQ(std::vector<std::uint8_t>(header.begin() + PasswordOffset, header.begin() + PasswordOffset + 6),
              expected);
    EXPECT_EQ(DecodePassword(state.Header.PasswordField), "ab");
}

TEST_F(PasswordTest, ChangesOnlyThePasswordOfTheHeaderOnDisk)
{
    // Another copy added a record since the load: the header on disk counts it.
    auto file = ReadFileBytes(mainPath());
    PutLong(file, 16, 4);
    file.resize(file.size() + 600, ' ');
    WriteFileBytes(mainPath(), file);
    ASSERT_TRUE(SetDatabasePassword(state, "全角七文字です"));
    auto after = ReadFileBytes(mainPath());
    EXPECT_EQ(LongAt(after, 16), 4);
    auto header = Record(after, 1, 600);
    MainHeader stored{};
    std::memcpy(&stored, header.data(), sizeof(stored));
    EXPECT_EQ(DecodePassword(stored.PasswordField), "全角七文字です");
    for (std::size_t i = 0; i < 600; ++i) {
        if (i < PasswordOffset || i >= PasswordOffset + 30) {
            ASSERT_EQ(after[i], file[i]) << "byte " << i;
        }
    }
}

TEST_F(PasswordTest, TooLongOrUnstorableIsRefusedAndNothingWritten)
{
    auto before = ReadFileBytes(mainPath());
    for (std::string bad : {std::string("123456789012345"), std::string("全角で八文字です"), std::string("한글"),
                            std::string("tab\there"), std::string("😀")}) {
        ui.shown.clear();
        EXPECT_FALSE(SetDatabasePassword(state, bad)) << bad;
        ASSERT_EQ(ui.messages().size(), 1u) << bad;
        EXPECT_EQ(ui.shown[0].icon, MessageIcon::Exclamation);
    }
    EXPECT_EQ(ReadFileBytes(mainPath()), before);
    EXPECT_FALSE(PasswordProblem("12345678901234"));
    EXPECT_FALSE(PasswordProblem("～－"));
}

TEST_F(PasswordTest, ClearedItAsksNoMoreOnOpening)
{
    ASSERT_TRUE(SetDatabasePassword(state, "secret"));
    ui.passwordAnswers = {std::string("secret")};
    load();
    EXPECT_TRUE(ui.passwordAnswers.empty());
    ASSERT_TRUE(SetDatabasePassword(state, ""));
    auto header = Record(ReadFileBytes(mainPath()), 1, 600);
    EXPECT_EQ(header[PasswordOffset + 1], 0);
    load(); // no prompt scripted: one would fail the test
}

// --- names --------------------------------------------------------------------------------------

class DbNamesTest : public StoreTest
{
protected:
    DbNamesTest() { state.ProfileFolder = profile.str(); }
    std::array<std::string, 10> defaults() const
    {
        std::array<std::string, 10> names;
        for (int i = 0; i < 10; ++i) {
            names[i] = "データベース" + std::to_string(i + 1);
        }
        return names;
    }
    TempDir profile;
};

TEST_F(DbNamesTest, AreStoredCleanedWithAnEmptyNameFallingBackAndReadBack)
{
    auto names = defaults();
    names[0] = "  仕事 & 友人  ";
    names[4] = "   ";
    names[9] = std::string(79, 'x');
    ASSERT_TRUE(RegisterDbNames(state, names));
    EXPECT_EQ(state.settings.AddrDBName[0], "仕事 & 友人");
    Settings read;
    ReadSettings(read, SettingsFile(profile.str()), CaptionsFile(profile.str() + "/"), 0);
    EXPECT_EQ(read.AddrDBName[0], "仕事 & 友人");
    EXPECT_EQ(read.AddrDBName[4], "データベース5");
    EXPECT_EQ(read.AddrDBName[9], std::string(79, 'x'));
    EXPECT_EQ(MenuText("仕事 & 友人"), "仕事 && 友人");
}

TEST_F(DbNamesTest, ANameThatWouldNotReadBackRefusesTheWholeRegistration)
{
    for (std::string bad :
         {std::string(80, 'x'),
          std::string(40, 'x') + "全角全角全角全角全角全角全角全角全角全角全角全角全角全角全角全角全角全角全角全角",
          std::string("한국"), std::string("a\tb")}) {
        auto names = defaults();
        names[0] = "変えたい";
        names[2] = bad;
        ui.shown.clear();
        int refused = -1;
        EXPECT_FALSE(RegisterDbNames(state, names, &refused)) << bad;
        EXPECT_EQ(refused, 2);
        EXPECT_EQ(ui.messages().size(), 1u);
        EXPECT_EQ(state.settings.AddrDBName[0], "データベース1");
    }
    EXPECT_FALSE(fs::exists(profile.path() / "QXSCH.INI"));
}

// --- move and copy ------------------------------------------------------------------------------

class MoveCopyTest : public StoreTest
{
protected:
    MoveCopyTest()
    {
        for (int n = 1; n <= 10; ++n) {
            state.settings.AddrDBName[n - 1] = "データベース" + std::to_string(n);
        }
        WriteRecords(mainPath(), {HandMainHeader(5), HandAddress("\xb1", "one"), HandAddress("\xb2", "two"),
                                  HandAddress("\xb3", "three"), HandAddress("\xb4", "four")});
        WriteRecords(extraPath(),
                     {HandExtraHeader(5), HandExtra("r1"), HandExtra("r2"), HandExtra("r3"), HandExtra("r4")});
        load();
    }
    std::string target(int dbNo, int ext) const
    {
        char name[32];
        std::snprintf(name, sizeof(name), "/MRPDAT%02d.QX%d", dbNo, ext);
        return dir.str() + name;
    }
    void list(std::initializer_list<std::int32_t> recNos) { listed.insert(listed.end(), recNos); }
    bool live(std::int32_t recNo) const { return state.tables.usedFlag(recNo) == '1'; }
    std::vector<std::int32_t> listed;
};

TEST_F(MoveCopyTest, CopyIntoAnEmptyDatabaseGivesItAHeaderAndTheRecordsByteForByte)
{
    auto mainBefore = ReadFileBytes(mainPath());
    auto extraBefore = ReadFileBytes(extraPath());
    list({2, 4, 5});
    MoveCopyOutcome outcome = MoveCopyRecords(state, listed, {2, false, {}});
    EXPECT_EQ(outcome.done, 3);
    EXPECT_FALSE(outcome.stopped);
    EXPECT_EQ(ReadFileBytes(mainPath()), mainBefore);
    EXPECT_EQ(ReadFileBytes(extraPath()), extraBefore);
    auto main2 = ReadFileBytes(target(2, 1));
    auto extra2 = ReadFileBytes(target(2, 2));
    ASSERT_EQ(main2.size(), 4 * 600u);
    EXPECT_EQ(std::string(main2.begin(), main2.begin() + 16), "Mirepol32 7.00  ");
    EXPECT_EQ(LongAt(main2, 16), 4);
    EXPECT_EQ(LongAt(extra2, 512 + 0 - 512 + 20), 4);
    EXPECT_EQ(WithoutIdentities(Record(main2, 2, 600)), Record(mainBefore, 2, 600));
    EXPECT_EQ(WithoutIdentities(Record(main2, 3, 600)), Record(mainBefore, 4, 600));
    EXPECT_EQ(WithoutIdentities(Record(main2, 4, 600)), Record(mainBefore, 5, 600));
    EXPECT_EQ(Record(extra2, 4, 512), Record(extraBefore, 5, 512));
    EXPECT_TRUE(live(2) && live(4) && live(5));
    EXPECT_EQ(state.tables.TotalCount, 4);
}

TEST_F(MoveCopyTest, MoveMarksTheSourceDeletedAndFreesItsRows)
{
    list({3, 4});
    MoveCopyOutcome outcome = MoveCopyRecords(state, listed, {3, true, {}});
    EXPECT_EQ(outcome.done, 2);
    EXPECT_FALSE(live(3));
    EXPECT_FALSE(live(4));
    EXPECT_TRUE(live(2));
    EXPECT_EQ(state.tables.TotalCount, 2);
    EXPECT_EQ(state.texts.CountLabel, "登録数：2 件");
    auto main1 = ReadFileBytes(mainPath());
    EXPECT_EQ(main1[2 * 600], 0xFF);
    EXPECT_EQ(main1[3 * 600], 0xFF);
    EXPECT_NE(main1[1 * 600], 0xFF);
    load();
    EXPECT_EQ(state.tables.TotalCount, 2);
    state.DbNo = 3;
    load();
    EXPECT_EQ(state.tables.TotalCount, 2);
}

TEST_F(MoveCopyTest, ATargetWriteThatFailsLeavesEverySourceRecordInPlace)
{
    struct FailSecondTargetRecord final : WriteGate
    {
        std::string path;
        int seen = 0;
        std::size_t admit(const std::string& p, std::int64_t offset, std::size_t size) override
        {
            return p.find("MRPDAT02.QX1") != std::string::npos && offset >= 600 && ++seen == 3 ? 0 : size;
        }
    } gate;
    state.writeGate = &gate;
    auto before = ReadFileBytes(mainPath());
    list({2, 3, 4});
    MoveCopyOutcome outcome = MoveCopyRecords(state, listed, {2, true, {}});
    EXPECT_TRUE(outcome.stopped);
    EXPECT_EQ(outcome.done, 1);
    // The one copied record left the source; the others stayed where they were.
    auto after = ReadFileBytes(mainPath());
    EXPECT_EQ(after[600], 0xFF);
    EXPECT_EQ(Record(after, 3, 600), Record(before, 3, 600));
    EXPECT_EQ(Record(after, 4, 600), Record(before, 4, 600));
    EXPECT_FALSE(live(2));
    EXPECT_TRUE(live(3));
    EXPECT_TRUE(live(4));
    ASSERT_FALSE(ui.messages().empty());
    EXPECT_NE(ui.messages().back().find("1件を処理したところで中止しました"), std::string::npos);
    state.DbNo = 2;
    state.writeGate = nullptr;
    load();
    EXPECT_EQ(state.tables.TotalCount, 1);
}

// The target's header is what makes a placed record part of it: when that write fails nothing was
// moved, and every source record must stay where it was.
TEST_F(MoveCopyTest, ATargetHeaderWriteThatFailsLeavesEverySourceRecordInPlace)
{
    for (const char* file : {"MRPDAT02.QX1", "MRPDAT02.QX2"}) {
        SCOPED_TRACE(file);
        struct FailTargetHeader final : WriteGate
        {
            std::string file;
            int headerWrites = 0;
            std::size_t admit(const std::string& p, std::int64_t offset, std::size_t size) override
            {
                bool header = p.find(file) != std::string::npos && offset < 512;
                // The main file's first header write brings a fresh target to the current form.
                return header && ++headerWrites > (file == "MRPDAT02.QX1" ? 1 : 0) ? 0 : size;
            }
        } gate;
        gate.file = file;
        fs::remove(target(2, 1));
        fs::remove(target(2, 2));
        state.writeGate = &gate;
        auto before = ReadFileBytes(mainPath());
        listed.clear();
        list({2, 3, 4});
        MoveCopyOutcome outcome = MoveCopyRecords(state, listed, {2, true, {}});
        state.writeGate = nullptr;
        EXPECT_TRUE(outcome.stopped);
        EXPECT_EQ(outcome.done, 0);
        EXPECT_EQ(ReadFileBytes(mainPath()), before);
        EXPECT_TRUE(live(2) && live(3) && live(4));
        state.DbNo = 2;
        load();
        EXPECT_EQ(state.tables.TotalCount, 0);
        state.DbNo = 1;
        load();
        EXPECT_EQ(state.tables.TotalCount, 4);
    }
}

TEST_F(MoveCopyTest, TheTargetsCeilingHoldsAndIsToldByName)
{
    // A full target: every slot up to 64000 holds an address.
    {
        RecordFile full;
        ASSERT_EQ(full.open(target(5, 1), OpenMode::Write, 600), OpenError::None);
        auto header = HandMainHeader(MaxRecNo);
        ASSERT_TRUE(full.write(1, header));
        unsigned char first = 0xB1;
        for (std::int32_t r = FirstRecNo; r <= MaxRecNo; ++r) {
            ASSERT_TRUE(full.writePart(r, 0, {&first, 1}));
        }
    }
    auto before = ReadFileBytes(mainPath());
    list({2});
    MoveCopyOutcome outcome = MoveCopyRecords(state, listed, {5, true, {}});
    EXPECT_TRUE(outcome.stopped);
    EXPECT_EQ(outcome.done, 0);
    EXPECT_EQ(ReadFileBytes(mainPath()), before);
    ASSERT_GE(ui.messages().size(), 1u);
    EXPECT_NE(ui.messages()[0].find("データベース5"), std::string::npos) << ui.messages()[0];
}

TEST_F(MoveCopyTest, AnEarlierLayoutTargetIsBroughtUpBeforeAnythingIsPlaced)
{
    auto old = HandMainHeader(0);
    Put(old, 0, "Mirepol32 6.00", 16);
    PutLong(old, 16, 0);
    PutLong(old, 20, 2); // the earlier layout kept the last record number here
    WriteRecords(target(6, 1), {old, HandAddress("\xb6", "kept")});
    WriteRecords(target(6, 2), {HandExtraHeader(0), HandExtra("kept")});
    list({2});
    EXPECT_EQ(MoveCopyRecords(state, listed, {6, false, {}}).done, 1);
    auto main6 = ReadFileBytes(target(6, 1));
    EXPECT_EQ(std::string(main6.begin(), main6.begin() + 16), "Mirepol32 7.00  ");
    EXPECT_EQ(LongAt(main6, 16), 3);
    EXPECT_EQ(LongAt(main6, 20), static_cast<std::int32_t>(0xFF0000FFu));
    EXPECT_EQ(WithoutIdentities(Record(main6, 3, 600)), Record(ReadFileBytes(mainPath()), 2, 600));
    EXPECT_EQ(main6[600], 0xB6);
}

TEST_F(MoveCopyTest, ALockedTargetEndsTheRunBeforeAnythingIsWritten)
{
    RecordFile other;
    ASSERT_EQ(other.open(target(2, 1), OpenMode::Write, 600), OpenError::None);
    auto before = ReadFileBytes(mainPath());
    list({2, 3});
    MoveCopyOutcome outcome = MoveCopyRecords(state, listed, {2, true, {}});
    EXPECT_TRUE(outcome.stopped);
    EXPECT_EQ(outcome.done, 0);
    EXPECT_EQ(ReadFileBytes(mainPath()), before);
    EXPECT_EQ(fs::file_size(target(2, 1)), 0u);
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_NE(ui.messages()[0].find("使用中"), std::string::npos);
}

TEST_F(MoveCopyTest, RecordsDeletedSinceTheSearchAreSkippedAndFreeSlotsReused)
{
    WriteRecords(target(2, 1), {HandMainHeader(3), HandAddress("\xff\xb1", "gone"), HandAddress("\xb7", "live")});
    WriteRecords(target(2, 2), {HandExtraHeader(3), HandExtra(""), HandExtra("")});
    auto file = ReadFileBytes(mainPath());
    file[2 * 600] = 0xFF; // record 3 deleted by another copy
    WriteFileBytes(mainPath(), file);
    list({3, 4});
    MoveCopyOutcome outcome = MoveCopyRecords(state, listed, {2, false, {}});
    EXPECT_EQ(outcome.done, 1);
    EXPECT_EQ(outcome.skipped, 1);
    auto main2 = ReadFileBytes(target(2, 1));
    EXPECT_EQ(LongAt(main2, 16), 3);
    EXPECT_EQ(WithoutIdentities(Record(main2, 2, 600)), Record(file, 4, 600));
}

TEST_F(MoveCopyTest, AProtectedTargetWantsItsPassword)
{
    MainHeader header{};
    auto bytes = HandMainHeader(1);
    std::memcpy(&header, bytes.data(), sizeof(header));
    SetPassword(header, "pw", 3);
    WriteRecords(target(2, 1), {std::vector<std::uint8_t>(Bytes(header).begin(), Bytes(header).end())});
    list({2});
    MoveCopyOutcome wrong = MoveCopyRecords(state, listed, {2, false, std::string("no")});
    EXPECT_EQ(wrong.done, 0);
    EXPECT_EQ(ui.messages(), (std::vector<std::string>{"パスワードが正しくありません。"}));
    ui.passwordAnswers = {std::string("pw")};
    EXPECT_EQ(MoveCopyRecords(state, listed, {2, false, {}}).done, 1);
}

} // namespace
} // namespace talik::test
