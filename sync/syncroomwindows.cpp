#include "sync/syncroomwindows.h"

#include "sync/TALIKSYN.h"
#include "sync/TALIKSYR.h"
#include "sync/secretstore.h"

namespace talik {
namespace {

class WindowSyncRoom final : public SyncRoom
{
public:
    void openAccount(AppState& state, QWidget* parent) override
    {
        TALIKSYN dialog(state, passwords(), parent);
        dialog.exec();
    }

    bool runSync(AppState& state, QWidget* parent, bool askConflicts) override
    {
        TALIKSYR dialog(state, passwords(), parent, askConflicts);
        return dialog.runSync();
    }

    void usePasswordStore(PasswordStore& store) override { m_passwords = std::make_unique<SyncPasswords>(store); }

private:
    // The secret store is reached only when a password is first wanted.
    SyncPasswords& passwords()
    {
        if (!m_passwords) {
            if (!m_secretStore) {
                m_secretStore = std::make_unique<SecretServiceStore>();
            }
            m_passwords = std::make_unique<SyncPasswords>(*m_secretStore);
        }
        return *m_passwords;
    }

    std::unique_ptr<PasswordStore> m_secretStore;
    std::unique_ptr<SyncPasswords> m_passwords;
};

} // namespace

std::unique_ptr<SyncRoom> MakeSyncRoom()
{
    return std::make_unique<WindowSyncRoom>();
}

} // namespace talik
