// The file an import reads, and an import that runs out of memory.
#include <cstring>
#include <filesystem>
#include <fstream>
#include <new>
#include <string>
#include <sys/stat.h>

#include <gtest/gtest.h>

#include "interchange/importsource.h"
#include "interchange/vcardread.h"
#include "store/recordwriter.h"
#include "tests/support/storefixture.h"

namespace talik::test {
namespace {

namespace fs = std::filesystem;

class ImportSourceTest : public StoreTest
{
protected:
    std::string write(const std::string& name, const std::string& text)
    {
        std::string path = dir.str() + "/" + name;
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }
};

TEST_F(ImportSourceTest, ARegularFileOrALinkToOneIsReadWhole)
{
    std::string path = write("a.csv", "ｱｲ,相\r\nｶｷ,柿\r\n");
    fs::create_symlink(path, dir.path() / "link.csv");
    for (const std::string& name : {path, (dir.path() / "link.csv").string()}) {
        std::string bytes = "left over";
        EXPECT_EQ(ReadImportBytes(name, bytes), ImportFileError::None);
        EXPECT_EQ(bytes, "ｱｲ,相\r\nｶｷ,柿\r\n");
    }
    std::string bytes;
    EXPECT_EQ(ReadImportBytes(write("empty.csv", ""), bytes), ImportFileError::None);
    EXPECT_EQ(bytes, "");
}

// A device that never ends, a pipe nobody writes to (opening it must not wait), a folder, and
// links to them: each refused before a byte is read, the message naming the file.
TEST_F(ImportSourceTest, WhatIsNoRegularFileIsRefusedByName)
{
    std::string fifo = dir.str() + "/pipe.csv";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    fs::create_symlink("/dev/zero", dir.path() / "zero.csv");
    for (const std::string& name : {std::string("/dev/zero"), fifo, dir.str(), (dir.path() / "zero.csv").string()}) {
        SCOPED_TRACE(name);
        std::string bytes;
        EXPECT_EQ(ReadImportBytes(name, bytes), ImportFileError::NotRegular);
        EXPECT_TRUE(bytes.empty());
        EXPECT_EQ(ImportFileMessage(ImportFileError::NotRegular, name, 0),
                  name + "\r\nは通常のファイルではないため取込めません。");
    }
    std::string bytes;
    EXPECT_EQ(ReadImportBytes(dir.str() + "/missing.csv", bytes), ImportFileError::Unreadable);
}

// The records stored before memory ran out stay, and the report says how many.
TEST_F(ImportSourceTest, AnImportOutOfMemoryIsToldWithTheRecordsStoredBefore)
{
    WriteRecords(mainPath(), {HandMainHeader(2), HandAddress("\xb1", "one")});
    WriteRecords(extraPath(), {HandExtraHeader(2), HandExtra("r1")});
    load();
    bool ranOut = ImportRanOutOfMemory(state, [&] {
        std::optional<RecordWriter> writer = RecordWriter::hold(state);
        AddressRecord rec{};
        ExtraRecord extra{};
        std::memset(&rec, ' ', sizeof(rec));
        std::memset(&extra, ' ', sizeof(extra));
        rec.KanaName[0] = '\xb2';
        writer->add(rec, extra);
        rec.KanaName[0] = '\xb3';
        writer->add(rec, extra);
        throw std::bad_alloc();
    });
    EXPECT_TRUE(ranOut);
    EXPECT_EQ(state.tables.TotalCount, 3);
    ASSERT_FALSE(ui.messages().empty());
    EXPECT_EQ(ui.messages().back(),
              "メモリーが足りなくなったため、取込みを中断しました。\r\n2 件のデータを取込みました。"
              "以降のデータは取込まれていません。");
    load();
    EXPECT_EQ(state.tables.TotalCount, 3);
    EXPECT_FALSE(ImportRanOutOfMemory(state, [] {}));
}

// Cards read one at a time are the cards read all at once, a nested card skipped and a card left
// open ending with the file.
TEST_F(ImportSourceTest, CardsReadOneAtATimeAreTheCardsOfTheWholeFile)
{
    const std::string file = "\xEF\xBB\xBF"
                             "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:一\r\nAGENT:BEGIN:VCARD\r\nBEGIN:VCARD\r\nFN:中\r\n"
                             "END:VCARD\r\nTEL:1\r\nEND:VCARD\r\nnoise\r\nBEGIN:VCARD\r\nVERSION:2.1\r\nFN:二\r\n";
    std::vector<VcardCard> whole = ReadVcards(file);
    VcardCardReader reader(file);
    VcardCard card;
    std::vector<VcardCard> one;
    while (reader.next(card)) {
        one.push_back(card);
    }
    ASSERT_EQ(whole.size(), 2u);
    ASSERT_EQ(one.size(), 2u);
    EXPECT_EQ(reader.position(), reader.size());
    for (std::size_t i = 0; i < 2; ++i) {
        EXPECT_EQ(one[i].version, whole[i].version);
        ASSERT_EQ(one[i].properties.size(), whole[i].properties.size());
        for (std::size_t p = 0; p < one[i].properties.size(); ++p) {
            EXPECT_EQ(one[i].properties[p].name, whole[i].properties[p].name);
            EXPECT_EQ(one[i].properties[p].value, whole[i].properties[p].value);
        }
    }
    EXPECT_EQ(one[0].version, "3.0");
    EXPECT_EQ(one[1].version, "2.1");
    EXPECT_EQ(one[0].find("TEL")->value, "1");
}

} // namespace
} // namespace talik::test
