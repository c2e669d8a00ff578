#include "sync/syncaccount.h"

#include "platform/profile.h"
#include "store/settings.h"
#include "store/state.h"
#include "sync/http.h"

namespace talik {

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
    account.url = doc.value(section, SyncAccountKey("SyncUrl", state)).value_or("");
    if (account.url.empty()) {
        return std::nullopt;
    }
    account.book = doc.value(section, SyncAccountKey("SyncBook", state)).value_or("");
    account.user = doc.value(section, SyncAccountKey("SyncUser", state)).value_or("");
    account.conflict = ParseConflictRule(doc.value(section, SyncAccountKey("SyncConflict", state)).value_or("skip"))
                           .value_or(ConflictRule::Skip);
    account.pinnedKey = doc.value(section, SyncAccountKey("SyncPin", state)).value_or("");
    return account;
}

bool WriteSyncAccount(const StoreState& state, const SyncAccount& account)
{
    std::string section = SettingsSection(state.Mode);
    return UpdateProfile(SettingsFile(state.ProfileFolder), [&](ProfileDocument& doc) {
        doc.set(section, SyncAccountKey("SyncUrl", state), account.url);
        doc.set(section, SyncAccountKey("SyncBook", state), account.book);
        doc.set(section, SyncAccountKey("SyncUser", state), account.user);
        doc.set(section, SyncAccountKey("SyncConflict", state), ConflictRuleName(account.conflict));
        // Written only once a key was accepted: the files of those who never met a server's own
        // certificate stay as they were.
        if (!account.pinnedKey.empty() || doc.value(section, SyncAccountKey("SyncPin", state))) {
            doc.set(section, SyncAccountKey("SyncPin", state), account.pinnedKey);
        }
    });
}

} // namespace talik
