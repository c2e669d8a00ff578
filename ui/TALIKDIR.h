#pragma once
// The folder chooser: a list of places (home, the root, mounted media), the folder tree of the
// chosen place, and the chosen folder's path.
#include <optional>
#include <string>
#include <vector>

#include <QDialog>

#include "ui/folderplaces.h"

class QComboBox;
class QFileSystemModel;
class QLabel;
class QPushButton;
class QTreeView;

namespace talik {

class TALIKDIR : public QDialog
{
    Q_OBJECT
public:
    // `start`: the folder shown first (empty or missing: the home folder).
    TALIKDIR(const std::string& title,
             const std::string& start,
             QWidget* parent = nullptr,
             std::vector<FolderPlace> places = {});

    // The chosen folder after "ＯＫ"; nullopt after "キャンセル".
    std::optional<std::string> chosen() const { return m_chosen; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void showPlace(int index);
    void showFolder(const QString& path);

    std::vector<FolderPlace> m_places;
    QComboBox* m_drive;
    QTreeView* m_dir;
    QFileSystemModel* m_model;
    QLabel* m_label;
    QPushButton* m_ok;
    QPushButton* m_cancel;
    std::optional<std::string> m_chosen;
};

} // namespace talik
