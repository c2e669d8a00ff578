#pragma once
// What the record editor decides, without its window: the mode it opens in and what each mode
// shows, the birthday and age rules, the telephone kinds, the keys its boxes accept, the Enter
// chain, and carrying the boxes' values into the record buffers and out again.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "store/sidestore.h"

namespace talik {

struct AppState;
struct AddressRecord;
struct LocalTime;

enum class EditorMode
{
    New,
    Change,
    View,
    Search,
};

// New when CurRecNo is 0 (search when the search flag is on), else view for EditStatus "R", else change.
EditorMode DecideEditorMode(std::int32_t curRecNo, bool searchMode, char editStatus);

// What a mode shows.
struct EditorLook
{
    std::string title; // "住所録　新規登録", "住所録　登録／変更", "住所録　表示", "住所録　検索機能"
    std::string storeCaption;                // Command1(0): "登録", "更新登録", "検索実行"
    std::string closeCaption;                // Command1(1): "取り消し", "閉じる" in view mode
    bool storeVisible = true;                // Command1(0)
    bool storeAsNewVisible = false;          // Command1(2), change mode only
    bool printSettingsVisible = true;        // Command1(3)
    bool extrasVisible = true;               // Command2, Command3, Command4 and the two line markers
    bool ageVisible = true;                  // Label3
    bool wideBoxes = false;                  // e-mail and remarks boxes widened (search mode)
    std::optional<std::uint32_t> background; // &HBBGGRR: teal in search mode, dark green in view mode
};
EditorLook LookOf(EditorMode mode);

// --- the values of the editor's boxes -----------------------------------------------------------

inline constexpr int PhoneSlots = 4;
inline constexpr int CheckItemTotal = 15;

struct EditorValues
{
    std::string kana;                    // Text1(0)
    std::string kanji;                   // Text1(1)
    std::string year;                    // Text2(0)
    std::string month;                   // Text2(1)
    std::string day;                     // Text2(2)
    std::string classCode;               // Text2(3)
    std::string email;                   // Text2(4)
    std::array<std::string, 2> address;  // Text5(0..1)
    std::array<std::string, 2> postCode; // Text3(0..1)
    std::array<std::string, 2> tel;      // Text6(0..1): slots 0 and 2
    std::array<std::string, 2> fax;      // Text7(0..1): slots 1 and 3
    std::array<std::string, 2> company;  // Text8(0): company, Text8(1): department
    std::string remarks;                 // Text9
    std::array<bool, CheckItemTotal> checks{};
    std::array<int, PhoneSlots> phoneKinds{};
    std::vector<JointName> joint; // the joint-name table's rows as typed
};

// The boxes' values of a stored record (texts cleaned, the birthday split when not 0).
EditorValues ValuesOfRecord(const AddressRecord& rec);
// Writes the boxes' values into the record: texts cut at a NUL and trimmed, then stored (cut to
// their field); the birthday from its three boxes (empty = 0); the check flags; the phone kinds.
void CollectValues(const EditorValues& values, AddressRecord& rec);

// --- birthday ---------------------------------------------------------------------------------

inline constexpr std::string_view BadBirthdayMessage = "正しい生年月日を入力してください。";

// The year box after it loses the focus: a numeric year stays; an era letter (M, T, S, H, and R
// for the present era) and up to two digits become the Western year ("S50" -> "1975"); anything
// else is refused (nullopt: tell the user and clear the box). A blank box stays blank. All three
// boxes read full-width digits and letters as ASCII and ignore surrounding blanks; what they
// accept comes back in that form ("１９６５ " -> "1965").
std::optional<std::string> NormaliseYear(std::string_view text);
// The month and day boxes: blank, or a number in 1..12 / 1..31; nullopt when refused.
std::optional<std::string> NormaliseMonth(std::string_view text);
std::optional<std::string> NormaliseDay(std::string_view text);
// The birthday yyyymmdd of the three boxes (blank boxes count as 0; a box that is no number as 0).
std::int32_t BirthdayOf(std::string_view year, std::string_view month, std::string_view day);
// "42才" for a birthday on `today`; empty when there is no birthday or it lies in the future.
std::string AgeText(std::int32_t birthday, const LocalTime& today);

// --- telephone kinds ---------------------------------------------------------------------------

// The four kinds packed as four decimal digits (slot 0 the thousands digit) and back; a stored
// value outside 0..4444 unpacks as four zeros, a digit above 4 as 0.
int PackPhoneKinds(const std::array<int, PhoneSlots>& kinds);
std::array<int, PhoneSlots> UnpackPhoneKinds(int stored);
// The next kind after a click on a slot caption: 0, 1, 2, 3, 4, 0, ...
int NextPhoneKind(int kind);

// --- keys --------------------------------------------------------------------------------------

// The boxes of the editor, in the order of the Enter chain.
enum class EditorBox
{
    Reading,
    Name,
    Year,
    Month,
    Day,
    ClassCode,
    EMail,
    Address1,
    PostCode1,
    Tel1,
    Fax1,
    Address2,
    PostCode2,
    Tel2,
    Fax2,
    Company,
    Department,
    Remarks,
};
// The box Enter moves to from `box`; nullopt from the remarks (Enter acts as Tab there).
std::optional<EditorBox> NextInEnterChain(EditorBox box);
// True when a typed character is accepted by the box: no commas in text boxes (they are reserved
// for CSV), only digits, "-", "." in postal-code and telephone boxes.
bool BoxAcceptsChar(EditorBox box, char32_t character);
// The maximum length of a box with one (the birthday parts, classification code, e-mail), else 0.
int MaxLengthOf(EditorBox box);

// --- leaving -----------------------------------------------------------------------------------

inline constexpr std::string_view ReadingRequiredMessage = "フリガナは必ず入力して下さい。";
inline constexpr std::string_view ReadingRequiredTitle = "必須項目";

enum class EditorButton
{
    Store = 0,         // Command1(0)
    Cancel = 1,        // Command1(1)
    StoreAsNew = 2,    // Command1(2)
    PrintSettings = 3, // Command1(3)
};

enum class LeaveOutcome
{
    Close,             // the editor closes; EditStatus says what happened
    Stay,              // the editor stays open (missing reading, failed store)
    OpenPrintSettings, // the values were collected: show the print settings, then stay
};

// The editor's buttons: checks the reading, collects the values into the record buffers, stores
// them or hands them to the search, and sets EditStatus. A button the mode hides does nothing (Stay).
LeaveOutcome LeaveEditor(AppState& state, EditorMode mode, EditorButton button, const EditorValues& values);

} // namespace talik
