#include "store/recordmerge.h"

#include <algorithm>
#include <array>
#include <utility>

#include "store/fields.h"
#include "store/matchkeys.h"

namespace talik {
namespace {

constexpr std::array<std::pair<std::string_view, std::string_view>, 18> Compared{{
    {"KanjiName", "漢字名"},
    {"KanaName", "カナ名"},
    {"Honorific", "敬称"},
    {"EMail", "E-Mail"},
    {"Birthday", "生年月日"},
    {"ClassCode", "分類コード"},
    {"PostCode1", "郵便番号１"},
    {"Address1", "住所１"},
    {"Tel1", "Tel1"},
    {"Fax1", "Fax1"},
    {"PostCode2", "郵便番号２"},
    {"Address2", "住所２"},
    {"Tel2", "Tel2"},
    {"Fax2", "Fax2"},
    {"Company", "会社名"},
    {"Department", "部署名"},
    {"Remarks", "備考"},
    {"RelatedInfo", "関連情報"},
}};

// The telephone fields and their slot in the phone kinds.
int PhoneSlot(std::string_view field)
{
    constexpr std::array<std::string_view, 4> Phones = {"Tel1", "Fax1", "Tel2", "Fax2"};
    auto found = std::find(Phones.begin(), Phones.end(), field);
    return found == Phones.end() ? -1 : static_cast<int>(found - Phones.begin());
}

std::string ValueOf(const FieldInfo& field, const AddressRecord& rec, const ExtraRecord& extra)
{
    if (field.kind == FieldKind::Long) {
        long value = FieldNumber(field, rec, extra);
        return value == 0 ? std::string() : std::to_string(value);
    }
    return FieldText(field, rec, extra);
}

bool SameValue(std::string_view field, const std::string& a, const std::string& b)
{
    if (a == b) {
        return true;
    }
    if (PhoneSlot(field) >= 0) {
        std::string na = NormaliseNumber(a);
        return !na.empty() && na == NormaliseNumber(b);
    }
    if (field == "KanaName") {
        return NormaliseReading(a) == NormaliseReading(b);
    }
    if (field == "KanjiName") {
        return FoldKanjiVariants(a) == FoldKanjiVariants(b);
    }
    return false;
}

void SetPhoneKind(AddressRecord& rec, int slot, int kind)
{
    constexpr std::array<int, 4> Place = {1000, 100, 10, 1};
    int value = PhoneKindsValue(rec);
    value += (kind - PhoneKind(rec, slot)) * Place[static_cast<std::size_t>(slot)];
    SetInteger(rec.PhoneKinds, static_cast<std::int16_t>(value));
}

// Copies one compared field from `from`, a telephone with its kind.
void Take(std::string_view name,
          AddressRecord& into,
          ExtraRecord& intoExtra,
          const AddressRecord& from,
          const ExtraRecord& fromExtra)
{
    const FieldInfo& field = *FindField(name);
    if (field.kind == FieldKind::Long) {
        SetFieldNumber(field, into, intoExtra, FieldNumber(field, from, fromExtra));
    } else {
        SetFieldText(field, into, intoExtra, FieldText(field, from, fromExtra));
    }
    if (int slot = PhoneSlot(name); slot >= 0) {
        SetPhoneKind(into, slot, PhoneKind(from, slot));
    }
}

void AddToExtra(ExtraRecord& extra, const std::string& text)
{
    if (text.empty()) {
        return;
    }
    // The field lives in the extra record: the address record is not touched.
    const FieldInfo& field = *FindField("RemarksExtra");
    AddressRecord unused{};
    std::string current = FieldText(field, unused, extra);
    SetFieldText(field, unused, extra, current.empty() ? text : current + "\r\n" + text);
}

std::string Note(std::string_view label, const std::vector<std::string>& values)
{
    if (values.empty()) {
        return {};
    }
    std::string note = std::string(label) + ": ";
    for (std::size_t i = 0; i < values.size(); ++i) {
        note += (i == 0 ? "" : "、") + values[i];
    }
    return note;
}

} // namespace

const std::vector<std::string_view>& MergedFieldNames()
{
    static const std::vector<std::string_view> names = [] {
        std::vector<std::string_view> all;
        for (const auto& [name, caption] : Compared) {
            all.push_back(name);
        }
        return all;
    }();
    return names;
}

std::string_view MergedFieldCaption(std::string_view field)
{
    for (const auto& [name, caption] : Compared) {
        if (name == field) {
            return caption;
        }
    }
    return field;
}

std::vector<FieldPair>
SideBySide(const AddressRecord& a, const ExtraRecord& extraA, const AddressRecord& b, const ExtraRecord& extraB)
{
    std::vector<FieldPair> pairs;
    for (std::string_view name : MergedFieldNames()) {
        const FieldInfo& field = *FindField(name);
        FieldPair pair{name, ValueOf(field, a, extraA), ValueOf(field, b, extraB), false};
        pair.differs = !SameValue(name, pair.a, pair.b);
        pairs.push_back(std::move(pair));
    }
    return pairs;
}

std::vector<FieldDifference>
DifferingFields(const AddressRecord& a, const ExtraRecord& extraA, const AddressRecord& b, const ExtraRecord& extraB)
{
    std::vector<FieldDifference> differences;
    for (std::string_view name : MergedFieldNames()) {
        const FieldInfo& field = *FindField(name);
        std::string valueA = ValueOf(field, a, extraA);
        std::string valueB = ValueOf(field, b, extraB);
        if (!SameValue(name, valueA, valueB)) {
            differences.push_back({name, std::move(valueA), std::move(valueB)});
        }
    }
    return differences;
}

bool FillEmptyFields(AddressRecord& into,
                     ExtraRecord& intoExtra,
                     const AddressRecord& from,
                     const ExtraRecord& fromExtra,
                     std::string_view label)
{
    bool changed = false;
    std::vector<std::string> others;
    for (const FieldDifference& difference : DifferingFields(into, intoExtra, from, fromExtra)) {
        if (difference.b.empty()) {
            continue;
        }
        if (difference.a.empty()) {
            Take(difference.field, into, intoExtra, from, fromExtra);
        } else {
            others.push_back(difference.b);
        }
        changed = true;
    }
    std::string fromRemarks = FieldText(*FindField("RemarksExtra"), from, fromExtra);
    std::string intoRemarks = FieldText(*FindField("RemarksExtra"), into, intoExtra);
    if (!fromRemarks.empty() && intoRemarks.find(fromRemarks) == std::string::npos) {
        others.push_back(fromRemarks);
        changed = true;
    }
    AddToExtra(intoExtra, Note(label, others));
    return changed;
}

void MergeRecords(AddressRecord& a,
                  ExtraRecord& extraA,
                  const AddressRecord& b,
                  const ExtraRecord& extraB,
                  const std::set<std::string, std::less<>>& takeFromB)
{
    std::vector<std::string> notKept;
    for (const FieldDifference& difference : DifferingFields(a, extraA, b, extraB)) {
        bool takeB = difference.a.empty() || (takeFromB.contains(difference.field) && !difference.b.empty());
        if (takeB) {
            Take(difference.field, a, extraA, b, extraB);
        }
        const std::string& lost = takeB ? difference.a : difference.b;
        if (!lost.empty()) {
            notKept.push_back(lost);
        }
    }
    std::string remarksB = FieldText(*FindField("RemarksExtra"), b, extraB);
    AddToExtra(extraA, remarksB);
    AddToExtra(extraA, Note(MergeOtherValuesLabel, notKept));
}

} // namespace talik
