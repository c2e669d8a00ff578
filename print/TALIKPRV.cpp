#include "print/TALIKPRV.h"

#include <QBoxLayout>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>

#include "listwin/appstate.h"
#include "print/TALIKFNT.h"
#include "print/TALIKSTV.h"
#include "print/numerals.h"
#include "print/postcardlayout.h"
#include "print/printsettingsfile.h"
#include "print/printwork.h"
#include "print/qtcanvas.h"

namespace talik {

TALIKPRV::TALIKPRV(AppState& state, PrintTable table, QWidget* parent, const Readiness& ready)
    : PrintDialog(state, PrintPostcards, std::move(table), parent, ready)
{
    setObjectName("TALIKPRV");
    setWindowTitle("はがき印刷確認");
    addPrintButton("Command2_0", "先頭から連続印刷", [this] { return PostcardsFromStart(m_table); });
    addPrintButton("Command2_1", "以降を連続印刷", [this] { return PostcardsFromShown(m_table); });
    addPrintButton("Command2_2", "個別印刷", [this] { return PostcardShown(m_table); });
    column()->addSpacing(8);
    m_layoutEditor = addButton("Command4", "印刷位置設定");
    m_fonts = addButton("Command5", "フォント選択");
    connect(addButton("Command6", "プリンタの設定"), &QPushButton::clicked, this, &TALIKPRV::choosePrinter);
    connect(addButton("Command7_0", "設定値呼び出し"), &QPushButton::clicked, this, &TALIKPRV::loadSettings);
    connect(addButton("Command7_1", "設定値保存"), &QPushButton::clicked, this, &TALIKPRV::saveSettings);
    connect(m_layoutEditor, &QPushButton::clicked, this, &TALIKPRV::openLayoutEditor);
    connect(m_fonts, &QPushButton::clicked, this, &TALIKPRV::openFonts);
    connect(addButton("CommandCalib", "位置確認用シート印刷"), &QPushButton::clicked, this,
            &TALIKPRV::printCalibration);
    column()->addSpacing(8);
    m_sender = addCheck("Check1", "差出人を印刷する", false);
    m_kanjiNumerals = addCheck("Check2", "漢数字にする", false);
    m_numeralStyle = new QComboBox(this);
    m_numeralStyle->setObjectName("ComboNumeralStyle");
    for (std::string_view caption : NumeralStyleCaptions) {
        m_numeralStyle->addItem(QString::fromUtf8(caption.data(), static_cast<qsizetype>(caption.size())));
    }
    column()->addWidget(m_numeralStyle);
    m_controls.push_back(m_numeralStyle);
    m_sevenDigits = addCheck("Check3", "郵便番号７桁", false);
    m_jointNames = addCheck("CheckJointNames", "連名を印刷する", true);
    addSeasonCheck();
    m_vertical = new QRadioButton("縦書き", this);
    m_vertical->setObjectName("Option1_0");
    m_horizontal = new QRadioButton("横書き", this);
    m_horizontal->setObjectName("Option1_1");
    auto* direction = new QButtonGroup(this);
    direction->addButton(m_vertical, 0);
    direction->addButton(m_horizontal, 1);
    for (QRadioButton* option : {m_vertical, m_horizontal}) {
        column()->addWidget(option);
        m_controls.push_back(option);
    }
    showOptions();
    for (QCheckBox* check : {m_sender, m_kanjiNumerals, m_sevenDigits, m_jointNames}) {
        connect(check, &QCheckBox::toggled, this, &TALIKPRV::optionChanged);
    }
    connect(m_numeralStyle, &QComboBox::currentIndexChanged, this, &TALIKPRV::optionChanged);
    connect(m_horizontal, &QRadioButton::toggled, this, &TALIKPRV::optionChanged);
    finish();
}

QSizeF TALIKPRV::pageSizeMm() const
{
    return {PostcardWidth, PostcardHeight};
}

void TALIKPRV::decoratePreview(QtCanvas& canvas)
{
    const double scale = m_job.target.PreviewScale;
    canvas.drawBox(0, 0, PostcardWidth * scale - 0.2, PostcardHeight * scale - 0.2);
    for (const CardBox& box : RecipientCodeBoxOutlines(m_state.settings.Layout)) {
        canvas.drawBox(box.x * scale, box.y * scale, box.width * scale, box.height * scale);
    }
}

void TALIKPRV::enableOwnControls()
{
    m_layoutEditor->setEnabled(m_ready.printLayoutEditor);
    m_fonts->setEnabled(m_ready.printFonts);
}

PrintRange TALIKPRV::wholeJob() const
{
    return PostcardsFromStart(m_table);
}

// The check boxes and direction as the settings hold them, without redrawing for each.
void TALIKPRV::showOptions()
{
    const PrintLayout& layout = m_state.settings.Layout;
    const QSignalBlocker blockers[] = {QSignalBlocker(m_sender),      QSignalBlocker(m_kanjiNumerals),
                                       QSignalBlocker(m_sevenDigits), QSignalBlocker(m_vertical),
                                       QSignalBlocker(m_horizontal),  QSignalBlocker(m_numeralStyle),
                                       QSignalBlocker(m_jointNames)};
    m_sender->setChecked(layout.AddrFromSet == 1);
    m_kanjiNumerals->setChecked(layout.AddrNumChange == 1);
    m_sevenDigits->setChecked(layout.AddrNum7 == 1);
    m_numeralStyle->setCurrentIndex(static_cast<int>(NumeralStyleOf(layout.AddrNumStyle)));
    m_jointNames->setChecked(layout.AddrJointNames != 0);
    (layout.PrintDirection == 1 ? m_horizontal : m_vertical)->setChecked(true);
}

void TALIKPRV::optionChanged()
{
    PrintLayout& layout = m_state.settings.Layout;
    layout.AddrFromSet = m_sender->isChecked() ? 1 : 0;
    layout.AddrNumChange = m_kanjiNumerals->isChecked() ? 1 : 0;
    layout.AddrNum7 = m_sevenDigits->isChecked() ? 1 : 0;
    layout.AddrNumStyle = m_numeralStyle->currentIndex();
    layout.AddrJointNames = m_jointNames->isChecked() ? 1 : 0;
    layout.PrintDirection = m_horizontal->isChecked() ? 1 : 0;
    if (active()) {
        redrawPreview();
    }
}

void TALIKPRV::openLayoutEditor()
{
    TALIKSTV editor(m_state, &m_table, this);
    editor.exec();
    if (editor.changed()) {
        redrawPreview();
    }
}

void TALIKPRV::openFonts()
{
    m_state.PrintKind = PrintPostcards; // tells TALIKFNT whose fonts it sets
    TALIKFNT fonts(
        m_state, [this] { redrawPreview(); }, this);
    fonts.exec();
    m_state.PrintKind = ' ';
    redrawPreview();
}

void TALIKPRV::loadSettings()
{
    auto path =
        m_state.ui.chooseOpenFile("印刷設定値ファイルの読み込み", PrintSettingsFilter(PrintSettingsPart::Postcard));
    if (path && LoadPrintSettingsFile(m_state, *path, PrintSettingsPart::Postcard)) {
        showOptions();
        redrawPreview();
    }
}

void TALIKPRV::saveSettings()
{
    auto path = m_state.ui.chooseSaveFile("印刷設定値のファイル保存", PrintSettingsFilter(PrintSettingsPart::Postcard));
    if (path) {
        SavePrintSettingsFile(m_state, WithPrintSettingsExtension(*path, PrintSettingsPart::Postcard));
    }
}

} // namespace talik
