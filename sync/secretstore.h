#pragma once
// The password of a sync account, kept in the desktop's secret store (the Secret Service a keyring
// daemon offers), keyed by the account's URL and user name. Never in the settings file.
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace talik {

struct SecretKey
{
    std::string url;
    std::string user;
};

// What the store said: `reached` is false when the secret store could not be used at all (no
// keyring running, locked and not unlocked); `error` then says why, for the user.
struct SecretOutcome
{
    bool reached = false;
    std::string error;
};

struct SecretLookup
{
    bool reached = false;
    std::optional<std::string> password; // nullopt: none kept for this account
    std::string error;
};

class PasswordStore
{
public:
    virtual ~PasswordStore() = default;
    virtual SecretOutcome store(const SecretKey& key, const std::string& password) = 0;
    virtual SecretLookup lookup(const SecretKey& key) = 0;
    // Forgets the password; forgetting one that was never kept is no failure.
    virtual SecretOutcome clear(const SecretKey& key) = 0;
};

// The Secret Service of the user's session, through libsecret.
class SecretServiceStore : public PasswordStore
{
public:
    SecretOutcome store(const SecretKey& key, const std::string& password) override;
    SecretLookup lookup(const SecretKey& key) override;
    SecretOutcome clear(const SecretKey& key) override;
};

// Said when the secret store cannot be reached, before its own reason.
inline constexpr const char* SecretStoreUnreachable = "パスワードの保管場所（キーリング）を使えません。";

} // namespace talik

namespace talik {

// The passwords the windows use: the secret store's, or one the user chose to use for this session
// only (the secret store could not be reached), which is forgotten when the program ends.
class SyncPasswords
{
public:
    explicit SyncPasswords(PasswordStore& store) : m_store(store) {}
    PasswordStore& store() { return m_store; }
    void keepForSession(const SecretKey& key, const std::string& password);
    // The session's password first, then the secret store's.
    SecretLookup lookup(const SecretKey& key);

private:
    PasswordStore& m_store;
    std::vector<std::pair<SecretKey, std::string>> m_session;
};

} // namespace talik
