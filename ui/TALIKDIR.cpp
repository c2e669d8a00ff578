#include "ui/TALIKDIR.h"

#include <QComboBox>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeView>
#include <QVBoxLayout>

#include "platform/paths.h"
#include "ui/formhelpers.h"
#include "ui/qtinteraction.h"

namespace talik {
namespace {

std::vector<FolderPlace> DefaultPlaces()
{
    const char* user = std::getenv("USER");
    return FolderPlaces(HomeFolder().value_or(""), user != nullptr ? user : "");
}

} // namespace

TALIKDIR::TALIKDIR(const std::string& title, const std::string& start, QWidget* parent, std::vector<FolderPlace> places)
    : QDialog(parent), m_places(places.empty() ? DefaultPlaces() : std::move(places)), m_drive(new QComboBox(this)),
      m_dir(new QTreeView(this)), m_model(new QFileSystemModel(this)), m_label(new QLabel(this)),
      m_ok(new QPushButton("ＯＫ", this)), m_cancel(new QPushButton("キャンセル", this))
{
    setObjectName("TALIKDIR");
    setWindowTitle(Qs(title.empty() ? std::string("フォルダー選択") : title));
    m_drive->setObjectName("Drive1");
    m_dir->setObjectName("Dir1");
    m_label->setObjectName("Label1");
    m_ok->setObjectName("Command1");
    m_cancel->setObjectName("Command2");
    auto* placeCaption = new QLabel("場所", this);
    for (const FolderPlace& place : m_places) {
        m_drive->addItem(Qs(place.caption));
    }
    m_model->setFilter(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Drives);
    m_dir->setModel(m_model);
    for (int column = 1; column < m_model->columnCount(); ++column) {
        m_dir->hideColumn(column);
    }
    m_dir->header()->hide();
    m_label->setFrameShape(QFrame::Panel);
    m_label->setFrameShadow(QFrame::Sunken);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(placeCaption);
    layout->addWidget(m_drive);
    layout->addWidget(m_dir, 1);
    layout->addWidget(m_label);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    layout->addLayout(buttons);
    resize(420, 400);

    std::string startFolder = FolderExists(start) ? WithoutTrailingSlash(start) : std::string();
    std::size_t place = startFolder.empty() ? 0 : PlaceOf(m_places, startFolder);
    m_drive->setCurrentIndex(static_cast<int>(place));
    showPlace(static_cast<int>(place));
    if (!startFolder.empty()) {
        showFolder(Qs(startFolder));
    }

    connect(m_drive, &QComboBox::currentIndexChanged, this, &TALIKDIR::showPlace);
    connect(m_dir->selectionModel(), &QItemSelectionModel::currentChanged, this, [this](const QModelIndex& current) {
        if (current.isValid()) {
            m_label->setText(m_model->filePath(current));
        }
    });
    connect(m_ok, &QPushButton::clicked, this, [this] {
        m_chosen = Us(m_label->text());
        accept();
    });
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    m_ok->setDefault(true);
}

void TALIKDIR::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    CentreForm(this);
    m_dir->setFocus();
}

void TALIKDIR::showPlace(int index)
{
    if (index < 0 || index >= static_cast<int>(m_places.size())) {
        return;
    }
    QString root = Qs(m_places[static_cast<std::size_t>(index)].path);
    m_dir->setRootIndex(m_model->setRootPath(root));
    // A folder marked in the place before would contradict the path shown.
    m_dir->setCurrentIndex(QModelIndex());
    m_label->setText(root);
}

void TALIKDIR::showFolder(const QString& path)
{
    QModelIndex index = m_model->index(path);
    if (index.isValid()) {
        m_dir->setCurrentIndex(index);
        m_dir->scrollTo(index);
    }
    m_label->setText(path);
}

} // namespace talik
