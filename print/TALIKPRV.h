#pragma once
// TALIKPRV "はがき印刷確認": the postcard print dialog.
#include "print/printdialog.h"

class QComboBox;
class QRadioButton;

namespace talik {

class TALIKPRV : public PrintDialog
{
    Q_OBJECT
public:
    TALIKPRV(AppState& state, PrintTable table, QWidget* parent = nullptr, const Readiness& ready = Ready);

public slots:
    void openLayoutEditor(); // Command4 "印刷位置設定"
    void openFonts();        // Command5 "フォント選択"
    void loadSettings();     // Command7(0) "設定値呼び出し"
    void saveSettings();     // Command7(1) "設定値保存"

protected:
    QSizeF pageSizeMm() const override;
    void decoratePreview(QtCanvas& canvas) override;
    void enableOwnControls() override;
    PrintRange wholeJob() const override;

private:
    void showOptions();
    void optionChanged();

    QPushButton* m_layoutEditor; // Command4
    QPushButton* m_fonts;        // Command5
    QCheckBox* m_sender;         // Check1 "差出人を印刷する"
    QCheckBox* m_kanjiNumerals;  // Check2 "漢数字にする"
    QCheckBox* m_sevenDigits;    // Check3 "郵便番号７桁"
    QComboBox* m_numeralStyle;   // how kanji numerals are written
    QCheckBox* m_jointNames;     // "連名を印刷する"
    QRadioButton* m_vertical;    // Option1(0) "縦書き"
    QRadioButton* m_horizontal;  // Option1(1) "横書き"
};

} // namespace talik
