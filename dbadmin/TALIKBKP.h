#pragma once
// Backup and restore: which databases, which folder, and the run.
#include <array>

#include <QDialog>

#include "dbadmin/backup.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace talik {

struct AppState;

class TALIKBKP : public QDialog
{
    Q_OBJECT
public:
    // `backupMode` true: backup; false: restore.
    TALIKBKP(AppState& state, bool backupMode, QWidget* parent = nullptr);

    // How the last run went (nothing started when the user cancelled or the folder was refused).
    const BackupOutcome& outcome() const { return m_outcome; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void browse();
    void offerPairsIn(const std::string& folder);
    void tickAll(bool ticked);
    void start();

    AppState& m_state;
    bool m_backupMode;
    QGroupBox* m_frame;
    std::array<QCheckBox*, BackupDbTotal> m_databases{};
    QCheckBox* m_settingsFile;
    QLabel* m_folderLabel;
    QLineEdit* m_folder;
    QPushButton* m_browse;
    QPushButton* m_selectAll;
    QPushButton* m_clearAll;
    QPushButton* m_start;
    QPushButton* m_cancel;
    BackupOutcome m_outcome;
};

} // namespace talik
