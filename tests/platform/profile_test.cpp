#include "platform/profile.h"

#include <csignal>
#include <filesystem>
#include <gtest/gtest.h>
#include <set>
#include <string>
#include <sys/resource.h>

#include "tests/support/tempdir.h"

namespace talik {
namespace {

using test::TempDir;

// CP932 bytes of the Japanese texts the files below hold.
constexpr std::string_view Data = "\x83\x66\x81\x5b\x83\x5e"; // "データ"
constexpr std::string_view Aiu = "\x83\x41\x83\x43\x83\x45";  // "アイウ"
constexpr std::string_view Setting = "\x90\xdd\x92\xe8";      // "設定"
constexpr std::string_view NecKanji = "\xed\x40";             // a kanji CP932 also holds at 0xFA5C

std::string Bytes(const std::filesystem::path& file)
{
    auto bytes = test::ReadFileBytes(file);
    return {bytes.begin(), bytes.end()};
}

void WriteBytes(const std::filesystem::path& file, std::string_view bytes)
{
    test::WriteFileBytes(file, {bytes.begin(), bytes.end()});
}

class ProfileFile : public ::testing::Test
{
protected:
    TempDir dir;
    std::string file = (dir.path() / "TEST.INI").string();

    void write(std::string_view bytes) { WriteBytes(file, bytes); }
    std::string text(std::string_view section, std::string_view key, std::size_t size = 80)
    {
        return GetPrivateProfileString(section, key, "def", size, file);
    }
    int integer(std::string_view section, std::string_view key) { return GetPrivateProfileInt(section, key, 77, file); }
};

TEST_F(ProfileFile, FindsSectionsAndKeysWithoutRegardToCaseAndBlanks)
{
    write(std::string("; ") + std::string(Setting) + "\r\n[System]\r\n  DbName \t= \"" + std::string(Data) +
          "\" \r\nNote=  two words  \r\nQuoted=\"a\" b\"\r\n[Other]\r\nDbName=other\r\n");
    EXPECT_EQ(text("SYSTEM", "dbname"), "データ");
    EXPECT_EQ(text(" system ", "NOTE"), "two words");
    EXPECT_EQ(text("System", "Quoted"), "a\" b"); // only the enclosing pair goes
    EXPECT_EQ(text("other", "DBNAME"), "other");
}

TEST_F(ProfileFile, FirstSectionAndFirstKeyWin)
{
    write("[A]\r\nKey=1\r\nkey=2\r\n[a]\r\nKey=3\r\nLater=4\r\n");
    EXPECT_EQ(integer("A", "KEY"), 1);
    EXPECT_EQ(integer("a", "Later"), 77); // the second "[a]" is never looked at
}

// A document answers many reads from what it found once: a key set or added since is read as set,
// and a key above every header belongs to no section.
TEST_F(ProfileFile, ADocumentReadAgainAfterAChangeReadsTheChange)
{
    write("Stray=0\r\n[A]\r\nKey=1\r\n[B]\r\nOther=2\r\n");
    ProfileDocument doc = ProfileDocument::load(file);
    EXPECT_EQ(doc.value("A", "Key"), "1");
    EXPECT_EQ(doc.value("A", "Stray"), std::nullopt);
    doc.set("a", "KEY", "5");   // a value changed in its line
    doc.set("A", "New", "6");   // a line added inside the section
    doc.set("C", "Third", "7"); // a section added at the end
    EXPECT_EQ(doc.value("A", "key"), "5");
    EXPECT_EQ(doc.value("a", "new"), "6");
    EXPECT_EQ(doc.value("B", "Other"), "2"); // moved down a line
    EXPECT_EQ(doc.value("c", "third"), "7");
}

TEST_F(ProfileFile, AnythingMissingGivesTheDefault)
{
    EXPECT_EQ(text("System", "Key"), "def"); // no file
    write("Key=outside\r\n[System]\r\n; Key=commented\r\nKey\r\n[Other]\r\nKey=elsewhere\r\n");
    EXPECT_EQ(text("System", "Key"), "def");
    EXPECT_EQ(text("Missing", "Key"), "def");
    EXPECT_EQ(integer("System", "Key"), 77);
}

TEST_F(ProfileFile, IntegersReadASignAndTheLeadingDigits)
{
    write("[N]\r\na=12abc\r\nb=abc\r\nc=-3\r\nd=\r\ne=+5\r\nf=-\r\ng=\"8\"\r\nh=99999999999\r\n");
    EXPECT_EQ(integer("N", "a"), 12);
    EXPECT_EQ(integer("N", "b"), 77);
    EXPECT_EQ(integer("N", "c"), -3);
    EXPECT_EQ(integer("N", "d"), 77);
    EXPECT_EQ(integer("N", "e"), 5);
    EXPECT_EQ(integer("N", "f"), 77);
    EXPECT_EQ(integer("N", "g"), 8);
    EXPECT_EQ(integer("N", "h"), 2147483647);
}

TEST_F(ProfileFile, TextIsCutToTheBufferWithoutSplittingACharacter)
{
    write(std::string("[S]\n") + "kana=" + std::string(Aiu) + "\nascii=abcdef\n"); // LF-only lines
    EXPECT_EQ(text("S", "kana", 7), "アイウ");
    EXPECT_EQ(text("S", "kana", 6), "アイ"); // 5 bytes allowed: the third character would be split
    EXPECT_EQ(text("S", "ascii", 4), "abc");
    EXPECT_EQ(text("S", "missing", 3), "de"); // the default is cut too
    EXPECT_EQ(text("S", "ascii", 0), "");
}

TEST_F(ProfileFile, WritingKeepsEveryOtherLineByteForByte)
{
    const std::string head = "; " + std::string(NecKanji) + " comment\r\n\r\n[System]\r\n  Count = 1 ; old\r\n";
    const std::string middle =
        "free text line\r\n; trailing comment\r\n\r\n[Next]\r\nName=" + std::string(Data) + "\r\n";
    write(head + "Word=x\r\n" + middle);

    EXPECT_TRUE(WritePrivateProfileString("SYSTEM", "word", "設定", file));
    EXPECT_TRUE(WritePrivateProfileString("system", "Added", "2", file));
    EXPECT_TRUE(WritePrivateProfileString("New", "Key", "v", file));

    // The key keeps its spelling; the new key follows the section's last key; the new section
    // comes last, after a blank line.
    EXPECT_EQ(Bytes(file),
              head + "Word=" + std::string(Setting) + "\r\nAdded=2\r\n" + middle + "\r\n[New]\r\nKey=v\r\n");
    EXPECT_EQ(text("System", "Count"), "1 ; old");
}

TEST_F(ProfileFile, WritingCreatesTheFolderAndTheFile)
{
    const std::string nested = (dir.path() / "windows" / "QXSCH.INI").string();
    EXPECT_TRUE(WritePrivateProfileString("S", "K", "データ", nested));
    EXPECT_EQ(Bytes(nested), "[S]\r\nK=" + std::string(Data) + "\r\n");
    std::set<std::string> names; // no temporary file left, only the file and its lock
    for (const auto& entry : std::filesystem::directory_iterator(dir.path() / "windows")) {
        names.insert(entry.path().filename().string());
    }
    EXPECT_EQ(names, (std::set<std::string>{"QXSCH.INI", "QXSCH.INI.lock"}));
}

TEST_F(ProfileFile, AFailedSaveLeavesTheOldFileAsItWas)
{
    const std::string old = "[S]\r\nK=old\r\n";
    write(old);
    ProfileDocument doc = ProfileDocument::load(file);
    doc.set("S", "K", std::string(100000, 'x'));

    // A file size limit makes the write fail as a full disk would, for root too.
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 4096;
    setrlimit(RLIMIT_FSIZE, &small);
    const bool saved_ok = doc.save(file);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(saved_ok);
    EXPECT_EQ(Bytes(file), old);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

} // namespace
} // namespace talik
