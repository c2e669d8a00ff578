#include "sync/TALIKSYN.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "listwin/appstate.h"
#include "sync/secretstore.h"
#include "sync/syncaccount.h"
#include "sync/workerthread.h"
#include "ui/formhelpers.h"
#include "ui/qtinteraction.h"

namespace talik {
namespace {

// The rules in the order the list offers them. There is no conflict window yet: "確認する" leaves
// both sides of a conflict alone and lists the person in the summary.
constexpr ConflictRule ConflictChoices[] = {ConflictRule::Skip, ConflictRule::Local, ConflictRule::Server};
constexpr const char* ConflictCaptions[] = {"確認する", "この住所録を優先", "サーバーを優先"};

struct Discovery
{
    std::vector<FoundAddressBook> books;
    std::string error;
    std::optional<CertificateProblem> certificate;
};

std::string Trimmed(const QLineEdit* edit)
{
    return edit->text().trimmed().toStdString();
}

} // namespace

TALIKSYN::TALIKSYN(AppState& state, SyncPasswords& passwords, QWidget* parent)
    : QDialog(parent), m_state(state), m_passwords(passwords)
{
    setObjectName("TALIKSYN");
    setWindowTitle("同期先の設定");
    buildControls();
    fillFromAccount();
}

TALIKSYN::~TALIKSYN() = default;

bool TALIKSYN::testing() const
{
    return !m_test->isEnabled();
}

void TALIKSYN::buildControls()
{
    m_url = new QLineEdit(this);
    m_url->setObjectName("TextUrl");
    m_url->setPlaceholderText("https://example.jp/.well-known/carddav");
    m_user = new QLineEdit(this);
    m_user->setObjectName("TextUser");
    m_password = new QLineEdit(this);
    m_password->setObjectName("TextPassword");
    m_password->setEchoMode(QLineEdit::Password);
    m_conflict = new QComboBox(this);
    m_conflict->setObjectName("ComboConflict");
    for (const char* caption : ConflictCaptions) {
        m_conflict->addItem(QString::fromUtf8(caption));
    }
    m_conflict->setItemData(0, "競合した人はどちらの側も変えずに、同期の結果に一覧します。", Qt::ToolTipRole);
    m_test = new QPushButton("接続テスト", this);
    m_test->setObjectName("CommandTest");
    m_status = new QLabel(this);
    m_status->setObjectName("LabelStatus");
    m_status->setWordWrap(true);
    m_books = new QListWidget(this);
    m_books->setObjectName("ListBooks");

    auto* form = new QFormLayout;
    form->addRow("サーバーの URL", m_url);
    form->addRow("ユーザー名", m_user);
    form->addRow("パスワード", m_password);
    form->addRow("競合したとき", m_conflict);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName("CommandOK");
    buttons->button(QDialogButtonBox::Cancel)->setObjectName("CommandCancel");
    buttons->button(QDialogButtonBox::Cancel)->setText("キャンセル");
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_test, 0, Qt::AlignLeft);
    layout->addWidget(m_status);
    layout->addWidget(new QLabel("アドレス帳", this));
    layout->addWidget(m_books);
    layout->addWidget(buttons);
    setMinimumWidth(480);
    connect(m_test, &QPushButton::clicked, this, &TALIKSYN::startTest);
    connect(buttons, &QDialogButtonBox::accepted, this, &TALIKSYN::save);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

void TALIKSYN::fillFromAccount()
{
    std::optional<SyncAccount> account = ReadSyncAccount(m_state);
    if (!account) {
        return;
    }
    m_storedUrl = account->url;
    m_storedBook = account->book;
    m_pin = account->pinnedKey;
    m_pinUrl = account->url;
    m_url->setText(Qs(account->url));
    m_user->setText(Qs(account->user));
    for (std::size_t i = 0; i < std::size(ConflictChoices); ++i) {
        if (ConflictChoices[i] == account->conflict) {
            m_conflict->setCurrentIndex(static_cast<int>(i));
        }
    }
    if (!account->book.empty()) {
        m_books->addItem(Qs(account->book));
        m_books->item(0)->setData(Qt::UserRole, Qs(account->book));
        m_books->setCurrentRow(0);
    }
}

void TALIKSYN::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    CentreForm(this);
}

