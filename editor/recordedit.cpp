// The record editor's rules, kept apart from its window so they can be checked without one.
#include "editor/recordedit.h"

#include <cstdint>
#include <limits>

#include "editor/jointedit.h"
#include "listwin/appstate.h"
#include "listwin/currentrecord.h"
#include "store/database.h"
#include "store/record.h"

namespace talik {
namespace {

constexpr std::uint32_t SearchBackground = 0x808000; // &HBBGGRR teal
constexpr std::uint32_t ViewBackground = 0x008000;   // dark green

constexpr int MaxPhoneKind = 4;
constexpr int MaxPhoneKinds = 4444;
constexpr std::array<int, PhoneSlots> SlotPlace{1000, 100, 10, 1}; // slot 0 is the thousands digit

int ValidKind(int kind)
{
    return kind < 0 || kind > MaxPhoneKind ? 0 : kind;
}

// --- text of the birthday boxes ----------------------------------------------------------------

// Full-width ASCII forms (U+FF01..U+FF5E, three UTF-8 bytes) become their ASCII characters, so a
// year typed as "Ｓ５０" reads like "S50".
std::string NarrowAscii(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        auto lead = static_cast<unsigned char>(text[i]);
        if (lead == 0xEF && i + 2 < text.size()) {
            auto b1 = static_cast<unsigned char>(text[i + 1]);
            auto b2 = static_cast<unsigned char>(text[i + 2]);
            char32_t code = 0xF000 | ((b1 & 0x3Fu) << 6) | (b2 & 0x3Fu);
            if ((b1 & 0xC0) == 0x80 && (b2 & 0xC0) == 0x80 && code >= 0xFF01 && code <= 0xFF5E) {
                out += static_cast<char>(code - 0xFEE0);
                i += 2;
                continue;
            }
        }
        out += text[i];
    }
    return out;
}

// The box's text as the birthday rules read it: full-width forms narrowed, blanks trimmed.
std::string BoxText(std::string_view text)
{
    return CleanFixed(NarrowAscii(text));
}

bool IsDigits(std::string_view text)
{
    return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

// The value of a text of ASCII digits; texts too long to be a date part count as no number (-1).
long long DigitsValue(std::string_view digits)
{
    if (digits.size() > 9) {
        return -1;
    }
    long long value = 0;
    for (char c : digits) {
        value = value * 10 + (c - '0');
    }
    return value;
}

// A birthday part: the number of a box holding digits, 0 for a blank or any other box.
long long PartValue(std::string_view box)
{
    std::string text = BoxText(box);
    long long value = IsDigits(text) ? DigitsValue(text) : 0;
    return value < 0 ? 0 : value;
}

// The year before year 1 of each era, by its letter; R is the present era (R1 = 2019).
struct Era
{
    char letter;
    int baseYear;
};
constexpr std::array<Era, 5> Eras{{{'M', 1867}, {'T', 1911}, {'S', 1925}, {'H', 1988}, {'R', 2018}}};

std::optional<int> EraBaseYear(char letter)
{
    for (const Era& era : Eras) {
        if (era.letter == letter) {
            return era.baseYear;
        }
    }
    return std::nullopt;
}

// A month or day box: blank, or digits in first..last.
std::optional<std::string> NormaliseInRange(std::string_view box, long long first, long long last)
{
    std::string text = BoxText(box);
    if (text.empty()) {
        return text;
    }
    if (!IsDigits(text)) {
        return std::nullopt;
    }
    long long value = DigitsValue(text);
    if (value < first || value > last) {
        return std::nullopt;
    }
    return text;
}

// --- record fields -----------------------------------------------------------------------------

// The box text as it goes into a field: cut at a NUL, blanks trimmed.
void StoreBox(std::span<char> field, std::string_view box)
{
    SetText(field, CleanFixed(box));
}

// The birthday boxes of a stored birthday: eight digits split 4/2/2; blank when there is none.
void SplitBirthday(std::int32_t birthday, EditorValues& values)
{
    if (birthday <= 0) {
        return;
    }
    std::string digits = std::to_string(birthday);
    digits.insert(0, digits.size() < 8 ? 8 - digits.size() : 0, '0');
    std::size_t yearDigits = digits.size() - 4;
    values.year = digits.substr(0, yearDigits);
    values.month = digits.substr(yearDigits, 2);
    values.day = digits.substr(yearDigits + 2, 2);
}

// --- leaving -----------------------------------------------------------------------------------

// A button the mode hides cannot be pressed; the form's keys must not reach it either.
bool ButtonShown(const EditorLook& look, EditorButton button)
{
    switch (button) {
    case EditorButton::Store:
        return look.storeVisible;
    case EditorButton::Cancel:
        return true;
    case EditorButton::StoreAsNew:
        return look.storeAsNewVisible;
    case EditorButton::PrintSettings:
        return look.printSettingsVisible;
    }
    return false;
}

bool NeedsReading(EditorMode mode, EditorButton button)
{
    return mode != EditorMode::Search && (button == EditorButton::Store || button == EditorButton::PrintSettings);
}

// The joint names the record is stored with; false (told) when a row lacks its given name.
bool TakeJointNames(AppState& state, const EditorValues& values)
{
    JointRowsChecked checked = CheckJointRows(values.joint);
    if (checked.missingGiven) {
        state.ui.message(std::string(JointGivenMissingMessage), MessageIcon::Exclamation);
        return false;
    }
    state.Joint = std::move(checked.names);
    return true;
}

LeaveOutcome Store(AppState& state, EditorMode mode, const EditorValues& values)
{
    if (mode != EditorMode::Search && !TakeJointNames(state, values)) {
        return LeaveOutcome::Stay;
    }
    CollectValues(values, state.Rec);
    if (mode == EditorMode::Search) {
        state.Joint = JointConditionRows(values.joint);
        state.EditStatus = 'S';
        return LeaveOutcome::Close;
    }
    bool wasNew = state.CurRecNo == 0;
    if (!SaveCurrent(state)) {
        return LeaveOutcome::Stay;
    }
    state.EditStatus = wasNew ? 'N' : 'R';
    return LeaveOutcome::Close;
}

LeaveOutcome StoreAsNew(AppState& state, const EditorValues& values)
{
    if (!TakeJointNames(state, values)) {
        return LeaveOutcome::Stay;
    }
    std::int32_t opened = state.CurRecNo;
    state.CurRecNo = 0;
    CollectValues(values, state.Rec);
    if (!SaveCurrent(state)) {
        state.CurRecNo = opened; // the editor stays on the record it shows
        return LeaveOutcome::Stay;
    }
    state.EditStatus = 'N';
    return LeaveOutcome::Close;
}

} // namespace

// --- mode --------------------------------------------------------------------------------------

EditorMode DecideEditorMode(std::int32_t curRecNo, bool searchMode, char editStatus)
{
    if (curRecNo != 0) {
        return editStatus == 'R' ? EditorMode::View : EditorMode::Change;
    }
    return searchMode ? EditorMode::Search : EditorMode::New;
}

EditorLook LookOf(EditorMode mode)
{
    EditorLook look;
    look.storeCaption = "登録";
    look.closeCaption = "取り消し";
    switch (mode) {
    case EditorMode::New:
        look.title = "住所録　新規登録";
        break;
    case EditorMode::Change:
        look.title = "住所録　登録／変更";
        look.storeCaption = "更新登録";
        look.storeAsNewVisible = true;
        break;
    case EditorMode::View:
        look.title = "住所録　表示";
        look.closeCaption = "閉じる";
        look.storeVisible = false;
        look.printSettingsVisible = false;
        look.background = ViewBackground;
        break;
    case EditorMode::Search:
        look.title = "住所録　検索機能";
        look.storeCaption = "検索実行";
        look.printSettingsVisible = false;
        look.extrasVisible = false;
        look.ageVisible = false;
        look.wideBoxes = true;
        look.background = SearchBackground;
        break;
    }
    return look;
}

// --- values ------------------------------------------------------------------------------------

EditorValues ValuesOfRecord(const AddressRecord& rec)
{
    EditorValues values;
    values.kana = GetText(rec.KanaName);
    values.kanji = GetText(rec.KanjiName);
    SplitBirthday(GetLong(rec.Birthday), values);
    values.classCode = GetText(rec.ClassCode);
    values.email = GetText(rec.EMail);
    values.address = {GetText(rec.Address1), GetText(rec.Address2)};
    values.postCode = {GetText(rec.PostCode1), GetText(rec.PostCode2)};
    values.tel = {GetText(rec.Tel1), GetText(rec.Tel2)};
    values.fax = {GetText(rec.Fax1), GetText(rec.Fax2)};
    values.company = {GetText(rec.Company), GetText(rec.Department)};
    values.remarks = GetText(rec.Remarks);
    for (int i = 0; i < CheckItemTotal; ++i) {
        values.checks[i] = rec.CheckItems[i] == '1';
    }
    values.phoneKinds = UnpackPhoneKinds(GetInteger(rec.PhoneKinds));
    return values;
}

void CollectValues(const EditorValues& values, AddressRecord& rec)
{
    StoreBox(rec.KanaName, values.kana);
    StoreBox(rec.KanjiName, values.kanji);
    StoreBox(rec.ClassCode, values.classCode);
    StoreBox(rec.EMail, values.email);
    StoreBox(rec.Address1, values.address[0]);
    StoreBox(rec.Address2, values.address[1]);
    StoreBox(rec.PostCode1, values.postCode[0]);
    StoreBox(rec.PostCode2, values.postCode[1]);
    StoreBox(rec.Tel1, values.tel[0]);
    StoreBox(rec.Tel2, values.tel[1]);
    StoreBox(rec.Fax1, values.fax[0]);
    StoreBox(rec.Fax2, values.fax[1]);
    StoreBox(rec.Company, values.company[0]);
    StoreBox(rec.Department, values.company[1]);
    StoreBox(rec.Remarks, values.remarks);
    SetLong(rec.Birthday, BirthdayOf(values.year, values.month, values.day));
    for (int i = 0; i < CheckItemTotal; ++i) {
        rec.CheckItems[i] = values.checks[i] ? '1' : ' ';
    }
    SetInteger(rec.PhoneKinds, static_cast<std::int16_t>(PackPhoneKinds(values.phoneKinds)));
}

// --- birthday ----------------------------------------------------------------------------------

std::optional<std::string> NormaliseYear(std::string_view box)
{
    std::string text = BoxText(box);
    if (text.empty() || IsDigits(text)) {
        return text;
    }
    char letter = text[0] >= 'a' && text[0] <= 'z' ? static_cast<char>(text[0] - 'a' + 'A') : text[0];
    std::optional<int> base = EraBaseYear(letter);
    std::string_view eraYear = std::string_view(text).substr(1);
    if (!base || eraYear.size() > 2 || !IsDigits(eraYear)) {
        return std::nullopt;
    }
    return std::to_string(*base + DigitsValue(eraYear));
}

std::optional<std::string> NormaliseMonth(std::string_view text)
{
    return NormaliseInRange(text, 1, 12);
}

std::optional<std::string> NormaliseDay(std::string_view text)
{
    return NormaliseInRange(text, 1, 31);
}

std::int32_t BirthdayOf(std::string_view year, std::string_view month, std::string_view day)
{
    long long value = PartValue(year) * 10000 + PartValue(month) * 100 + PartValue(day);
    return value > std::numeric_limits<std::int32_t>::max() ? 0 : static_cast<std::int32_t>(value);
}

std::string AgeText(std::int32_t birthday, const LocalTime& today)
{
    long long difference = today.year * 10000LL + today.month * 100LL + today.day - birthday;
    if (birthday <= 0 || difference < 0) {
        return {};
    }
    return std::to_string(difference / 10000) + "才";
}

// --- telephone kinds ---------------------------------------------------------------------------

int PackPhoneKinds(const std::array<int, PhoneSlots>& kinds)
{
    int packed = 0;
    for (int slot = 0; slot < PhoneSlots; ++slot) {
        packed += ValidKind(kinds[slot]) * SlotPlace[slot];
    }
    return packed;
}

std::array<int, PhoneSlots> UnpackPhoneKinds(int stored)
{
    std::array<int, PhoneSlots> kinds{};
    if (stored < 0 || stored > MaxPhoneKinds) {
        return kinds;
    }
    for (int slot = 0; slot < PhoneSlots; ++slot) {
        kinds[slot] = ValidKind(stored / SlotPlace[slot] % 10);
    }
    return kinds;
}

int NextPhoneKind(int kind)
{
    return ValidKind(kind) == MaxPhoneKind ? 0 : ValidKind(kind) + 1;
}

// --- keys --------------------------------------------------------------------------------------

std::optional<EditorBox> NextInEnterChain(EditorBox box)
{
    if (box == EditorBox::Remarks) {
        return std::nullopt;
    }
    return static_cast<EditorBox>(static_cast<int>(box) + 1);
}

bool BoxAcceptsChar(EditorBox box, char32_t character)
{
    switch (box) {
    case EditorBox::PostCode1:
    case EditorBox::PostCode2:
    case EditorBox::Tel1:
    case EditorBox::Fax1:
    case EditorBox::Tel2:
    case EditorBox::Fax2:
        return (character >= U'0' && character <= U'9') || character == U'-' || character == U'.';
    default:
        return character != U',';
    }
}

int MaxLengthOf(EditorBox box)
{
    switch (box) {
    case EditorBox::Year:
        return 4;
    case EditorBox::Month:
        return 2;
    case EditorBox::Day:
        return 2;
    case EditorBox::ClassCode:
        return 10;
    case EditorBox::EMail:
        return 50;
    default:
        return 0;
    }
}

// --- leaving -----------------------------------------------------------------------------------

LeaveOutcome LeaveEditor(AppState& state, EditorMode mode, EditorButton button, const EditorValues& values)
{
    if (!ButtonShown(LookOf(mode), button)) {
        return LeaveOutcome::Stay;
    }
    if (NeedsReading(mode, button) && values.kana.empty()) {
        state.ui.message(std::string(ReadingRequiredMessage), MessageIcon::Exclamation,
                         std::string(ReadingRequiredTitle));
        return LeaveOutcome::Stay;
    }
    switch (button) {
    case EditorButton::Store:
        return Store(state, mode, values);
    case EditorButton::StoreAsNew:
        return StoreAsNew(state, values);
    case EditorButton::PrintSettings:
        CollectValues(values, state.Rec);
        return LeaveOutcome::OpenPrintSettings;
    case EditorButton::Cancel:
        break;
    }
    state.EditStatus = ' ';
    return LeaveOutcome::Close;
}

} // namespace talik
