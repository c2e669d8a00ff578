#include "sync/syncaccount.h"

#include "platform/profile.h"
#include "store/settings.h"
#include "store/state.h"
#include "sync/http.h"

namespace talik {
namespace {

std::string Key(const char* name, const StoreState& state)
{
    return std::string(name) + std::to_string(state.DbNo);
}

} // namespace

constexpr const char* SyncAtStartAndExitKey = "SyncAtStartAndExit";

bool ReadSyncAtStartAndExit(const StoreState& state)
{
    ProfileDocument doc = ProfileDocument::load(SettingsFile(state.ProfileFolder));
    return doc.value(SettingsSection(state.Mode), SyncAtStartAndExitKey).value_or("0") == "1";
}

bool WriteSyncAtStartAndExit(const StoreState& state, bool on)
{
    return UpdateProfile(SettingsFile(state.ProfileFolder), [&](ProfileDocument& doc) {
        doc.set(SettingsSection(state.Mode), SyncAtStartAndExitKey, on ? "1" : "0");
    });
}

bool SyncsAtStartAndExit(const StoreState& state)
{
    if (!ReadSyncAtStartAndExit(state)) {
        return false;
    }
    std::optional<SyncAccount> account = ReadSyncAccount(state);
    return account && !account->url.empty();
}

std::optional<ConflictRule> ParseConflictRule(const std::string& text)
{
    if (text == "local") {
        return ConflictRule::Local;
    }
    if (text == "server") {
        return ConflictRule::Server;
    }
    if (text == "skip") {
        return ConflictRule::Skip;
    }
    return std::nullopt;
}

const char* ConflictRuleName(ConflictRule rule)
{
    switch (rule) {
    case ConflictRule::Local:
        return "local";
    case ConflictRule::Server:
        return "server";
    case ConflictRule::Skip:
        break;
    }
    return "skip";
}

std::string PinForUrl(const SyncAccount& account, const std::string& url)
{
    return UrlOrigin(url) == UrlOrigin(account.url) ? account.pinnedKey : std::string();
}

std::optional<SyncAccount> ReadSyncAccount(const StoreState& state)
{
    ProfileDocument doc = ProfileDocument::load(SettingsFile(state.ProfileFolder));
    std::string section = SettingsSection(state.Mode);
    SyncAccount account;
    account.url = doc.value(section, Key("SyncUrl", state)).value_or("");
    if (account.url.empty()) {
        return std::nullopt;
    }
    account.book = doc.value(section, Key("SyncBook", state)).value_or("");
    account.user = doc.value(section, Key("SyncUser", state)).value_or("");
    account.conflict =
        ParseConflictRule(doc.value(section, Key("SyncConflict", state)).value_or("skip")).value_or(ConflictRule::Skip);
    account.pinnedKey = doc.value(section, Key("SyncPin", state)).value_or("");
    return account;
}

bool WriteSyncAccount(const StoreState& state, const SyncAccount& account)
{
    std::string section = SettingsSection(state.Mode);
    return UpdateProfile(SettingsFile(state.ProfileFolder), [&](ProfileDocument& doc) {
        doc.set(section, Key("SyncUrl", state), account.url);
        doc.set(section, Key("SyncBook", state), account.book);
        doc.set(section, Key("SyncUser", state), account.user);
        doc.set(section, Key("SyncConflict", state), ConflictRuleName(account.conflict));
        // Written only once a key was accepted: the files of those who never met a server's own
        // certificate stay as they were.
        if (!account.pinnedKey.empty() || doc.value(section, Key("SyncPin", state))) {
            doc.set(section, Key("SyncPin", state), account.pinnedKey);
        }
    });
}

} // namespace talik
