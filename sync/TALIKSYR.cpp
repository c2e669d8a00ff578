#include "sync/TALIKSYR.h"

#include <QCloseEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "listwin/appstate.h"
#include "store/recordwriter.h"
#include "sync/TALIKSYC.h"
#include "sync/carddav.h"
#include "sync/conflictmerge.h"
#include "sync/detachedsync.h"
#include "sync/secretstore.h"
#include "sync/workerthread.h"
#include "ui/formhelpers.h"
#include "ui/qtinteraction.h"

namespace talik {
namespace {

// The notes of a run (conflicts left alone, cards not taken), a few of them, under the summary.
std::string NotesText(const SyncSummary& summary)
{
    constexpr std::size_t Shown = 10;
    std::string text;
    for (std::size_t i = 0; i < summary.notes.size() && i < Shown; ++i) {
        text += "\n" + summary.notes[i];
    }
    if (summary.notes.size() > Shown) {
        text += "\nほか " + std::to_string(summary.notes.size() - Shown) + " 件";
    }
    return text;
}

// The pairs a first sync could not tell one person or two, a few of them: neither side was copied.
std::string UncertainText(const SyncSummary& summary)
{
    constexpr std::size_t Shown = 10;
    if (summary.uncertainPairs.empty()) {
        return {};
    }
    std::string text = "\n同一人物か確かでないため、どちらの側にも写していない組:";
    for (std::size_t i = 0; i < summary.uncertainPairs.size() && i < Shown; ++i) {
        const UncertainPair& pair = summary.uncertainPairs[i];
        text += "\n" + pair.name + " ⇔ サーバーの " + pair.cardName + "（" + pair.reasons + "）";
    }
    if (summary.uncertainPairs.size() > Shown) {
        text += "\nほか " + std::to_string(summary.uncertainPairs.size() - Shown) + " 組";
    }
    return text;
}

} // namespace

TALIKSYR::TALIKSYR(AppState& state, SyncPasswords& passwords, QWidget* parent, bool askConflicts)
    : QDialog(parent), m_state(state), m_passwords(passwords), m_cancelled(std::make_shared<std::atomic<bool>>(false)),
      m_askConflicts(askConflicts)
{
    setObjectName("TALIKSYR");
    setWindowTitle("同期");
    buildControls();
}

TALIKSYR::~TALIKSYR() = default;

void TALIKSYR::buildControls()
{
    m_label = new QLabel("同期しています…", this);
    m_label->setObjectName("Label1");
    m_bar = new QProgressBar(this);
    m_bar->setObjectName("ProgressBar1");
    m_bar->setRange(0, 0);
    m_cancel = new QPushButton("キャンセル", this);
    m_cancel->setObjectName("Command1");
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_label);
    layout->addWidget(m_bar);
    layout->addWidget(m_cancel, 0, Qt::AlignRight);
    setMinimumWidth(360);
    connect(m_cancel, &QPushButton::clicked, this, &TALIKSYR::reject);
    connect(this, &TALIKSYR::progressed, this, [this](int done, int total) {
        m_bar->setRange(0, total);
        m_bar->setValue(done);
    });
}

bool TALIKSYR::runSync()
{
    std::optional<SyncAccount> account = ReadSyncAccount(m_state);
    if (!account || account->url.empty()) {
        m_state.ui.message("同期先が設定されていません。「同期先の設定…」で設定してください。",
                           MessageIcon::Exclamation);
        return false;
    }
    m_account = *account;
    SecretLookup password = m_passwords.lookup({m_account.url, m_account.user});
    if (!password.reached) {
        m_state.ui.message(password.error + "\nパスワードなしで接続します。", MessageIcon::Exclamation);
    }
    m_password = password.password.value_or("");
    start(false);
    exec();
    return true;
}

void TALIKSYR::start(bool allowMassDelete)
{
    m_cancelled->store(false);
    m_cancel->setEnabled(true);
    m_run = std::make_unique<DetachedSync>(m_state);
    SyncOptions options;
    options.conflict = m_account.conflict;
    options.allowMassDelete = allowMassDelete;
    options.decided = m_decided;
    options.uncertainDecided = m_pairsDecided;
    options.cancelled = [cancelled = m_cancelled] { return cancelled->load(); };
    options.progress = [this](std::size_t done, std::size_t total) {
        // Emitted from the worker; the connection is queued to the window's thread.
        emit progressed(static_cast<int>(done), static_cast<int>(total));
    };
    DetachedSync* run = m_run.get();
    HttpAuth auth{m_account.user, m_password, m_account.pinnedKey};
    m_worker = std::make_unique<WorkerThread>(
        this,
        [run, auth, account = m_account, options] {
            CardDavClient client(auth);
            std::string book = account.book;
            if (book.empty()) {
                std::string error;
                std::vector<FoundAddressBook> books = client.discover(account.url, error);
                if (books.empty()) {
                    SyncSummary failed;
                    failed.error = error;
                    failed.certificate = client.certificateProblem();
                    failed.credentialsRefused = client.credentialsRefused();
                    return failed;
                }
                book = books.front().url;
            }
            return run->run(client, book, options);
        },
        [this](SyncSummary summary) { finished(std::move(summary)); });
}

// Escape and the window's close button cancel as the button does: the window stays until the worker
// has stopped, so what it wrote always reaches the open database.
void TALIKSYR::reject()
{
    if (!m_worker) {
        QDialog::reject();
        return;
    }
    m_cancelled->store(true);
    m_cancel->setEnabled(false);
    m_label->setText("キャンセルしています…");
}

