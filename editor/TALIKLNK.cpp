#include "editor/TALIKLNK.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include "editor/relatedfile.h"
#include "listwin/appstate.h"
#include "ui/qtinteraction.h"

namespace talik {
namespace {

constexpr const char* RelatedFileFilter = "テキスト (*.TXT *.txt);;イメージ (*.BMP *.JPG *.bmp *.jpg);;"
                                          "アプリケーション (*.DOC *.XLS *.doc *.xls);;すべて (*)";

} // namespace

TALIKLNK::TALIKLNK(AppState& state, bool readOnly, QWidget* parent)
    : QDialog(parent), m_state(state), m_readOnly(readOnly), m_path(new QLineEdit(this)),
      m_browse(new QPushButton("参照", this)), m_close(new QPushButton("閉じる", this)),
      m_cancel(new QPushButton("取消し", this))
{
    setObjectName("TALIKLNK");
    setWindowTitle("関連情報ファイルの設定");
    m_path->setObjectName("Text1");
    m_browse->setObjectName("Command1_0");
    m_close->setObjectName("Command1_1");
    m_cancel->setObjectName("Command1_2");
    m_path->setText(Qs(GetText(state.Extra.RelatedInfo)));
    m_path->setReadOnly(readOnly);
    m_path->setMinimumWidth(420);
    m_browse->setEnabled(!readOnly);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_path);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_browse);
    buttons->addStretch();
    buttons->addWidget(m_close);
    buttons->addWidget(m_cancel);
    layout->addLayout(buttons);

    connect(m_browse, &QPushButton::clicked, this, &TALIKLNK::browse);
    connect(m_close, &QPushButton::clicked, this, &TALIKLNK::storeAndClose);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TALIKLNK::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (QScreen* screen = this->screen()) {
        move(x(), screen->availableGeometry().top() + (screen->availableGeometry().height() - height()) / 2);
    }
}

void TALIKLNK::browse()
{
    if (std::optional<std::string> chosen = m_state.ui.chooseOpenFile("関連情報ファイルの選択", RelatedFileFilter)) {
        m_path->setText(Qs(*chosen));
    }
}

void TALIKLNK::storeAndClose()
{
    if (m_readOnly) {
        reject();
        return;
    }
    std::string path = Us(m_path->text().trimmed());
    std::string problem = RelatedPathProblem(path);
    if (!problem.empty()) {
        m_state.ui.message(problem, MessageIcon::Exclamation);
        return; // the old value stays until a path that fits is given, or the dialog is cancelled
    }
    SetText(m_state.Extra.RelatedInfo, path);
    accept();
}

} // namespace talik
