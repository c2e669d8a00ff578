#pragma once
// TALIKPRX "一覧表印刷確認": the address list print dialog.
#include "print/printdialog.h"

namespace talik {

class TALIKPRX : public PrintDialog
{
    Q_OBJECT
public:
    TALIKPRX(AppState& state, PrintTable table, QWidget* parent = nullptr, const Readiness& ready = Ready);

public slots:
    void openPositionAdjust(); // Command4 "印刷位置調整" (mode "L")
    void openFonts();          // Command5 "フォント選択"
    void openScale();          // Command7 "縮小率設定"

protected:
    QSizeF pageSizeMm() const override;
    void enableOwnControls() override;
    PrintRange wholeJob() const override;

private:
    QPushButton* m_positionAdjust; // Command4
    QPushButton* m_fonts;          // Command5
    QPushButton* m_scale;          // Command7
};

} // namespace talik
