#pragma once
// The editor's card-season grid: the last ten card years across (ending at the card year), 送, 受
// and 喪 down, a cell toggled by a click or Space; the lasting 出さない mark and the card year's note
// beside it. Only what the record shows is edited here: years before the grid are kept as they were.
#include <QWidget>

#include "store/season.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QTableWidget;

namespace talik {

class SeasonGrid : public QWidget
{
    Q_OBJECT
public:
    static constexpr int Years = 10;

    // `rowHeight` in pixels, as the editor's boxes are high.
    SeasonGrid(QWidget* parent, int rowHeight);

    void setHistory(const SeasonHistory& history, int cardYear);
    // The history as shown now: the grid's years replaced, every other year as it was read.
    SeasonHistory history() const;
    void setReadOnly(bool readOnly);
    // Flips one cell (row 0 送, 1 受, 2 喪; column 0 the oldest year), unless read-only.
    void toggle(int row, int column);

    QTableWidget* table() const { return m_table; }
    int firstYear() const { return m_cardYear - Years + 1; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showCell(int row, int column, bool marked);
    bool marked(int row, int column) const;

    QTableWidget* m_table = nullptr;
    QCheckBox* m_stop = nullptr;
    QLabel* m_noteCaption = nullptr;
    QLineEdit* m_note = nullptr;
    SeasonHistory m_read;
    int m_cardYear = 0;
    bool m_readOnly = false;
};

} // namespace talik
