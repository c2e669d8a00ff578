#include "print/TALIKFNT.h"

#include <QApplication>
#include <QComboBox>
#include <QFontDatabase>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QStyledItemDelegate>

#include "listwin/appstate.h"
#include "print/fontchoice.h"
#include "ui/formhelpers.h"
#include "ui/qtinteraction.h"
#include "ui/units.h"

namespace talik {
namespace {

constexpr int RowHeight = 450;
constexpr int FontFormWidth = 7600;

// Each name in its own font, followed by a Japanese sample, so the user sees what it prints.
class FontSampleDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QStyleOptionViewItem shown = option;
        initStyleOption(&shown, index);
        shown.text = index.data(Qt::DisplayRole).toString() + "　" + Qs(FontSample);
        shown.font = QFont(index.data(Qt::DisplayRole).toString(), option.font.pointSize());
        QStyle* style = shown.widget != nullptr ? shown.widget->style() : QApplication::style();
        style->drawControl(QStyle::CE_ItemViewItem, &shown, painter, shown.widget);
    }
};

std::vector<std::string> SystemFamilies()
{
    std::vector<std::string> families;
    for (const QString& family : QFontDatabase::families()) {
        families.push_back(Us(family));
    }
    return families;
}

} // namespace

TALIKFNT::TALIKFNT(AppState& state, std::function<void()> redraw, QWidget* parent)
    : QDialog(parent), m_state(state), m_redraw(std::move(redraw))
{
    setObjectName("TALIKFNT");
    const int dpi = logicalDpiX();
    auto px = [dpi](int twips) { return TwipsToPixels(twips, dpi); };
    const FontDialogKind* kind = FontDialogKindOf(state.PrintKind);
    const int rows = kind != nullptr ? static_cast<int>(kind->rows.size()) : 0;
    setFixedSize(px(FontFormWidth), px(300 + rows * RowHeight + 700));
    if (kind != nullptr) {
        setWindowTitle(Qs(kind->caption));
        // Sizes of 0 become the dialog's own defaults as it opens.
        m_changed = SetOpeningFontSizes(m_state.settings.Layout, kind->kind);
        const std::vector<std::string> families = SystemFamilies();
        for (int row = 0; row < rows; ++row) {
            const FontRow& def = kind->rows[static_cast<std::size_t>(row)];
            buildRow(row, def.item, Qs(def.caption), kind->sizes, families);
        }
    }
    auto* close = new QPushButton("閉じる", this);
    close->setObjectName("Command1");
    close->setGeometry(px(FontFormWidth - 1500), px(300 + rows * RowHeight + 100), px(1200), px(420));
    connect(close, &QPushButton::clicked, this, &TALIKFNT::accept);
}

void TALIKFNT::buildRow(
    int row, int item, const QString& caption, bool withSize, const std::vector<std::string>& families)
{
    const int dpi = logicalDpiX();
    auto px = [dpi](int twips) { return TwipsToPixels(twips, dpi); };
    const int top = 300 + row * RowHeight;
    auto* label = new QLabel(caption, this);
    label->setObjectName(QString("Label1_%1").arg(row));
    label->setGeometry(px(200), px(top), px(1500), px(330));

    auto* combo = new QComboBox(this);
    combo->setObjectName(QString("Combo1_%1").arg(row));
    combo->setGeometry(px(1750), px(top), px(4300), px(360));
    combo->setItemDelegate(new FontSampleDelegate(combo));
    const std::string& stored = m_state.settings.Layout.AddrFontName[static_cast<std::size_t>(item)];
    for (const std::string& name : FontChoices(families, stored)) {
        combo->addItem(Qs(name));
    }
    combo->setCurrentText(Qs(stored));
    // Only the user's choice stores: activated, not currentIndexChanged.
    connect(combo, &QComboBox::activated, this, [this, item, combo] { chooseFont(item, combo); });

    if (withSize) {
        auto* size =
            new QLineEdit(QString::number(m_state.settings.Layout.AddrFontSize[static_cast<std::size_t>(item)]), this);
        size->setObjectName(QString("Text1_%1").arg(row));
        size->setGeometry(px(6200), px(top), px(700), px(330));
        size->setAlignment(Qt::AlignRight);
        size->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]{0,3}"), size));
        connect(size, &QLineEdit::editingFinished, this, [this, item, size] { leaveSize(item, size); });
    }
}

void TALIKFNT::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    CentreForm(this);
}

void TALIKFNT::chooseFont(int item, QComboBox* combo)
{
    std::string& name = m_state.settings.Layout.AddrFontName[static_cast<std::size_t>(item)];
    const std::string chosen = Us(combo->currentText());
    if (chosen == name) {
        return;
    }
    name = chosen;
    stored();
}

void TALIKFNT::leaveSize(int item, QLineEdit* box)
{
    const std::optional<int> size = FontSizeFromBox(Us(box->text()));
    int& storedSize = m_state.settings.Layout.AddrFontSize[static_cast<std::size_t>(item)];
    if (!size) {
        box->setText(QString::number(storedSize));
        return;
    }
    box->setText(QString::number(*size));
    if (*size != storedSize) {
        storedSize = *size;
        stored();
    }
}

void TALIKFNT::stored()
{
    m_changed = true;
    if (m_redraw) {
        m_redraw();
    }
}

} // namespace talik
