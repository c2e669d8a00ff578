#pragma once
// Two records of one person brought together: field by field, which value stays, and where the
// other goes (the remarks extra data), so that nothing either held is lost.
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "store/record.h"

namespace talik {

// The label before values an import found different from those already stored.
inline constexpr std::string_view ImportOtherValuesLabel = "取込時の別の値";
// The label before the values a merge did not keep.
inline constexpr std::string_view MergeOtherValuesLabel = "統合時の別の値";

// A field whose values differ (both UTF-8 as shown; a birthday as yyyymmdd).
struct FieldDifference
{
    std::string_view field; // its name in store/fields.h
    std::string a;
    std::string b;
};

// The fields a person's two records are compared on, in the editor's order.
const std::vector<std::string_view>& MergedFieldNames();
// The caption of a compared field ("漢字名", "住所１" …).
std::string_view MergedFieldCaption(std::string_view field);

// Every compared field of both records, side by side, and whether the values differ.
struct FieldPair
{
    std::string_view field;
    std::string a;
    std::string b;
    bool differs = false;
};
std::vector<FieldPair>
SideBySide(const AddressRecord& a, const ExtraRecord& extraA, const AddressRecord& b, const ExtraRecord& extraB);

// The compared fields whose values differ; a value beside an empty one counts too. Telephone
// numbers written differently but the same number do not differ.
std::vector<FieldDifference>
DifferingFields(const AddressRecord& a, const ExtraRecord& extraA, const AddressRecord& b, const ExtraRecord& extraB);

// Fills the empty compared fields of `into` from `from` (a telephone with its kind); never
// overwrites one that holds something: such values of `from` that differ are added to the remarks
// extra data as "label: value、value". True when `into` changed.
bool FillEmptyFields(AddressRecord& into,
                     ExtraRecord& intoExtra,
                     const AddressRecord& from,
                     const ExtraRecord& fromExtra,
                     std::string_view label);

// Makes `a` the one record of both: the fields named in `takeFromB` get b's value, every other
// differing field keeps a's (b's empty fields never win); the value not kept goes into the remarks
// extra data, and b's own remarks extra data is added to a's.
void MergeRecords(AddressRecord& a,
                  ExtraRecord& extraA,
                  const AddressRecord& b,
                  const ExtraRecord& extraB,
                  const std::set<std::string, std::less<>>& takeFromB);

} // namespace talik
