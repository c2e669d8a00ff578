#pragma once
// TALIKPRW "タックシール印刷確認": the label-sheet print dialog.
#include "print/printdialog.h"

namespace talik {

struct PrintLayout;

class TALIKPRW : public PrintDialog
{
    Q_OBJECT
public:
    TALIKPRW(AppState& state, PrintTable table, QWidget* parent = nullptr, const Readiness& ready = Ready);

    // The start cell and the two check boxes of this dialog (the start cell dialog sets them).
    LabelOptions& labelOptions() { return m_job.label; }

public slots:
    void openPositionAdjust(); // Command4 "印刷位置調整" (mode "T")
    void openFonts();          // Command5 "フォント選択"
    void openCellSize();       // Command7 "マス目サイズ設定" (mode "W")
    void openStartCell();      // Command8 "開始マス目設定" (mode "P")
    void openGaps();           // Command10 "マス目ギャップ設定" (mode "G")
    void loadSettings();       // Command11(0) "設定値呼び出し"
    void saveSettings();       // Command11(1) "設定値保存"

protected:
    QSizeF pageSizeMm() const override;
    void enableOwnControls() override;
    PrintRange wholeJob() const override;

private:
    void openPositionDialog(char mode);

    QPushButton* m_positionAdjust; // Command4
    QPushButton* m_fonts;          // Command5
    QPushButton* m_cellSize;       // Command7
    QPushButton* m_startCell;      // Command8
    QPushButton* m_gaps;           // Command10
    QCheckBox* m_frames;           // Check1 "マス目線を印刷する"
    QCheckBox* m_postalMark;       // Check2 "〒マークを印刷する"
};

// The cell size a label sheet starts from when none is stored (60 × 34 mm).
void DefaultLabelCells(PrintLayout& layout);

} // namespace talik
