#include "print/TALIKSTV.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>

#include "listwin/appstate.h"
#include "print/TALIKPRP.h"
#include "print/numberbox.h"
#include "print/numberparse.h"
#include "print/positionadjust.h"
#include "print/postcardlayout.h"
#include "print/printjob.h"
#include "ui/formhelpers.h"
#include "ui/qtinteraction.h"

namespace talik {

// One item on the card picture: its lines (horizontal writing) or columns (vertical writing, the
// first column rightmost, one character under the other), in the item's font at the picture's scale.
class ItemLabel : public QWidget
{
public:
    ItemLabel(QWidget* parent, QStringList parts, bool vertical, const QFont& font, double pitchPixels)
        : QWidget(parent), m_parts(std::move(parts)), m_vertical(vertical), m_font(font), m_pitch(pitchPixels)
    {
        setCursor(Qt::SizeAllCursor);
        setFocusPolicy(Qt::ClickFocus);
        resize(naturalSize());
    }

    void setSelected(bool selected)
    {
        m_selected = selected;
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), QColor(255, 255, 160, 170));
        painter.setPen(m_selected ? QColor(220, 0, 0) : QColor(150, 150, 150));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
        painter.setPen(Qt::black);
        painter.setFont(m_font);
        const QFontMetricsF metrics(m_font);
        for (int i = 0; i < m_parts.size(); ++i) {
            if (!m_vertical) {
                painter.drawText(QPointF(0, i * m_pitch + metrics.ascent()), m_parts[i]);
                continue;
            }
            const double x = width() - (i + 1) * m_pitch;
            const QList<uint> characters = m_parts[i].toUcs4();
            for (int c = 0; c < characters.size(); ++c) {
                const QString ch = QString::fromUcs4(reinterpret_cast<const char32_t*>(&characters[c]), 1);
                painter.drawText(QPointF(x, c * m_pitch + metrics.ascent()), ch);
            }
        }
    }

private:
    QSize naturalSize() const
    {
        const QFontMetricsF metrics(m_font);
        double longest = 0;
        for (const QString& part : m_parts) {
            longest = std::max(longest, m_vertical ? part.toUcs4().size() * m_pitch : metrics.horizontalAdvance(part));
        }
        const double across = m_parts.size() * m_pitch;
        return QSize(std::max(4, qCeil(m_vertical ? across : longest)),
                     std::max(4, qCeil(m_vertical ? longest : across)));
    }

    QStringList m_parts;
    bool m_vertical;
    QFont m_font;
    double m_pitch;
    bool m_selected = false;
};

namespace {

constexpr int MaxPartLength = 24; // a label shows no more characters than this in one line or column
constexpr double PointsToMm = 25.4 / 72;
constexpr std::array<int, LayoutItemTotal> ItemFontIndex{1, 2, 3, 4, 5, 0};

// The code boxes of the card picture, picture millimetres: the card's five or seven printed boxes.
struct CodeBox
{
    double left, top, width, height;
};

std::vector<CodeBox> CodeBoxes(bool sevenDigits)
{
    std::vector<CodeBox> boxes;
    if (sevenDigits) {
        double left = 26;
        for (double step : {0.0, 4.2, 4.2, 4.6, 4.15, 4.15, 4.15}) {
            left += step;
            boxes.push_back({left, 7.0, 3.8, 5.4});
        }
    } else {
        for (double left : {28.9, 34.6, 40.3, 46.9, 52.6}) {
            boxes.push_back({left, 7.2, 4.6, 6.2});
        }
    }
    return boxes;
}

class CardPicture : public QWidget
{
public:
    CardPicture(QWidget* parent, bool sevenDigits, int margin) : QWidget(parent), m_seven(sevenDigits), m_margin(margin)
    {
        setFocusPolicy(Qt::ClickFocus);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), QColor(200, 200, 200));
        const double scale = LayoutPreviewScale * TALIKSTV::PixelsPerMm;
        const QRectF card(m_margin, m_margin, CardWidthMm * scale, CardHeightMm * scale);
        painter.fillRect(card, Qt::white);
        painter.setPen(QColor(80, 80, 80));
        painter.drawRect(card);
        painter.setPen(QColor(220, 60, 60));
        for (const CodeBox& box : CodeBoxes(m_seven)) {
            painter.drawRect(QRectF(m_margin + box.left * TALIKSTV::PixelsPerMm,
                                    m_margin + box.top * TALIKSTV::PixelsPerMm, box.width * TALIKSTV::PixelsPerMm,
                                    box.height * TALIKSTV::PixelsPerMm));
        }
    }

