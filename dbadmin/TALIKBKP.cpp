#include "dbadmin/TALIKBKP.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "dbadmin/backupchoice.h"
#include "dbadmin/dbnames.h"
#include "listwin/appstate.h"
#include "platform/paths.h"
#include "ui/formhelpers.h"
#include "ui/qtinteraction.h"

namespace talik {
namespace {

QPushButton* Button(QWidget* parent, const char* name, const char* caption)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    return button;
}

} // namespace

TALIKBKP::TALIKBKP(AppState& state, bool backupMode, QWidget* parent)
    : QDialog(parent), m_state(state), m_backupMode(backupMode),
      m_frame(new QGroupBox(backupMode ? "バックアップするデータベース" : "復元するデータベース", this)),
      m_settingsFile(new QCheckBox("システム環境設定ファイル", m_frame)),
      m_folderLabel(new QLabel(backupMode ? "バックアップ先" : "復元もと", this)), m_folder(new QLineEdit(this)),
      m_browse(Button(this, "Command1", "参照")), m_selectAll(Button(this, "Command2", "全選択")),
      m_clearAll(Button(this, "Command3", "全解除")), m_start(Button(this, "Command4", "開始")),
      m_cancel(Button(this, "Command5", "キャンセル"))
{
    setObjectName("TALIKBKP");
    setWindowTitle(backupMode ? "バックアップ" : "復元");
    m_frame->setObjectName("Frame1");
    m_folderLabel->setObjectName("Label1");
    m_folder->setObjectName("Text1");
    // A backup can take the settings file along where there is one. A restore cannot: the running
    // program writes its own settings over that file when it ends.
    m_settingsFile->setObjectName("Check2");

    auto* grid = new QGridLayout(m_frame);
    for (int n = 1; n <= BackupDbTotal; ++n) {
        // "&" in a name is shown as itself, not taken for a shortcut marker.
        QString caption =
            backupMode ? Qs(MenuText(state.settings.AddrDBName[n - 1])) : QString("データベース%1").arg(n);
        auto* box = new QCheckBox(caption, m_frame);
        box->setObjectName(QString("Check1_%1").arg(n - 1));
        box->setEnabled(backupMode && PairExists(state.DataPath, n));
        grid->addWidget(box, (n - 1) % 5, (n - 1) / 5);
        m_databases[n - 1] = box;
    }
    grid->addWidget(m_settingsFile, 5, 0, 1, 2);

    std::string folder = DefaultBackupFolder(state.settings.BackupPath, HomeFolder().value_or("/"));
    m_folder->setText(Qs(folder));

    auto* folderRow = new QHBoxLayout;
    folderRow->addWidget(m_folderLabel);
    folderRow->addWidget(m_folder, 1);
    folderRow->addWidget(m_browse);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_selectAll);
    buttons->addWidget(m_clearAll);
    buttons->addStretch();
    buttons->addWidget(m_start);
    buttons->addWidget(m_cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_frame);
    layout->addLayout(folderRow);
    layout->addLayout(buttons);

    // Enter in the folder box only ends the typing: it neither browses nor starts a run.
    for (QPushButton* button : {m_browse, m_selectAll, m_clearAll, m_start, m_cancel}) {
        button->setAutoDefault(false);
    }
    connect(m_browse, &QPushButton::clicked, this, &TALIKBKP::browse);
    connect(m_selectAll, &QPushButton::clicked, this, [this] { tickAll(true); });
    connect(m_clearAll, &QPushButton::clicked, this, [this] { tickAll(false); });
    connect(m_start, &QPushButton::clicked, this, &TALIKBKP::start);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    if (!backupMode) {
        // A folder typed in offers its pairs as one chosen with "参照" does.
        connect(m_folder, &QLineEdit::editingFinished, this, [this] { offerPairsIn(Us(m_folder->text())); });
    }
    // The remembered folder's pairs are offered at once, not only after the focus left the box.
    offerPairsIn(folder);
}

void TALIKBKP::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    CentreForm(this);
}

void TALIKBKP::browse()
{
    std::optional<std::string> chosen = m_state.ui.chooseFolder("フォルダー選択", Us(m_folder->text()));
    if (!chosen) {
        return;
    }
    std::string folder = WithoutTrailingSlash(*chosen);
    folder += folder == "/" ? "" : "/";
    m_folder->setText(Qs(folder));
    m_state.settings.BackupPath = folder;
    offerPairsIn(folder);
}

void TALIKBKP::offerPairsIn(const std::string& folder)
{
    m_settingsFile->setEnabled(m_backupMode && SettingsFileCopyable(m_state, WithoutTrailingSlash(folder), false));
    if (!m_settingsFile->isEnabled()) {
        m_settingsFile->setChecked(false);
    }
    if (m_backupMode) {
        return; // the boxes follow the data folder's pairs
    }
    bool usable = !folder.empty() && FolderExists(folder);
    for (int n = 1; n <= BackupDbTotal; ++n) {
        m_databases[n - 1]->setChecked(false);
        m_databases[n - 1]->setEnabled(usable && PairExists(folder, n));
    }
}

void TALIKBKP::tickAll(bool ticked)
{
    for (QCheckBox* box : m_databases) {
        if (box->isEnabled()) {
            box->setChecked(ticked);
        }
    }
}

void TALIKBKP::start()
{
    BackupRequest request;
    request.restore = !m_backupMode;
    request.backupFolder = Us(m_folder->text());
    bool anything = m_settingsFile->isEnabled() && m_settingsFile->isChecked();
    for (int n = 1; n <= BackupDbTotal; ++n) {
        request.databases[n - 1] = m_databases[n - 1]->isEnabled() && m_databases[n - 1]->isChecked();
        anything = anything || request.databases[n - 1];
    }
    if (!anything) {
        m_state.ui.message(std::string(NothingChosenMessage(request.restore)), MessageIcon::Exclamation);
        return;
    }
    request.settingsFile = m_settingsFile->isEnabled() && m_settingsFile->isChecked();
    if (m_backupMode && !OfferToCreateBackupFolder(m_state, WithoutTrailingSlash(request.backupFolder))) {
        return;
    }
    m_outcome = RunBackup(m_state, request);
    if (m_outcome.started) {
        accept();
    }
}

} // namespace talik
