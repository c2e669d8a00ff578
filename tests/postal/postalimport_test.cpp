// Imports that fill a missing postal code or address from the list: off unless asked for, only a
// single answer taken, and counted in the report.
#include <gtest/gtest.h>

#include <fstream>

#include "tests/cli/clifixture.h"

namespace talik::test {
namespace {

class PostalImport : public CliFixture
{
protected:
    std::string file(const std::string& name, const std::string& text)
    {
        std::string path = data.str() + "/" + name;
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }
    std::string show(int recNo) { return cli({"show", std::to_string(recNo)}).out; }
    static bool Has(const std::string& record, const std::string& field, const std::string& value)
    {
        return record.find("\"" + field + "\": \"" + value + "\"") != std::string::npos;
    }
};

// Reading, name, postal code 1, address 1, postal code 2, address 2.
constexpr const char* Lines = "ﾔﾏﾀﾞ,山田,150-0001,,,\r\n"
                              "ｽｽﾞｷ,鈴木,,東京都渋谷区神宮前１－２,,北海道札幌市中央区大通西２５丁目\r\n"
                              "ｻﾄｳ,佐藤,4980000,,,\r\n"
                              "ﾀﾅｶ,田中,,,0608621,\r\n";
const std::vector<std::string> Map = {"--map", "1,2,0,0,0,3,4,0,0,5,6", "--encoding", "utf-8"};

TEST_F(PostalImport, ACsvImportFillsWhatTheListAnswersOnce)
{
    std::vector<std::string> args = {"import", file("in.csv", Lines), "--fill-postal"};
    args.insert(args.end(), Map.begin(), Map.end());
    ProgramRun run = cli(args);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.err.find("4 件のデータを取込みました。\n内 3 件は郵便番号か住所を郵便番号データで補いました。"),
              std::string::npos)
        << run.err;
    EXPECT_TRUE(Has(show(2), "Address1", "東京都渋谷区神宮前"));
    std::string suzuki = show(3);
    EXPECT_TRUE(Has(suzuki, "PostCode1", "150-0001")) << suzuki;
    // Two codes for 大通西: nothing is guessed.
    EXPECT_TRUE(Has(suzuki, "PostCode2", "")) << suzuki;
    // Two places for the code: nothing is guessed.
    EXPECT_TRUE(Has(show(4), "Address1", ""));
    // A large office's code gives its full address.
    EXPECT_TRUE(Has(show(5), "Address2", "北海道札幌市中央区北一条西６丁目１－２アーバンネット札幌ビル２Ｆ"));
}

TEST_F(PostalImport, WithoutTheOptionNothingIsFilled)
{
    std::vector<std::string> args = {"import", file("in.csv", Lines)};
    args.insert(args.end(), Map.begin(), Map.end());
    ProgramRun run = cli(args);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.err.find("郵便番号データ"), std::string::npos) << run.err;
    EXPECT_TRUE(Has(show(2), "Address1", ""));
    EXPECT_TRUE(Has(show(3), "PostCode1", ""));
}

TEST_F(PostalImport, AVcardImportFillsTheAddressOfItsCode)
{
    std::string card = "BEGIN:VCARD\r\nVERSION:3.0\r\nN:山田;太郎;;;\r\nFN:山田太郎\r\nX-PHONETIC-LAST-NAME:ヤマダ\r\n"
                       "ADR;TYPE=HOME:;;;;;150-0001;\r\nEND:VCARD\r\n";
    ProgramRun run = cli({"import", file("in.vcf", card), "--fill-postal"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.err.find("内 1 件は郵便番号か住所を郵便番号データで補いました。"), std::string::npos) << run.err;
    std::string record = show(2);
    EXPECT_TRUE(Has(record, "Address1", "東京都渋谷区神宮前")) << record;
    EXPECT_TRUE(Has(record, "PostCode1", "150-0001")) << record;
}

} // namespace
} // namespace talik::test
