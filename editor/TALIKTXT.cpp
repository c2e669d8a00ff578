#include "editor/TALIKTXT.h"

#include <QApplication>
#include <QClipboard>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>

#include "editor/remarkstext.h"
#include "listwin/appstate.h"
#include "listwin/clipboardcopy.h"
#include "ui/qtinteraction.h"
#include "ui/units.h"

namespace talik {
namespace {

constexpr int MinWidthTwips = 5000;
constexpr int MinHeightTwips = 2000;

} // namespace

TALIKTXT::TALIKTXT(AppState& state, bool readOnly, QWidget* parent)
    : QDialog(parent), m_state(state), m_readOnly(readOnly), m_text(new QPlainTextEdit(this)),
      m_close(new QPushButton("閉じる", this)), m_copy(new QPushButton("クリップボードへコピー", this))
{
    setObjectName("TALIKTXT");
    setWindowTitle("備考追加データ");
    m_text->setObjectName("Text1");
    m_close->setObjectName("Command1");
    m_copy->setObjectName("Command2");
    m_opened = Qs(RemarksForDisplay(GetText(state.Extra.RemarksExtra)));
    m_text->setPlainText(m_opened);
    m_text->setReadOnly(readOnly);
    setMinimumSize(px(MinWidthTwips), px(MinHeightTwips));
    resize(px(7000), px(4000));
    connect(m_close, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_copy, &QPushButton::clicked, this, &TALIKTXT::copyToClipboard);
}

int TALIKTXT::px(int twips) const
{
    return TwipsToPixels(twips, logicalDpiX());
}

void TALIKTXT::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // Centred vertically on the screen, where it was put across.
    if (QScreen* screen = this->screen()) {
        move(x(), screen->availableGeometry().top() + (screen->availableGeometry().height() - height()) / 2);
    }
}

void TALIKTXT::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    int textWidth = std::max(width() - px(360), 0);
    int textHeight = std::max(height() - px(1000), 0);
    m_text->setGeometry(px(120), px(120), textWidth, textHeight);
    int buttonTop = px(120) + textHeight + px(100);
    m_copy->setGeometry(px(120), buttonTop, px(2400), px(420));
    m_close->setGeometry(width() - px(240) - px(1200), buttonTop, px(1200), px(420));
}

void TALIKTXT::copyToClipboard()
{
    QClipboard* clipboard = QApplication::clipboard();
    clipboard->clear();
    std::string text = RemarksForStorage(Us(m_text->toPlainText()));
    if (!text.empty()) {
        clipboard->setText(Qs(ForClipboard(text)));
    }
}

void TALIKTXT::done(int result)
{
    if (!m_readOnly &&
        StoreRemarks(m_state.Extra, m_state.ui, Us(m_opened), Us(m_text->toPlainText())) == RemarksOutcome::KeepOpen) {
        return;
    }
    QDialog::done(result);
}

} // namespace talik