void TALIKSYN::startTest()
{
    std::string url = Trimmed(m_url);
    if (url.empty()) {
        m_state.ui.message("同期先の URL を入力してください。", MessageIcon::Exclamation);
        return;
    }
    m_test->setEnabled(false);
    m_status->setText("接続しています…");
    HttpAuth auth{Trimmed(m_user), m_password->text().toStdString(), pinFor(url)};
    if (auth.password.empty()) {
        auth.password = m_passwords.lookup({url, auth.user}).password.value_or("");
    }
    m_worker.reset();
    m_worker = std::make_unique<WorkerThread>(
        this,
        [auth, url] {
            CardDavClient client(auth);
            Discovery found;
            found.books = client.discover(url, found.error);
            found.certificate = client.certificateProblem();
            return found;
        },
        [this](Discovery found) {
            if (found.books.empty() && found.certificate && acceptKey(*found.certificate)) {
                m_worker.reset();
                startTest();
                return;
            }
            showFound(found.books, found.error);
        });
}

std::string TALIKSYN::pinFor(const std::string& url) const
{
    return PinForUrl({m_pinUrl, "", "", ConflictRule::Skip, m_pin}, url);
}

bool TALIKSYN::acceptKey(const CertificateProblem& problem)
{
    if (problem.presented.empty()) {
        return false;
    }
    std::string question = problem.kind == CertificateProblem::Kind::Changed
                               ? "証明書を新しくしたのがサーバーの管理者だと確かめられたら、新しい鍵を受け入れて、"
                                 "以後はその鍵だけを信頼しますか？"
                               : "この指紋がサーバーのものだと確かめられたら、受け入れて、以後はこの鍵だけを"
                                 "信頼しますか？";
    if (!m_state.ui.askYesNo(CertificateMessage(problem) + "\n\n" + question, MessageIcon::Question,
                             "サーバーの証明書")) {
        return false;
    }
    m_pin = problem.presented;
    m_pinUrl = Trimmed(m_url);
    return true;
}

void TALIKSYN::showFound(const std::vector<FoundAddressBook>& books, const std::string& error)
{
    m_worker.reset();
    m_test->setEnabled(true);
    m_books->clear();
    if (books.empty()) {
        m_status->setText(Qs("接続できませんでした: " + error));
    } else {
        m_status->setText(Qs("アドレス帳が " + std::to_string(books.size()) + " 件見つかりました。"));
    }
    for (const FoundAddressBook& book : books) {
        auto* item = new QListWidgetItem(Qs(book.name.empty() ? book.url : book.name + "（" + book.url + "）"));
        item->setData(Qt::UserRole, Qs(book.url));
        m_books->addItem(item);
        if (book.url == m_storedBook) {
            m_books->setCurrentItem(item);
        }
    }
    if (m_books->currentRow() < 0 && m_books->count() > 0) {
        m_books->setCurrentRow(0);
    }
    emit testFinished();
}

std::string TALIKSYN::chosenBook() const
{
    QListWidgetItem* item = m_books->currentItem();
    if (item != nullptr) {
        return item->data(Qt::UserRole).toString().toStdString();
    }
    // A URL left as it was keeps the address book found from it before; a new one is looked at
    // again when the sync runs.
    return Trimmed(m_url) == m_storedUrl ? m_storedBook : std::string();
}

// The password typed, into the secret store; when that cannot be reached, the user may use it for
// this session only. False when the account is not to be kept after all.
bool TALIKSYN::storePassword(const std::string& url, const std::string& user)
{
    std::string password = m_password->text().toStdString();
    if (password.empty()) {
        return true;
    }
    SecretOutcome stored = m_passwords.store().store({url, user}, password);
    if (stored.reached) {
        return true;
    }
    if (!m_state.ui.askYesNo(stored.error + "\n\nこのパスワードを、プログラムを終了するまでの間だけ使いますか？",
                             MessageIcon::Question)) {
        return false;
    }
    m_passwords.keepForSession({url, user}, password);
    return true;
}

void TALIKSYN::save()
{
    if (testing()) {
        return;
    }
    SyncAccount account;
    account.url = Trimmed(m_url);
    account.user = Trimmed(m_user);
    account.book = chosenBook();
    account.conflict = ConflictChoices[std::max(0, m_conflict->currentIndex())];
    account.pinnedKey = pinFor(account.url);
    if (account.url.empty()) {
        m_state.ui.message("同期先の URL を入力してください。", MessageIcon::Exclamation);
        return;
    }
    if (!storePassword(account.url, account.user)) {
        return;
    }
    if (!WriteSyncAccount(m_state, account)) {
        m_state.ui.message("同期先を設定ファイルに保存できませんでした。", MessageIcon::Exclamation);
        return;
    }
    accept();
}

} // namespace talik
