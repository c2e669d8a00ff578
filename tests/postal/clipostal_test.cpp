// talikcli postal as scripts use it: the built program finds the index in the build tree.
#include <gtest/gtest.h>

#include "tests/support/childprocess.h"
#include "tests/support/tempdir.h"

namespace talik::test {
namespace {

class CliPostal : public ::testing::Test
{
protected:
    ProgramRun run(std::vector<std::string> args)
    {
        args.insert(args.begin(), TALIKCLI_PATH);
        return RunProgram(args, dir.path());
    }
    TempDir dir;
};

TEST_F(CliPostal, ACodePrintsItsPlacesOneALine)
{
    ProgramRun shibuya = run({"postal", "1500001"});
    EXPECT_EQ(shibuya.exitCode, 0) << shibuya.err;
    EXPECT_EQ(shibuya.out, "1500001\t東京都渋谷区神宮前\n");
    EXPECT_EQ(run({"postal", "４９８－００００"}).out, "4980000\t愛知県弥富市\n4980000\t三重県桑名郡木曽岬町\n");
    EXPECT_EQ(run({"postal", "9806101"}).out, "9806101\t宮城県仙台市青葉区中央アエル１階\n");
    EXPECT_EQ(run({"postal", "060-8621"}).out, "0608621\t北海道札幌市中央区北一条西６丁目１－２アーバンネット札幌ビル２"
                                               "Ｆ\t株式会社　日本経済新聞社　札幌支社\n");
}

TEST_F(CliPostal, AnAddressPrintsTheCodesOfItsLongestPlace)
{
    ProgramRun odori = run({"postal", "--address", "北海道札幌市中央区大通西５丁目"});
    EXPECT_EQ(odori.exitCode, 0);
    EXPECT_EQ(odori.out, "0600042\t北海道札幌市中央区大通西\n0640820\t北海道札幌市中央区大通西\n");
    EXPECT_EQ(run({"postal", "--address=東京都渋谷区神宮前１－２"}).out, "1500001\t東京都渋谷区神宮前\n");
}

TEST_F(CliPostal, NothingFoundOrABadRequestSaysSo)
{
    ProgramRun none = run({"postal", "0000000"});
    EXPECT_EQ(none.exitCode, 1);
    EXPECT_EQ(none.out, "");
    EXPECT_NE(none.err, "");
    EXPECT_EQ(run({"postal", "--address", "どこか"}).exitCode, 1);
    for (auto args : std::vector<std::vector<std::string>>{
             {"postal"}, {"postal", "12345"}, {"postal", "1500001", "--address", "渋谷区"}, {"postal", "--address"}}) {
        ProgramRun bad = run(args);
        EXPECT_EQ(bad.exitCode, 2) << args.size();
        EXPECT_EQ(bad.out, "");
    }
}

} // namespace
} // namespace talik::test
