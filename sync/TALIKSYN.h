#pragma once
// The sync account of the open database: the server's URL, the user and the password, the rule for
// conflicts, and "接続テスト", which looks for the address books on a worker thread and lists them
// to choose from. OK keeps the account in the settings file and the password in the secret store.
#include <QDialog>

#include <memory>
#include <string>
#include <vector>

#include "sync/carddav.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace talik {

struct AppState;
class SyncPasswords;
class WorkerThread;

class TALIKSYN : public QDialog
{
    Q_OBJECT
public:
    TALIKSYN(AppState& state, SyncPasswords& passwords, QWidget* parent = nullptr);
    ~TALIKSYN() override;

    // True while a connection test runs.
    bool testing() const;

signals:
    // The connection test has finished and its outcome is shown.
    void testFinished();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void buildControls();
    void fillFromAccount();
    void startTest();
    void showFound(const std::vector<FoundAddressBook>& books, const std::string& error);
    // The server's own certificate: asks whether to trust its key; true when the test is to run again with it.
    bool acceptKey(const CertificateProblem& problem);
    std::string pinFor(const std::string& url) const;
    std::string chosenBook() const;
    bool storePassword(const std::string& url, const std::string& user);
    void save();

    AppState& m_state;
    SyncPasswords& m_passwords;
    QLineEdit* m_url;
    QLineEdit* m_user;
    QLineEdit* m_password;
    QComboBox* m_conflict;
    QPushButton* m_test;
    QLabel* m_status;
    QListWidget* m_books;
    std::string m_storedUrl;
    std::string m_storedBook;
    std::string m_pin; // the key trusted for m_pinUrl's server: kept, or accepted in this dialog
    std::string m_pinUrl;
    std::unique_ptr<WorkerThread> m_worker;
};

} // namespace talik
