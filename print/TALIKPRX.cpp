#include "print/TALIKPRX.h"

#include <QBoxLayout>
#include <QPushButton>

#include "listwin/appstate.h"
#include "print/TALIKFNT.h"
#include "print/TALIKPRP.h"
#include "print/TALIKPRZ.h"
#include "print/printwork.h"

namespace talik {

TALIKPRX::TALIKPRX(AppState& state, PrintTable table, QWidget* parent, const Readiness& ready)
    : PrintDialog(state, PrintList, std::move(table), parent, ready)
{
    setObjectName("TALIKPRX");
    setWindowTitle("一覧表印刷確認");
    addPrintButton("Command2_0", "先頭から連続印刷", [this] { return AllPages(m_job); });
    addPrintButton("Command2_1", "表示ページのみ印刷", [this] { return PageShown(m_job); });
    column()->addSpacing(8);
    m_positionAdjust = addButton("Command4", "印刷位置調整");
    m_fonts = addButton("Command5", "フォント選択");
    m_scale = addButton("Command7", "縮小率設定");
    connect(addButton("Command9", "プリンタの設定"), &QPushButton::clicked, this, &TALIKPRX::choosePrinter);
    connect(m_positionAdjust, &QPushButton::clicked, this, &TALIKPRX::openPositionAdjust);
    connect(m_fonts, &QPushButton::clicked, this, &TALIKPRX::openFonts);
    connect(m_scale, &QPushButton::clicked, this, &TALIKPRX::openScale);
    finish();
}

QSizeF TALIKPRX::pageSizeMm() const
{
    return {210, 297};
}

void TALIKPRX::enableOwnControls()
{
    m_positionAdjust->setEnabled(m_ready.printPositionAdjust);
    m_fonts->setEnabled(m_ready.printFonts);
    m_scale->setEnabled(m_ready.printScale);
}

PrintRange TALIKPRX::wholeJob() const
{
    return AllPages(m_job);
}

void TALIKPRX::openPositionAdjust()
{
    m_state.PrintKind = 'L';
    TALIKPRP adjust(m_state, nullptr, this);
    adjust.exec(); // leaves PrintKind " " when cancelled
    afterSubDialog();
}

void TALIKPRX::openFonts()
{
    m_state.PrintKind = PrintList; // tells TALIKFNT whose fonts it sets
    TALIKFNT fonts(
        m_state, [this] { redrawPreview(); }, this);
    fonts.exec();
    m_state.PrintKind = ' ';
    redrawPreview();
}

void TALIKPRX::openScale()
{
    TALIKPRZ scale(m_state, this);
    if (scale.exec() == QDialog::Accepted) {
        redrawPreview();
    }
}

} // namespace talik
