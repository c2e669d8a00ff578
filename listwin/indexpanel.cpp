#include "listwin/indexpanel.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>

#include "ui/formhelpers.h"
#include "ui/qtinteraction.h"
#include "ui/units.h"

namespace talik {
namespace {

QColor FromBgr(BgrColour colour)
{
    return QColor(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                  static_cast<int>((colour >> 16) & 0xFF));
}

} // namespace

TabLabel::TabLabel(int index, QWidget* parent) : QLabel(parent), m_index(index)
{
    setObjectName("Label2_" + QString::number(index));
    setAlignment(Qt::AlignCenter);
    setAutoFillBackground(true);
}

void TabLabel::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        emit clicked(m_index);
    }
}

IndexPanel::IndexPanel(QWidget* parent)
    : QWidget(parent), m_marker(new QLabel(this)), m_search(new QPushButton("検索", this))
{
    setObjectName("Picture1");
    m_marker->setObjectName("Image1");
    // A one-pixel box drawn in the text colour.
    SetColours(m_marker, QColor(0x80, 0x80, 0x00), QColor(0xFF, 0xFF, 0x80));
    m_marker->setFrameShape(QFrame::Box);
    m_marker->setFrameShadow(QFrame::Plain);
    m_marker->setLineWidth(1);
    m_marker->hide();
    m_search->setObjectName("Command7");
    for (int i = 0; i < TabLabelTotal; ++i) {
        m_tabs[i] = new TabLabel(i, this);
        connect(m_tabs[i], &TabLabel::clicked, this, &IndexPanel::tabClicked);
    }
    m_search->setGeometry(toPixels(SearchButtonRect()));
}

int IndexPanel::px(int twips) const
{
    return TwipsToPixels(twips, logicalDpiX());
}

QRect IndexPanel::toPixels(const TwipRect& rect) const
{
    return {px(rect.left), px(rect.top), px(rect.width), px(rect.height)};
}

void IndexPanel::layoutTabs(const std::array<TabLook, TabLabelTotal>& tabs)
{
    m_looks = tabs;
    m_marker->hide();
    for (int i = 0; i < TabLabelTotal; ++i) {
        TabLabel* label = m_tabs[i];
        const TabLook& look = tabs[i];
        label->setVisible(look.visible);
        label->setText(Qs(look.caption));
        label->setGeometry(toPixels(look.rect));
        QPalette palette = label->palette();
        palette.setColor(QPalette::WindowText, FromBgr(look.foreColour));
        palette.setColor(QPalette::Window, FromBgr(look.backColour));
        label->setPalette(palette);
    }
    update();
}

void IndexPanel::markTab(int index)
{
    if (index < 0 || index >= TabLabelTotal) {
        m_marker->hide();
        return;
    }
    m_marker->setGeometry(toPixels(MarkerRect(m_looks[index])));
    m_marker->show();
    m_marker->lower();
}

void IndexPanel::paintEvent(QPaintEvent* event)
{
    QWidget::paintEvent(event);
    QPainter painter(this);
    painter.setPen(QColor(192, 192, 192));
    painter.drawRect(toPixels(TabAreaBox(m_looks, SearchButtonRect().left)));
    for (const TabLabel* tab : m_tabs) {
        if (tab->isVisible()) {
            Draw3DFrame(painter, tab, true);
        }
    }
}

} // namespace talik