private:
    bool m_seven;
    int m_margin;
};

QString Cut(const QString& text)
{
    const QList<uint> characters = text.toUcs4();
    if (characters.size() <= MaxPartLength) {
        return text;
    }
    return QString::fromUcs4(reinterpret_cast<const char32_t*>(characters.constData()), MaxPartLength);
}

// The text split at its line breaks (and name marks), each part cut to the label's length.
QStringList Parts(const std::string& text)
{
    QStringList parts;
    std::string part;
    auto finish = [&] {
        if (!part.empty()) {
            parts << Cut(Qs(part));
        }
        part.clear();
    };
    for (const std::string& ch : SplitChars(text)) {
        if (IsLineBreak(ch) || ch == SameFamilyMark || ch == NewNameMark) {
            finish();
        } else {
            part += ch;
        }
    }
    finish();
    return parts;
}

// What each label shows: the job's first recipient and its sender, or the item's name.
QStringList ItemText(LayoutItem item, const PrintTable* job)
{
    const PrintEntry blank;
    const PrintEntry& recipient = job != nullptr && job->PrintLineCount >= 3 ? job->line(3) : blank;
    const PrintEntry& sender = job != nullptr ? job->line(UsesSecondSender(recipient.PrintFlags) ? 2 : 1) : blank;
    QStringList parts;
    switch (item) {
    case LayoutItem::Address:
        parts = Parts(recipient.PrintAddress);
        break;
    case LayoutItem::Company:
        parts = Parts(recipient.PrintCompany);
        break;
    case LayoutItem::Department:
        parts = Parts(recipient.PrintDept);
        break;
    case LayoutItem::Name:
        if (!recipient.PrintName.empty()) {
            // The joint names are part of the name item: they move with it.
            parts = Parts(PrepareRecipientName(recipient.PrintName, recipient.PrintHonorific,
                                               HonorificOnlyAfterLastName(recipient.PrintFlags), recipient.JointNames));
        }
        break;
    case LayoutItem::Sender: {
        QStringList address = Parts(sender.PrintAddress);
        QStringList name = Parts(CutAtEndMarker(sender.PrintName));
        parts = (address.isEmpty() ? QStringList{"差出人住所"} : address) +
                (name.isEmpty() ? QStringList{"差出人氏名"} : name);
        break;
    }
    case LayoutItem::SenderCode: {
        std::string code;
        for (const std::string& ch : SplitChars(sender.PrintPost)) {
            code += ch == "-" || ch == " " ? "" : ch;
        }
        parts = code.empty() ? QStringList{} : QStringList{Qs(code)};
        break;
    }
    }
    return parts.isEmpty() ? QStringList{Qs(InfoOf(item).caption)} : parts;
}

} // namespace

TALIKSTV::TALIKSTV(AppState& state, const PrintTable* job, QWidget* parent)
    : QDialog(parent), m_state(state), m_edit(state.settings.Layout)
{
    setObjectName("TALIKSTV");
    setWindowTitle("印刷位置設定");
    buildPicture(job);
    buildPanel();
    placeAll();
}

int TALIKSTV::marginPixels() const
{
    return qRound(DragMarginMm * PixelsPerMm);
}

