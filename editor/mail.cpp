#include "editor/mail.h"

#include "listwin/appstate.h"
#include "listwin/currentrecord.h"
#include "platform/launcher.h"
#include "platform/mailhandler.h"
#include "platform/trim.h"
#include "store/database.h"

namespace talik {
namespace {

std::string_view TrimSpaces(std::string_view text)
{
    return TrimOf(text, " \t\r\n");
}

bool Unreserved(unsigned char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
           c == '_' || c == '~' || c == '@';
}

// Hands a URL over, or tells the user why it is not.
bool SendUrl(
    AppState& state, Launcher& launcher, const std::vector<std::string>& addresses, bool bcc, const XdgFolders& folders)
{
    std::string url = MailtoUrl(addresses, bcc);
    std::string tooMany = TooManyRecipients(url, addresses.size());
    if (!tooMany.empty()) {
        state.ui.message(tooMany, MessageIcon::Exclamation);
        return false;
    }
    return LaunchMail(state, launcher, url, folders);
}

} // namespace

std::vector<std::string> SplitAddresses(std::string_view field)
{
    std::vector<std::string> addresses;
    std::size_t start = 0;
    while (start <= field.size()) {
        std::size_t end = field.find_first_of(";,", start);
        if (end == std::string_view::npos) {
            end = field.size();
        }
        std::string_view one = TrimSpaces(field.substr(start, end - start));
        if (!one.empty()) {
            addresses.emplace_back(one);
        }
        start = end + 1;
    }
    return addresses;
}

std::string EncodeMailAddress(std::string_view address)
{
    static const char Hex[] = "0123456789ABCDEF";
    std::string out;
    for (char ch : address) {
        auto c = static_cast<unsigned char>(ch);
        if (Unreserved(c)) {
            out += ch;
        } else {
            out += '%';
            out += Hex[c >> 4];
            out += Hex[c & 0x0F];
        }
    }
    return out;
}

std::string MailtoUrl(const std::vector<std::string>& addresses, bool bcc)
{
    std::string joined;
    for (const std::string& address : addresses) {
        joined += (joined.empty() ? "" : ",") + EncodeMailAddress(address);
    }
    return bcc ? "mailto:?bcc=" + joined : "mailto:" + joined;
}

std::string TooManyRecipients(const std::string& url, std::size_t addressCount)
{
    if (url.size() <= MaxMailtoLength) {
        return {};
    }
    return "宛先が多すぎます（" + std::to_string(addressCount) + " 件）。";
}

bool LaunchMail(AppState& state, Launcher& launcher, const std::string& url, const XdgFolders& folders)
{
    bool started = false;
    if (std::optional<std::vector<std::string>> command = MailHandlerCommand(url, folders)) {
        std::vector<std::string> args(command->begin() + 1, command->end());
        started = launcher.start(command->front(), args);
    } else {
        started = launcher.openDocument(url);
    }
    if (!started) {
        state.ui.message(MailNotStarted, MessageIcon::Exclamation);
    }
    return started;
}

bool MailFromEditor(AppState& state, Launcher& launcher, std::string_view typed, const XdgFolders& folders)
{
    std::vector<std::string> addresses = SplitAddresses(typed);
    if (addresses.empty()) {
        return false;
    }
    return SendUrl(state, launcher, addresses, false, folders);
}

bool MailCurrentRecord(AppState& state, Launcher& launcher, const XdgFolders& folders)
{
    if (!ReadCurrent(state)) {
        return false;
    }
    std::vector<std::string> addresses = SplitAddresses(GetText(state.Rec.EMail));
    if (addresses.empty()) {
        state.ui.message(NoMailAddress, MessageIcon::Exclamation);
        return false;
    }
    return SendUrl(state, launcher, addresses, false, folders);
}

std::optional<std::vector<std::string>>
CollectListAddresses(AppState& state, ListModel& list, std::size_t first, std::size_t last)
{
    std::vector<std::string> addresses;
    bool asked = false;
    for (std::size_t pos = first; pos <= last && pos < list.size(); ++pos) {
        list.select(pos);
        state.CurRecNo = RecNoOfKey(list.keyAt(pos));
        std::vector<std::string> found;
        if (ReadCurrent(state)) {
            found = SplitAddresses(GetText(state.Rec.EMail));
        }
        if (found.empty()) {
            if (!asked && !state.ui.askYesNo(SomeWithoutAddress, MessageIcon::Question, "確認")) {
                return std::nullopt;
            }
            asked = true;
            continue;
        }
        addresses.insert(addresses.end(), found.begin(), found.end());
    }
    if (addresses.empty()) {
        state.ui.message(NoneWithAddress, MessageIcon::Exclamation);
        return std::nullopt;
    }
    return addresses;
}

bool MailList(AppState& state,
              Launcher& launcher,
              ListModel& list,
              std::size_t first,
              std::size_t last,
              bool bcc,
              const XdgFolders& folders)
{
    std::optional<std::vector<std::string>> addresses = CollectListAddresses(state, list, first, last);
    if (!addresses) {
        return false;
    }
    return SendUrl(state, launcher, *addresses, bcc, folders);
}

} // namespace talik
