#include "dbadmin/dbnames.h"

#include "platform/codec.h"
#include "store/record.h"
#include "store/settings.h"
#include "store/state.h"

namespace talik {
namespace {

bool HasControlCharacter(const std::string& text)
{
    for (unsigned char c : text) {
        if (c < 0x20 || c == 0x7F) {
            return true;
        }
    }
    return false;
}

// A character CP932 lacks comes back from the round trip as "?".
bool HoldsOnlyCp932(const std::string& text)
{
    return FromCp932(ToCp932(text)) == text;
}

} // namespace

std::optional<std::string> DbNameProblem(const std::string& name)
{
    if (!HoldsOnlyCp932(name) || HasControlCharacter(name)) {
        return "データベース名「" + name + "」には使えない文字が含まれています。";
    }
    if (AnsiLen(name) > DbNameMaxBytes) {
        return "データベース名は半角" + std::to_string(DbNameMaxBytes) + "文字（全角" +
               std::to_string(DbNameMaxBytes / 2) + "文字）以内で入力してください。";
    }
    return std::nullopt;
}

std::string StoredDbName(const std::string& name, int dbNo)
{
    std::string cleaned = CleanFixed(name);
    return cleaned.empty() ? "データベース" + std::to_string(dbNo) : cleaned;
}

std::string MenuText(const std::string& name)
{
    std::string text;
    for (char c : name) {
        text += c;
        if (c == '&') {
            text += '&';
        }
    }
    return text;
}

bool RegisterDbNames(StoreState& state, const std::array<std::string, 10>& names, int* refused)
{
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (auto problem = DbNameProblem(CleanFixed(names[i]))) {
            state.ui.message(*problem, MessageIcon::Exclamation);
            if (refused != nullptr) {
                *refused = static_cast<int>(i);
            }
            return false;
        }
    }
    for (std::size_t i = 0; i < names.size(); ++i) {
        state.settings.AddrDBName[i] = StoredDbName(names[i], static_cast<int>(i) + 1);
    }
    std::string file = SettingsFile(state.ProfileFolder);
    if (!WriteDbNames(state.settings, file, state.Mode)) {
        TellSettingsNotWritten(state.ui, file);
        return false;
    }
    return true;
}

} // namespace talik
