// The fields the conflict window shows, and the version it makes of a person field by field.
#include <gtest/gtest.h>

#include "store/record.h"
#include "sync/conflictmerge.h"

namespace talik::test {
namespace {

SyncConflict TwoVersions()
{
    SyncConflict conflict;
    ClearRecord(conflict.oursRec);
    ClearRecord(conflict.oursExtra);
    SetText(conflict.oursRec.KanaName, "ﾔﾏﾀﾞ");
    SetText(conflict.oursRec.KanjiName, "山田 太郎");
    conflict.theirsRec = conflict.oursRec;
    conflict.theirsExtra = conflict.oursExtra;
    SetText(conflict.oursRec.EMail, "ours@example.jp");
    SetText(conflict.theirsRec.EMail, "theirs@example.jp");
    SetText(conflict.oursRec.Tel1, "03-1111-1111");
    return conflict;
}

TEST(ConflictMerge, ListsOnlyTheFieldsThatDiffer)
{
    std::vector<ConflictField> differences = Differences(TwoVersions());
    ASSERT_EQ(differences.size(), 2u);
    EXPECT_EQ(differences[0].field->name, "EMail");
    EXPECT_EQ(differences[0].ours, "ours@example.jp");
    EXPECT_EQ(differences[0].theirs, "theirs@example.jp");
    EXPECT_EQ(differences[1].field->name, "Tel1");
    EXPECT_EQ(differences[1].theirs, "");
}

TEST(ConflictMerge, TakesTheTickedFieldsFromTheServerAndKeepsTheRest)
{
    AddressRecord rec{};
    ExtraRecord extra{};
    MergeFields(TwoVersions(), {"EMail"}, rec, extra);
    EXPECT_EQ(GetText(rec.EMail), "theirs@example.jp");
    EXPECT_EQ(GetText(rec.Tel1), "03-1111-1111");
    EXPECT_EQ(GetText(rec.KanjiName), "山田 太郎");
    MergeFields(TwoVersions(), {}, rec, extra);
    EXPECT_EQ(GetText(rec.EMail), "ours@example.jp");
}

} // namespace
} // namespace talik::test
