#include "print/TALIKPRW.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QPushButton>

#include "listwin/appstate.h"
#include "print/TALIKFNT.h"
#include "print/TALIKPRP.h"
#include "print/printsettingsfile.h"
#include "print/printwork.h"

namespace talik {

void DefaultLabelCells(PrintLayout& layout)
{
    constexpr float DefaultCellWidth = 60;
    constexpr float DefaultCellHeight = 34;
    layout.AddrBoxWidth = layout.AddrBoxWidth == 0 ? DefaultCellWidth : layout.AddrBoxWidth;
    layout.AddrBoxHeight = layout.AddrBoxHeight == 0 ? DefaultCellHeight : layout.AddrBoxHeight;
}

TALIKPRW::TALIKPRW(AppState& state, PrintTable table, QWidget* parent, const Readiness& ready)
    : PrintDialog(state, PrintLabels, std::move(table), parent, ready)
{
    setObjectName("TALIKPRW");
    setWindowTitle("タックシール印刷確認");
    DefaultLabelCells(m_state.settings.Layout);
    m_job.label = LabelOptions{};
    addPrintButton("Command2_0", "先頭から連続印刷", [this] { return AllPages(m_job); });
    addPrintButton("Command2_1", "表示ページのみ印刷", [this] { return PageShown(m_job); });
    column()->addSpacing(8);
    m_positionAdjust = addButton("Command4", "印刷位置調整");
    m_fonts = addButton("Command5", "フォント選択");
    m_cellSize = addButton("Command7", "マス目サイズ設定");
    m_startCell = addButton("Command8", "開始マス目設定");
    m_gaps = addButton("Command10", "マス目ギャップ設定");
    connect(addButton("Command9", "プリンタの設定"), &QPushButton::clicked, this, &TALIKPRW::choosePrinter);
    connect(addButton("Command11_0", "設定値呼び出し"), &QPushButton::clicked, this, &TALIKPRW::loadSettings);
    connect(addButton("Command11_1", "設定値保存"), &QPushButton::clicked, this, &TALIKPRW::saveSettings);
    connect(m_positionAdjust, &QPushButton::clicked, this, &TALIKPRW::openPositionAdjust);
    connect(m_fonts, &QPushButton::clicked, this, &TALIKPRW::openFonts);
    connect(m_cellSize, &QPushButton::clicked, this, &TALIKPRW::openCellSize);
    connect(m_startCell, &QPushButton::clicked, this, &TALIKPRW::openStartCell);
    connect(m_gaps, &QPushButton::clicked, this, &TALIKPRW::openGaps);
    connect(addButton("CommandCalib", "位置確認用シート印刷"), &QPushButton::clicked, this,
            &TALIKPRW::printCalibration);
    column()->addSpacing(8);
    m_frames = addCheck("Check1", "マス目線を印刷する", false);
    m_postalMark = addCheck("Check2", "〒マークを印刷する", false);
    addSeasonCheck();
    // Cell frames show on the preview anyway: only the printed page changes.
    connect(m_frames, &QCheckBox::toggled, this, [this](bool on) { m_job.label.frames = on; });
    connect(m_postalMark, &QCheckBox::toggled, this, [this](bool on) {
        m_job.label.postalMark = on;
        if (active()) {
            redrawPreview();
        }
    });
    finish();
}

QSizeF TALIKPRW::pageSizeMm() const
{
    return {210, 297};
}

void TALIKPRW::enableOwnControls()
{
    m_positionAdjust->setEnabled(m_ready.printPositionAdjust);
    m_cellSize->setEnabled(m_ready.printPositionAdjust);
    m_startCell->setEnabled(m_ready.printPositionAdjust);
    m_gaps->setEnabled(m_ready.printPositionAdjust);
    m_fonts->setEnabled(m_ready.printFonts);
}

PrintRange TALIKPRW::wholeJob() const
{
    return AllPages(m_job);
}

void TALIKPRW::openPositionDialog(char mode)
{
    m_state.PrintKind = mode;
    TALIKPRP adjust(m_state, mode == 'P' ? &m_job.label : nullptr, this);
    adjust.exec(); // leaves PrintKind " " when cancelled
    afterSubDialog();
}

void TALIKPRW::openPositionAdjust()
{
    openPositionDialog('T');
}

void TALIKPRW::openCellSize()
{
    openPositionDialog('W');
}

void TALIKPRW::openStartCell()
{
    openPositionDialog('P');
}

void TALIKPRW::openGaps()
{
    openPositionDialog('G');
}

void TALIKPRW::openFonts()
{
    m_state.PrintKind = PrintLabels; // tells TALIKFNT whose fonts it sets
    TALIKFNT fonts(
        m_state, [this] { redrawPreview(); }, this);
    fonts.exec();
    m_state.PrintKind = ' ';
    redrawPreview();
}

void TALIKPRW::loadSettings()
{
    auto path =
        m_state.ui.chooseOpenFile("印刷設定値ファイルの読み込み", PrintSettingsFilter(PrintSettingsPart::Label));
    if (path && LoadPrintSettingsFile(m_state, *path, PrintSettingsPart::Label)) {
        DefaultLabelCells(m_state.settings.Layout);
        redrawFromStart();
    }
}

void TALIKPRW::saveSettings()
{
    auto path = m_state.ui.chooseSaveFile("印刷設定値のファイル保存", PrintSettingsFilter(PrintSettingsPart::Label));
    if (path) {
        SavePrintSettingsFile(m_state, WithPrintSettingsExtension(*path, PrintSettingsPart::Label));
    }
}

} // namespace talik
