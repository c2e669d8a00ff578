#pragma once
// "重複の確認": the pairs of the open database that look like one person, each shown side by side
// field by field, merged (the differing fields ticked take the second record's value), said to be
// two people, or left for later; the merges of this window can be undone, the last first.
#include <QDialog>

#include <cstdint>
#include <vector>

#include "store/duplicates.h"

class QLabel;
class QPushButton;
class QTableWidget;
class QTreeWidget;

namespace talik {

struct AppState;

class TALIKDUP : public QDialog
{
    Q_OBJECT
public:
    explicit TALIKDUP(AppState& state, QWidget* parent = nullptr);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void buildControls();
    // Reads the pairs afresh and selects the one at `row` (or the last).
    void reloadPairs(int row);
    void showPair();
    const DuplicatePair* currentPair() const;
    void mergeCurrent();
    void markApart();
    void later();
    void undoMerge();

    AppState& m_state;
    std::vector<DuplicatePair> m_pairs;
    std::vector<std::int32_t> m_merged; // the records merged into, the last merge at the back
    QTreeWidget* m_list;                // "PairList"
    QTableWidget* m_fields;             // "FieldTable"
    QLabel* m_summary;                  // "Summary"
    QPushButton* m_merge;               // "MergeButton" 統合
    QPushButton* m_apart;               // "ApartButton" 別人
    QPushButton* m_later;               // "LaterButton" 後で
    QPushButton* m_undo;                // "UndoButton" 元に戻す
};

} // namespace talik
