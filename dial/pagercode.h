#pragma once
// The call confirmation without its window: the pager message typed in letters, digits and kana,
// normalised and coded as the two-digit sequences pagers understand; the message files; and what
// the confirmation shows, enables and leaves in DialNumber and EditStatus.
#include <string>
#include <string_view>

namespace talik {

struct AppState;

// --- pager codes ---------------------------------------------------------------------------------

// The typed text as the pager can take it: half-width and upper case, and every character other
// than A-Z, 0-9, ? ! \ # * / - & and the blank made half-width katakana (a voiced kana becomes two
// characters); whatever has no such form is dropped.
std::string NormalisePagerText(std::string_view typed);
// The two-digit code of each character of normalised text, joined; characters without a code
// (small kana, for one) are left out. `msgType` 1 takes the first code table, any other the second.
std::string PagerCodes(std::string_view normalised, int msgType);
// The code system whose option button stands for `msgType`: 1, or 2 for every other value.
int PagerOptionOf(int msgType);

// --- message files ---------------------------------------------------------------------------------

inline constexpr std::string_view MessageFileFilter = "メッセージファイル (*.qxm)";
inline constexpr std::string_view MessageSaveTitle = "メッセージファイル保存";
inline constexpr std::string_view MessageRecallTitle = "メッセージファイル呼出し";

// The message a file holds; empty when the file, its section or its key is missing.
std::string ReadMessageFile(const std::string& path);
// Writes the trimmed message into the file, keeping whatever else it holds.
bool WriteMessageFile(const std::string& path, std::string_view message);

// --- the confirmation ------------------------------------------------------------------------------

// What the confirmation shows for the dial slot of the record in the buffer.
struct CallLook
{
    std::string name;               // Label1: the callee
    std::string kindAndNumber;      // Label4: "ＴＥＬ　：03-1234-5678"
    std::string outsideLineCaption; // Check1: "外線コール（ 0 ）"
    bool outsideLineChecked = false;
    bool messageEnabled = false; // the message box and its buttons; Label2 stands out blue and bold
};
CallLook LookOfCall(const AppState& state);

// True for the kinds that may carry a message (pager, mobile, PHS); only a pager's is dialled.
bool KindTakesMessage(int phoneKind);
bool KindDialsMessage(int phoneKind);

// The string the modem dials: the outside-line prefix and one pause when asked for, the number,
// two pauses, then the message.
std::string
FinalDialNumber(std::string_view number, bool outsideLine, std::string_view prefix, std::string_view message);

// "電話をかける": leaves EditStatus "Y" and the final DialNumber, or, when the slot has no number
// (whether or not the outside line is asked for), tells the user and leaves "N" and DialNumber as
// it was.
void ConfirmCall(AppState& state, bool outsideLine, std::string_view messageBox);
// "取り消し", Escape or closing the window: EditStatus "N".
void CancelCall(AppState& state);

inline constexpr std::string_view NoNumberMessage = "電話番号が登録されていません。";

} // namespace talik