void TALIKSYR::finished(SyncSummary summary)
{
    m_worker.reset();
    m_run->handBack(m_state);
    m_run.reset();
    m_summary = std::move(summary);
    if (m_summary.certificate && acceptKey(*m_summary.certificate)) {
        start(false);
        return;
    }
    if (m_summary.credentialsRefused && askPassword()) {
        start(false);
        return;
    }
    if (m_summary.massDeleteStop &&
        m_state.ui.askYesNo("この同期では、この住所録かサーバーのどちらかで半数を超える人が削除されます。\n"
                            "続けますか？",
                            MessageIcon::Question, "同期")) {
        start(true);
        return;
    }
    // The window stays up (hiding it would end its exec) while the conflicts are asked about.
    if (m_askConflicts && !m_before && !m_summary.cancelled && !m_summary.massDeleteStop &&
        (!m_summary.conflictsLeft.empty() || !m_summary.uncertainPairs.empty())) {
        m_label->setText("競合と確かでない組を確認しています…");
        bool conflicts = askConflicts();
        bool pairs = askUncertainPairs();
        if (conflicts || pairs) {
            m_before = m_summary;
            m_label->setText("同期しています…");
            start(false);
            return;
        }
    }
    hide(); // the summary stands alone, not over a finished progress bar
    if (m_before) {
        // What the first run did counts too; the conflicts are those still left.
        m_summary.localAdded += m_before->localAdded;
        m_summary.localUpdated += m_before->localUpdated;
        m_summary.localDeleted += m_before->localDeleted;
        m_summary.serverAdded += m_before->serverAdded;
        m_summary.serverUpdated += m_before->serverUpdated;
        m_summary.serverDeleted += m_before->serverDeleted;
    }
    tellSummary();
    accept();
}

bool TALIKSYR::acceptKey(const CertificateProblem& problem)
{
    // A key once accepted is changed only in the account dialog, where the user sets whom to trust.
    if (problem.kind != CertificateProblem::Kind::Untrusted || problem.presented.empty() ||
        !m_account.pinnedKey.empty()) {
        return false;
    }
    if (!m_state.ui.askYesNo(CertificateMessage(problem) +
                                 "\n\nこの指紋がサーバーのものだと確かめられたら、受け入れて、以後はこの鍵だけを"
                                 "信頼しますか？",
                             MessageIcon::Question, "サーバーの証明書")) {
        return false;
    }
    m_account.pinnedKey = problem.presented;
    if (!WriteSyncAccount(m_state, m_account)) {
        m_state.ui.message("同期先を設定ファイルに保存できませんでした。", MessageIcon::Exclamation);
        return false;
    }
    return true;
}

// No password was kept (a locked keyring, say), or the server refused the one kept: the user is
// asked, as often as the server refuses, and what was typed serves the rest of this session.
bool TALIKSYR::askPassword()
{
    std::optional<std::string> typed = m_state.ui.promptPassword("同期先「" + m_account.user + "」");
    if (!typed) {
        return false;
    }
    m_password = *typed;
    m_passwords.keepForSession({m_account.url, m_account.user}, m_password);
    return true;
}

bool TALIKSYR::askConflicts()
{
    for (const SyncConflict& conflict : m_summary.conflictsLeft) {
        TALIKSYC window(conflict, m_state.settings.Captions, this);
        window.exec();
        switch (window.choice()) {
        case TALIKSYC::Choice::Later:
            break;
        case TALIKSYC::Choice::Ours:
            m_decided[conflict.identity] = ConflictRule::Local;
            break;
        case TALIKSYC::Choice::Theirs:
            m_decided[conflict.identity] = ConflictRule::Server;
            break;
        case TALIKSYC::Choice::Fields: {
            // The merged version is written here first; the run then sends it to the server.
            AddressRecord rec{};
            ExtraRecord extra{};
            MergeFields(conflict, window.takeTheirs(), rec, extra);
            if (UpdateRecord(m_state, conflict.recNo, rec, extra)) {
                m_decided[conflict.identity] = ConflictRule::Local;
            }
            break;
        }
        }
    }
    return !m_decided.empty();
}

bool TALIKSYR::askUncertainPairs()
{
    const std::vector<std::string> choices = {"同じ人として結び付ける（どちらにも写さない）",
                                              "別の人として、それぞれをもう一方にも登録する", "あとで決める"};
    for (const UncertainPair& pair : m_summary.uncertainPairs) {
        std::optional<std::size_t> picked =
            m_state.ui.chooseItem("同一人物か確かでない組: この住所録の " + pair.name + " ⇔ サーバーの " +
                                      pair.cardName + "（" + pair.reasons + "）",
                                  choices);
        if (picked == 0) {
            m_pairsDecided[pair.href] = UncertainRule::Same;
        } else if (picked == 1) {
            m_pairsDecided[pair.href] = UncertainRule::Separate;
        }
    }
    return !m_pairsDecided.empty();
}

void TALIKSYR::tellSummary()
{
    std::string text = SummaryLine(m_summary);
    MessageIcon icon = MessageIcon::Information;
    if (m_summary.cancelled) {
        text = "同期をキャンセルしました。\n" + text;
        icon = MessageIcon::Exclamation;
    } else if (m_summary.massDeleteStop) {
        text = "同期を中止しました。何も変更していません。";
        icon = MessageIcon::Exclamation;
    } else if (!m_summary.error.empty()) {
        text = m_summary.error + "\n" + text;
        icon = MessageIcon::Exclamation;
    }
    m_state.ui.message(text + UncertainText(m_summary) + NotesText(m_summary), icon, "同期");
}

} // namespace talik