void TALIKSTV::buildPicture(const PrintTable* job)
{
    const int margin = marginPixels();
    const double scale = LayoutPreviewScale;
    m_picture = new CardPicture(this, m_state.settings.Layout.AddrNum7 != 0, margin);
    m_picture->setObjectName("Picture1");
    m_picture->setGeometry(8, 8, qRound(CardWidthMm * scale * PixelsPerMm) + 2 * margin,
                           qRound(CardHeightMm * scale * PixelsPerMm) + 2 * margin);
    m_picture->installEventFilter(this);
    const PrintLayout& layout = m_state.settings.Layout;
    for (int i = 0; i < LayoutItemTotal; ++i) {
        const LayoutItem item = LayoutItemAt(i);
        const int fontIndex = ItemFontIndex[static_cast<std::size_t>(i)];
        const double points = ItemFontHeight(layout, item) / 0.36;
        QFont font(Qs(layout.AddrFontName[static_cast<std::size_t>(fontIndex)]));
        font.setPixelSize(std::max(1, qRound(points * PointsToMm * scale * PixelsPerMm)));
        // The sender's code is written left to right in both directions.
        const bool vertical = !m_edit.horizontal() && item != LayoutItem::SenderCode;
        const double pitch = ItemFontHeight(layout, item) * scale * PixelsPerMm;
        QStringList parts = ItemText(item, job);
        if (vertical && item != LayoutItem::Sender) {
            // Only the sender's label stands right-aligned on its first column; the others show
            // that column alone, so their left is the stored left.
            parts = parts.mid(0, 1);
        }
        m_labels[static_cast<std::size_t>(i)] = new ItemLabel(m_picture, parts, vertical, font, pitch);
        m_labels[static_cast<std::size_t>(i)]->setObjectName(Qs(InfoOf(item).label));
        m_labels[static_cast<std::size_t>(i)]->installEventFilter(this);
    }
}

void TALIKSTV::buildPanel()
{
    const int left = m_picture->geometry().right() + 16;
    auto button = [&](const char* name, const char* caption, int top, auto slot) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(name);
        b->setGeometry(left, top, 150, 30);
        b->setAutoDefault(false);
        b->installEventFilter(this);
        connect(b, &QPushButton::clicked, this, slot);
        return b;
    };
    button("Command1", "閉じる", 8, &TALIKSTV::closeStoring);
    button("Command2", "取り消し", 44, &TALIKSTV::reject);
    button("Command3", "初期値に戻す", 80, &TALIKSTV::resetDefaults);
    button("Command4", "印刷位置調整", 116, &TALIKSTV::openAdjust);

    m_selectedCaption = new QLabel(this);
    m_selectedCaption->setObjectName("Label1");
    m_selectedCaption->setGeometry(left, 170, 150, 22);
    auto box = [&](const char* name, const char* caption, int top) {
        auto* label = new QLabel(caption, this);
        label->setGeometry(left, top, 24, 24);
        auto* edit = new QLineEdit(this);
        edit->setObjectName(name);
        edit->setGeometry(left + 26, top, 80, 24);
        edit->setAlignment(Qt::AlignRight);
        MakeNumberBox(edit);
        connect(edit, &QLineEdit::editingFinished, this, &TALIKSTV::typedPosition);
        auto* unit = new QLabel("mm", this);
        unit->setGeometry(left + 110, top, 30, 24);
        edit->setEnabled(false);
        return edit;
    };
    m_x = box("Text1_0", "X", 196);
    m_y = box("Text1_1", "Y", 226);
    auto* hint = new QLabel("矢印キーで0.1mm\n(Shiftで1mm)移動", this);
    hint->setGeometry(left, 256, 150, 40);
    setFixedSize(left + 150 + 8, std::max(m_picture->geometry().bottom() + 8, 310));
}

void TALIKSTV::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    CentreForm(this);
}

PicturePoint TALIKSTV::labelPlace(LayoutItem item) const
{
    const QWidget* label = m_labels[static_cast<std::size_t>(item)];
    return {(label->x() - marginPixels()) / PixelsPerMm, (label->y() - marginPixels()) / PixelsPerMm};
}

void TALIKSTV::placeLabel(LayoutItem item)
{
    QWidget* label = m_labels[static_cast<std::size_t>(item)];
    const PicturePoint place = m_edit.labelPlace(item, label->width() / PixelsPerMm);
    label->move(marginPixels() + qRound(place.left * PixelsPerMm), marginPixels() + qRound(place.top * PixelsPerMm));
}

void TALIKSTV::placeAll()
{
    for (int i = 0; i < LayoutItemTotal; ++i) {
        placeLabel(LayoutItemAt(i));
    }
    showSelected();
}

void TALIKSTV::select(LayoutItem item)
{
    m_selected = item;
    for (int i = 0; i < LayoutItemTotal; ++i) {
        m_labels[static_cast<std::size_t>(i)]->setSelected(LayoutItemAt(i) == item);
    }
    m_labels[static_cast<std::size_t>(item)]->raise();
    showSelected();
}

