#include "sync/secretstore.h"

#include <libsecret/secret.h>

namespace talik {
namespace {

// One schema for every sync password of the program: the attributes are what a lookup matches.
const SecretSchema* SyncPasswordSchema()
{
    static const SecretSchema schema = {
        .name = "org.talik32.SyncPassword",
        .flags = SECRET_SCHEMA_NONE,
        .attributes = {{"url", SECRET_SCHEMA_ATTRIBUTE_STRING},
                       {"user", SECRET_SCHEMA_ATTRIBUTE_STRING},
                       {nullptr, SECRET_SCHEMA_ATTRIBUTE_STRING}},
        .reserved = 0,
        .reserved1 = nullptr,
        .reserved2 = nullptr,
        .reserved3 = nullptr,
        .reserved4 = nullptr,
        .reserved5 = nullptr,
        .reserved6 = nullptr,
        .reserved7 = nullptr,
    };
    return &schema;
}

// Takes the error libsecret gave (if any) into an outcome and frees it.
SecretOutcome OutcomeOf(GError* error)
{
    if (error == nullptr) {
        return {true, {}};
    }
    SecretOutcome outcome{false, std::string(SecretStoreUnreachable) + "\n" + error->message};
    g_error_free(error);
    return outcome;
}

std::string Label(const SecretKey& key)
{
    return "talik32 同期のパスワード（" + key.user + " " + key.url + "）";
}

} // namespace

SecretOutcome SecretServiceStore::store(const SecretKey& key, const std::string& password)
{
    GError* error = nullptr;
    secret_password_store_sync(SyncPasswordSchema(), SECRET_COLLECTION_DEFAULT, Label(key).c_str(), password.c_str(),
                               nullptr, &error, "url", key.url.c_str(), "user", key.user.c_str(), nullptr);
    return OutcomeOf(error);
}

SecretLookup SecretServiceStore::lookup(const SecretKey& key)
{
    GError* error = nullptr;
    gchar* found = secret_password_lookup_sync(SyncPasswordSchema(), nullptr, &error, "url", key.url.c_str(), "user",
                                               key.user.c_str(), nullptr);
    SecretOutcome outcome = OutcomeOf(error);
    SecretLookup lookup{outcome.reached, std::nullopt, outcome.error};
    if (found != nullptr) {
        lookup.password = std::string(found);
        secret_password_free(found);
    }
    return lookup;
}

SecretOutcome SecretServiceStore::clear(const SecretKey& key)
{
    GError* error = nullptr;
    secret_password_clear_sync(SyncPasswordSchema(), nullptr, &error, "url", key.url.c_str(), "user", key.user.c_str(),
                               nullptr);
    return OutcomeOf(error);
}

} // namespace talik

namespace talik {
namespace {

bool SameKey(const SecretKey& a, const SecretKey& b)
{
    return a.url == b.url && a.user == b.user;
}

} // namespace

void SyncPasswords::keepForSession(const SecretKey& key, const std::string& password)
{
    for (auto& [kept, value] : m_session) {
        if (SameKey(kept, key)) {
            value = password;
            return;
        }
    }
    m_session.emplace_back(key, password);
}

SecretLookup SyncPasswords::lookup(const SecretKey& key)
{
    for (const auto& [kept, value] : m_session) {
        if (SameKey(kept, key)) {
            return {true, value, {}};
        }
    }
    return m_store.lookup(key);
}

} // namespace talik
