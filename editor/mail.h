#pragma once
// Handing "mailto:" addresses to the user's mail program: from the editor, for the selected
// record, and for a whole result list.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "listwin/listmodel.h"

namespace talik {

struct AppState;
class Launcher;
struct XdgFolders;

inline constexpr std::size_t MaxMailtoLength = 128 * 1024;
inline constexpr const char* MailNotStarted = "メールを起動できません。";
inline constexpr const char* NoMailAddress = "E-Mailアドレスが入力されていません。";
inline constexpr const char* SomeWithoutAddress = "E-Mailアドレスが入力されていない方がいますが続けますか？";
inline constexpr const char* NoneWithAddress = "E-Mailアドレスがすべて入力されていません。";

// The addresses a field holds: split on ";" and ",", each trimmed, blanks dropped.
std::vector<std::string> SplitAddresses(std::string_view field);
// One address percent-encoded for a mailto URL: all but A-Z a-z 0-9 "-._~" and "@", upper-case hex.
std::string EncodeMailAddress(std::string_view address);
// "mailto:" and the addresses joined by ",", as recipients or (bcc) in a "bcc" header.
std::string MailtoUrl(const std::vector<std::string>& addresses, bool bcc = false);
// The message when the URL is too long to hand over; empty when it may go.
std::string TooManyRecipients(const std::string& url, std::size_t addressCount);

// Starts the mail program on `url`: the desktop's mailto handler, else the opener. Tells
// "メールを起動できません。" and returns false when neither could be started.
bool LaunchMail(AppState& state, Launcher& launcher, const std::string& url, const XdgFolders& folders);

// The editor's e-mail button: the typed address; nothing for a blank one.
bool MailFromEditor(AppState& state, Launcher& launcher, std::string_view typed, const XdgFolders& folders);
// The record CurRecNo, read afresh; tells when it has no address.
bool MailCurrentRecord(AppState& state, Launcher& launcher, const XdgFolders& folders);

// The addresses of list positions first..last in list order, asking once when some record has
// none; nullopt when the user said No, or (after telling) when none has an address.
std::optional<std::vector<std::string>>
CollectListAddresses(AppState& state, ListModel& list, std::size_t first, std::size_t last);
// Bulk mail to list positions first..last, in To or (bcc) in BCC.
bool MailList(AppState& state,
              Launcher& launcher,
              ListModel& list,
              std::size_t first,
              std::size_t last,
              bool bcc,
              const XdgFolders& folders);

} // namespace talik