void TALIKSTV::showSelected()
{
    m_x->setEnabled(m_selected.has_value());
    m_y->setEnabled(m_selected.has_value());
    if (!m_selected) {
        return;
    }
    const LayoutPoint at = m_edit.point(*m_selected);
    m_selectedCaption->setText(Qs(InfoOf(*m_selected).caption));
    m_x->setText(QString::number(at.left, 'f', 1));
    m_y->setText(QString::number(at.top, 'f', 1));
}

void TALIKSTV::typedPosition()
{
    if (!m_selected) {
        return;
    }
    const LayoutPoint now = m_edit.point(*m_selected);
    if (m_x->text() == QString::number(now.left, 'f', 1) && m_y->text() == QString::number(now.top, 'f', 1)) {
        return; // leaving the boxes without a change moves nothing, not even to the shown tenth
    }
    const std::optional<TypedNumber> x = ParseStrictNumber(Us(m_x->text()));
    const std::optional<TypedNumber> y = ParseStrictNumber(Us(m_y->text()));
    if (!x || !y) {
        m_state.ui.message(std::string(NumberInvalidMessage), MessageIcon::Exclamation);
        showSelected();
        return;
    }
    m_edit.moveTo(*m_selected, {static_cast<float>(x->value()), static_cast<float>(y->value())});
    placeLabel(*m_selected);
    showSelected();
}

std::optional<LayoutItem> TALIKSTV::itemOf(QObject* object) const
{
    for (int i = 0; i < LayoutItemTotal; ++i) {
        if (m_labels[static_cast<std::size_t>(i)] == object) {
            return LayoutItemAt(i);
        }
    }
    return std::nullopt;
}

bool TALIKSTV::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && nudgeKey(static_cast<QKeyEvent*>(event))) {
        return true;
    }
    if (const std::optional<LayoutItem> item = itemOf(watched)) {
        return dragEvent(*item, event);
    }
    return QDialog::eventFilter(watched, event);
}

bool TALIKSTV::dragEvent(LayoutItem item, QEvent* event)
{
    QWidget* label = m_labels[static_cast<std::size_t>(item)];
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() != Qt::LeftButton) {
            return false;
        }
        m_dragging = item;
        m_grab = mouse->position();
        select(item);
        m_picture->setFocus();
        return true;
    }
    case QEvent::MouseMove: {
        if (m_dragging != item) {
            return false;
        }
        const QPointF pointer = label->mapToParent(static_cast<QMouseEvent*>(event)->position());
        const QPointF topLeft = pointer - m_grab - QPointF(marginPixels(), marginPixels());
        m_edit.dragTo(item, {topLeft.x() / PixelsPerMm, topLeft.y() / PixelsPerMm}, label->width() / PixelsPerMm,
                      label->height() / PixelsPerMm);
        placeLabel(item);
        showSelected();
        return true;
    }
    case QEvent::MouseButtonRelease:
        m_dragging.reset();
        return true;
    default:
        return false;
    }
}

bool TALIKSTV::nudgeKey(QKeyEvent* event)
{
    if (!m_selected || qobject_cast<QLineEdit*>(focusWidget()) != nullptr) {
        return false;
    }
    const double step = event->modifiers() & Qt::ShiftModifier ? 1.0 : 0.1;
    double dx = 0, dy = 0;
    switch (event->key()) {
    case Qt::Key_Left:
        dx = -step;
        break;
    case Qt::Key_Right:
        dx = step;
        break;
    case Qt::Key_Up:
        dy = -step;
        break;
    case Qt::Key_Down:
        dy = step;
        break;
    default:
        return false;
    }
    m_edit.nudge(*m_selected, dx, dy);
    placeLabel(*m_selected);
    showSelected();
    return true;
}

void TALIKSTV::closeStoring()
{
    m_changed = m_edit.apply(m_state.settings.Layout) || m_changed;
    accept();
}

void TALIKSTV::resetDefaults()
{
    m_edit.resetToDefaults();
    placeAll();
}

void TALIKSTV::openAdjust()
{
    const char kind = m_state.PrintKind;
    m_state.PrintKind = AdjustPostcardOffset;
    TALIKPRP adjust(m_state, nullptr, this);
    if (adjust.exec() == QDialog::Accepted) {
        m_changed = true;
    }
    m_state.PrintKind = kind;
}

} // namespace talik
