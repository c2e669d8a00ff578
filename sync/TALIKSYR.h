#pragma once
// "今すぐ同期": the open database synced with its account's address book on a worker thread, with
// the progress and "キャンセル" meanwhile, then the summary. A run that stopped because it would
// have deleted more than half of one side asks, and on Yes runs again allowing it.
#include <QDialog>

#include <atomic>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "sync/syncaccount.h"
#include "sync/syncsummary.h"

class QLabel;
class QProgressBar;
class QPushButton;

namespace talik {

struct AppState;
class DetachedSync;
class SyncPasswords;
class WorkerThread;

class TALIKSYR : public QDialog
{
    Q_OBJECT
public:
    // `askConflicts`: under the rule 確認する, the conflict window asks about each person changed
    // on both sides, and the user is asked about each pair a first sync could not call one person or
    // two; what the user decided is carried out by a second run.
    TALIKSYR(AppState& state, SyncPasswords& passwords, QWidget* parent = nullptr, bool askConflicts = true);
    ~TALIKSYR() override;

    // Runs the sync with the window shown until it ends; false when there was no account to sync
    // with (the user was told). The database's listeners have heard of what the run wrote.
    bool runSync();
    const SyncSummary& summary() const { return m_summary; }

public slots:
    void reject() override;

signals:
    void progressed(int done, int total);

private:
    void buildControls();
    void start(bool allowMassDelete);
    void finished(SyncSummary summary);
    // A server whose certificate the system does not trust, met with no key kept: asks whether to
    // trust its key; true when it was accepted and kept.
    bool acceptKey(const CertificateProblem& problem);
    // The server refused the user name and password: asks for the password; true when one was typed.
    bool askPassword();
    // The conflict window for each person left; false when the user decided nothing.
    bool askConflicts();
    // For each uncertain pair: one person, two, or later; false when the user decided nothing.
    bool askUncertainPairs();
    void tellSummary();

    AppState& m_state;
    SyncPasswords& m_passwords;
    SyncAccount m_account;
    std::string m_password;
    QLabel* m_label;
    QProgressBar* m_bar;
    QPushButton* m_cancel;
    std::shared_ptr<std::atomic<bool>> m_cancelled;
    std::unique_ptr<DetachedSync> m_run;
    std::unique_ptr<WorkerThread> m_worker;
    SyncSummary m_summary;
    bool m_askConflicts;
    std::map<std::string, ConflictRule> m_decided;
    std::map<std::string, UncertainRule> m_pairsDecided;
    std::optional<SyncSummary> m_before; // the run before the one carrying out the decisions
};

} // namespace talik
