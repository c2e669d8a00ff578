#include "editor/seasongrid.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>
#include <QVBoxLayout>

#include "ui/qtinteraction.h"

namespace talik {
namespace {

constexpr int Rows = 3; // 送, 受, 喪
constexpr const char* Marked = "●";
// One line of the note: as long as a line of the address box holds.
constexpr int NoteLength = 60;

bool& MarkOf(SeasonMarks& marks, int row)
{
    return row == 0 ? marks.sent : row == 1 ? marks.received : marks.mourning;
}

} // namespace

SeasonGrid::SeasonGrid(QWidget* parent, int rowHeight) : QWidget(parent)
{
    setObjectName("SeasonArea");
    m_table = new QTableWidget(Rows, Years, this);
    m_table->setObjectName("SeasonGrid");
    m_table->setVerticalHeaderLabels({"送", "受", "喪"});
    m_table->verticalHeader()->setDefaultSectionSize(rowHeight);
    m_table->horizontalHeader()->setFixedHeight(rowHeight);
    m_table->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setTabKeyNavigation(false);
    m_table->installEventFilter(this);
    // The header and the three rows whole, inside the table's frame.
    m_table->setFixedHeight(rowHeight * (Rows + 1) + 2 * m_table->frameWidth() + 2);
    connect(m_table, &QTableWidget::cellClicked, this, [this](int row, int column) { toggle(row, column); });

    m_stop = new QCheckBox("出さない", this);
    m_stop->setObjectName("SeasonStop");
    m_noteCaption = new QLabel(this);
    m_noteCaption->setObjectName("SeasonNoteCaption");
    m_note = new QLineEdit(this);
    m_note->setObjectName("SeasonNote");
    m_note->setMaxLength(NoteLength);

    auto* side = new QHBoxLayout;
    side->setContentsMargins(0, 0, 0, 0);
    side->addWidget(m_stop);
    side->addWidget(m_noteCaption);
    side->addWidget(m_note, 1);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(2);
    column->addWidget(m_table);
    column->addLayout(side);
}

void SeasonGrid::setHistory(const SeasonHistory& history, int cardYear)
{
    m_read = history;
    m_cardYear = cardYear;
    QStringList years;
    for (int column = 0; column < Years; ++column) {
        const int year = firstYear() + column;
        years << QString::number(year);
        auto found = history.years.find(year);
        const SeasonMarks marks = found != history.years.end() ? found->second : SeasonMarks{};
        showCell(0, column, marks.sent);
        showCell(1, column, marks.received);
        showCell(2, column, marks.mourning);
    }
    m_table->setHorizontalHeaderLabels(years);
    m_stop->setChecked(history.stop);
    m_noteCaption->setText(QString("%1年のメモ").arg(cardYear));
    auto current = history.years.find(cardYear);
    m_note->setText(current != history.years.end() ? Qs(current->second.note) : QString());
}

SeasonHistory SeasonGrid::history() const
{
    SeasonHistory edited = m_read;
    edited.stop = m_stop->isChecked();
    for (int column = 0; column < Years; ++column) {
        const int year = firstYear() + column;
        SeasonMarks marks = edited.years[year];
        for (int row = 0; row < Rows; ++row) {
            MarkOf(marks, row) = marked(row, column);
        }
        if (year == m_cardYear) {
            marks.note = Us(m_note->text().trimmed());
        }
        if (marks.any()) {
            edited.years[year] = marks;
        } else {
            edited.years.erase(year);
        }
    }
    return edited;
}

void SeasonGrid::setReadOnly(bool readOnly)
{
    m_readOnly = readOnly;
    m_stop->setEnabled(!readOnly);
    m_note->setReadOnly(readOnly);
}

void SeasonGrid::toggle(int row, int column)
{
    if (m_readOnly || row < 0 || row >= Rows || column < 0 || column >= Years) {
        return;
    }
    showCell(row, column, !marked(row, column));
}

bool SeasonGrid::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_table && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Space) {
        toggle(m_table->currentRow(), m_table->currentColumn());
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void SeasonGrid::showCell(int row, int column, bool on)
{
    auto* item = new QTableWidgetItem(on ? Marked : "");
    item->setTextAlignment(Qt::AlignCenter);
    item->setData(Qt::UserRole, on);
    m_table->setItem(row, column, item);
}

bool SeasonGrid::marked(int row, int column) const
{
    const QTableWidgetItem* item = m_table->item(row, column);
    return item != nullptr && item->data(Qt::UserRole).toBool();
}

} // namespace talik
