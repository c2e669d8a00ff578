#include "interchange/QXCSVSET.h"

#include "interchange/importprogress.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <vector>

#include "listwin/appstate.h"
#include "ui/formhelpers.h"
#include "ui/qtinteraction.h"
#include "ui/units.h"

namespace talik {
namespace {

constexpr const char* NoColumn = "- なし -";
constexpr int SlotsPerColumn = 9;

// The encodings of the "文字コード" list, in its order.
constexpr std::array<CsvEncoding, 3> Encodings = {CsvEncoding::Auto, CsvEncoding::Cp932, CsvEncoding::Utf8};

} // namespace

QXCSVSET::QXCSVSET(AppState& state, std::string_view file, CsvImportOptions& options, QWidget* parent)
    : QDialog(parent), m_state(state), m_file(file), m_options(options), m_firstLine(new QLineEdit(this)),
      m_skipFirst(new QCheckBox("１行目は取り込まない", this)),
      m_halfKana(new QCheckBox("フリガナを半角カナに変換する", this)),
      m_fillPostal(new QCheckBox(PostalFillCaption, this)), m_encoding(new QComboBox(this))
{
    setObjectName("QXCSVSET");
    setWindowTitle("ＣＳＶ取り込み設定");
    resize(TwipsToPixels(9000, logicalDpiX()), TwipsToPixels(6900, logicalDpiX()));
    m_state.EditStatus = ' ';
    buildSlots();
    buildOptions();
    orderTabs();
    fillFromFirstLine(true);
}

// Tab goes down the column choices first, then to the options and the buttons, as they are read.
void QXCSVSET::orderTabs()
{
    std::vector<QWidget*> order{m_firstLine};
    order.insert(order.end(), m_columns.begin(), m_columns.end());
    for (QWidget* control :
         {static_cast<QWidget*>(m_skipFirst), static_cast<QWidget*>(m_halfKana), static_cast<QWidget*>(m_encoding),
          findChild<QWidget*>("Command1_0"), findChild<QWidget*>("Command1_1")}) {
        order.push_back(control);
    }
    for (std::size_t i = 1; i < order.size(); ++i) {
        setTabOrder(order[i - 1], order[i]);
    }
}

void QXCSVSET::buildSlots()
{
    auto px = [this](int twips) { return TwipsToPixels(twips, logicalDpiX()); };
    for (int slot = 0; slot < CsvSlotTotal; ++slot) {
        int left = 150 + (slot / SlotsPerColumn) * 4400;
        int top = 1500 + (slot % SlotsPerColumn) * 420;
        auto* caption = new QLabel(Qs(CsvSlotCaption(m_state.settings.Captions, slot)), this);
        caption->setObjectName(QString("Label1_%1").arg(slot));
        caption->setGeometry(px(left), px(top), px(1300), px(330));
        m_columns[slot] = new QComboBox(this);
        m_columns[slot]->setObjectName(QString("Combo1_%1").arg(slot));
        m_columns[slot]->setGeometry(px(left + 1350), px(top), px(2900), px(330));
    }
}

void QXCSVSET::buildOptions()
{
    auto px = [this](int twips) { return TwipsToPixels(twips, logicalDpiX()); };
    m_firstLine->setObjectName("Text1");
    m_firstLine->setReadOnly(true);
    m_firstLine->setGeometry(px(150), px(150), px(8600), px(330));
    auto* message = new QLabel("割り当てるべきフィールドを選択してください。フィールドがない場合は「- "
                               "なし -」を選択して取込んでください。",
                               this);
    message->setObjectName("Label2");
    message->setWordWrap(true);
    message->setGeometry(px(150), px(600), px(8600), px(800));
    m_skipFirst->setObjectName("Check1");
    m_skipFirst->setGeometry(px(150), px(5350), px(3000), px(330));
    m_halfKana->setObjectName("Check2");
    m_halfKana->setGeometry(px(150), px(5750), px(3600), px(330));
    m_fillPostal->setObjectName("FillPostal");
    m_fillPostal->setGeometry(px(150), px(6150), px(4300), px(330));
    auto* encodingCaption = new QLabel("文字コード", this);
    encodingCaption->setObjectName("Label3");
    encodingCaption->setGeometry(px(4550), px(5350), px(1300), px(330));
    m_encoding->setObjectName("Combo2");
    m_encoding->addItems({"自動判定", "Shift-JIS", "UTF-8"});
    m_encoding->setGeometry(px(5900), px(5350), px(1800), px(330));
    connect(m_encoding, &QComboBox::currentIndexChanged, this, [this] { fillFromFirstLine(false); });
    auto* ok = new QPushButton("ＯＫ", this);
    ok->setObjectName("Command1_0");
    ok->setGeometry(px(4550), px(6200), px(1300), px(420));
    auto* cancel = new QPushButton("取り消し", this);
    cancel->setObjectName("Command1_1");
    cancel->setGeometry(px(6000), px(6200), px(1300), px(420));
    connect(ok, &QPushButton::clicked, this, &QXCSVSET::accept);
    connect(cancel, &QPushButton::clicked, this, &QXCSVSET::reject);
}

void QXCSVSET::fillFromFirstLine(bool preselect)
{
    CsvEncoding wanted = Encodings[static_cast<std::size_t>(std::max(m_encoding->currentIndex(), 0))];
    CsvPreview preview = PreviewCsv(m_file, ChooseCsvEncoding(m_file, wanted));
    m_firstLine->setText(Qs(preview.line));
    m_firstLine->setCursorPosition(0); // the line is read from its start
    QStringList items{NoColumn};
    for (const auto& field : preview.fields) {
        items << Qs(field);
    }
    for (int slot = 0; slot < CsvSlotTotal; ++slot) {
        QComboBox* list = m_columns[slot];
        int kept = list->currentIndex();
        list->clear();
        list->addItems(items);
        bool hasColumn = slot + 1 < items.size();
        list->setCurrentIndex(preselect ? (hasColumn ? slot + 1 : 0) : std::min(std::max(kept, 0), list->count() - 1));
    }
    if (preselect) {
        m_skipFirst->setChecked(preview.isExportHeader);
    }
}

void QXCSVSET::accept()
{
    if (m_columns[0]->currentIndex() <= 0) {
        m_state.ui.message(CsvReadingRequiredMessage(m_state.settings.Captions), MessageIcon::Exclamation);
        return;
    }
    for (int slot = 0; slot < CsvSlotTotal; ++slot) {
        m_options.map[slot] = std::max(m_columns[slot]->currentIndex(), 0);
    }
    m_options.skipFirst = m_skipFirst->isChecked();
    m_options.halfKana = m_halfKana->isChecked();
    m_options.fillPostal = m_fillPostal->isChecked();
    m_options.encoding = Encodings[static_cast<std::size_t>(std::max(m_encoding->currentIndex(), 0))];
    m_state.EditStatus = 'Y';
    QDialog::accept();
}

void QXCSVSET::reject()
{
    m_state.EditStatus = ' ';
    QDialog::reject();
}

void QXCSVSET::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    CentreForm(this);
}

} // namespace talik
