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
constexpr int SlotsPerColumn = 10;
constexpr int SlotWidth = 6900; // twips: caption, first column, "+", further columns

// The encodings of the "文字コード" list, in its order.
constexpr std::array<CsvEncoding, 3> Encodings = {CsvEncoding::Auto, CsvEncoding::Cp932, CsvEncoding::Utf8};

} // namespace

QXCSVSET::QXCSVSET(AppState& state, std::string_view file, CsvImportOptions& options, QWidget* parent)
    : QDialog(parent), m_state(state), m_file(file), m_options(options), m_firstLine(new QLineEdit(this)),
      m_skipFirst(new QCheckBox("１行目は取り込まない", this)),
      m_halfKana(new QCheckBox("フリガナを半角カナに変換する", this)),
      m_fillPostal(new QCheckBox(PostalFillCaption, this)), m_encoding(new QComboBox(this)),
      m_onDuplicate(new QComboBox(this))
{
    setObjectName("QXCSVSET");
    setWindowTitle("ＣＳＶ取り込み設定");
    resize(TwipsToPixels(150 + 2 * SlotWidth + 150, logicalDpiX()), TwipsToPixels(7600, logicalDpiX()));
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
        int left = 150 + (slot / SlotsPerColumn) * SlotWidth;
        int top = 1500 + (slot % SlotsPerColumn) * 420;
        auto* caption = new QLabel(Qs(CsvSlotCaption(m_state.settings.Captions, slot)), this);
        caption->setObjectName(QString("Label1_%1").arg(slot));
        caption->setGeometry(px(left), px(top), px(1200), px(330));
        m_columns[slot] = new QComboBox(this);
        m_columns[slot]->setObjectName(QString("Combo1_%1").arg(slot));
        m_columns[slot]->setGeometry(px(left + 1250), px(top), px(2000), px(330));
        buildJoins(slot, left + 3300, top);
    }
}

void QXCSVSET::buildJoins(int slot, int left, int top)
{
    auto px = [this](int twips) { return TwipsToPixels(twips, logicalDpiX()); };
    m_join[slot] = new QPushButton("+", this);
    m_join[slot]->setObjectName(QString("Join_%1").arg(slot));
    m_join[slot]->setToolTip("列を追加してつなぐ");
    m_join[slot]->setGeometry(px(left), px(top), px(330), px(330));
    connect(m_join[slot], &QPushButton::clicked, this, [this, slot] { addColumn(slot); });
    for (std::size_t n = 0; n < m_joined[slot].size(); ++n) {
        auto* list = new QComboBox(this);
        list->setObjectName(QString("Combo3_%1_%2").arg(slot).arg(n + 1));
        list->setGeometry(px(left + 380 + static_cast<int>(n) * 1050), px(top), px(1000), px(330));
        list->hide();
        m_joined[slot][n] = list;
    }
}

void QXCSVSET::addColumn(int slot)
{
    for (QComboBox* list : m_joined[slot]) {
        if (list->isHidden()) {
            list->show();
            list->setFocus();
            break;
        }
    }
    m_join[slot]->setEnabled(m_joined[slot].back()->isHidden());
}

void QXCSVSET::showMap(const CsvMap& map)
{
    for (int slot = 0; slot < CsvSlotTotal; ++slot) {
        const CsvColumns& columns = map[static_cast<std::size_t>(slot)];
        auto pick = [](QComboBox* list, int column) { list->setCurrentIndex(column < list->count() ? column : 0); };
        pick(m_columns[slot], columns[0]);
        for (std::size_t n = 0; n < m_joined[slot].size(); ++n) {
            pick(m_joined[slot][n], columns[n + 1]);
            m_joined[slot][n]->setVisible(columns[n + 1] != 0);
        }
        m_join[slot]->setEnabled(columns.back() == 0);
    }
}

void QXCSVSET::buildOptions()
{
    auto px = [this](int twips) { return TwipsToPixels(twips, logicalDpiX()); };
    m_firstLine->setObjectName("Text1");
    m_firstLine->setReadOnly(true);
    m_firstLine->setGeometry(px(150), px(150), px(2 * SlotWidth), px(330));
    auto* message = new QLabel("割り当てるべきフィールドを選択してください。フィールドがない場合は「- "
                               "なし -」を選択して取込んでください。",
                               this);
    message->setObjectName("Label2");
    message->setWordWrap(true);
    message->setGeometry(px(150), px(600), px(2 * SlotWidth), px(800));
    m_skipFirst->setObjectName("Check1");
    m_skipFirst->setGeometry(px(150), px(5850), px(3000), px(330));
    m_halfKana->setObjectName("Check2");
    m_halfKana->setGeometry(px(150), px(6250), px(3600), px(330));
    m_fillPostal->setObjectName("FillPostal");
    m_fillPostal->setGeometry(px(150), px(6650), px(4300), px(330));
    auto* encodingCaption = new QLabel("文字コード", this);
    encodingCaption->setObjectName("Label3");
    encodingCaption->setGeometry(px(4850), px(5850), px(1500), px(330));
    m_encoding->setObjectName("Combo2");
    m_encoding->addItems({"自動判定", "Shift-JIS", "UTF-8"});
    m_encoding->setGeometry(px(6400), px(5850), px(1800), px(330));
    connect(m_encoding, &QComboBox::currentIndexChanged, this, [this] { fillFromFirstLine(false); });
    auto* duplicateCaption = new QLabel("登録済みの人", this);
    duplicateCaption->setObjectName("Label4");
    duplicateCaption->setGeometry(px(4850), px(6250), px(1500), px(330));
    m_onDuplicate->setObjectName("DuplicateAction");
    m_onDuplicate->addItems({"新しく追加する", "取込まない", "空欄を補う"});
    m_onDuplicate->setGeometry(px(6400), px(6250), px(1800), px(330));
    auto* ok = new QPushButton("ＯＫ", this);
    ok->setObjectName("Command1_0");
    ok->setGeometry(px(9000), px(6700), px(1300), px(420));
    auto* cancel = new QPushButton("取り消し", this);
    cancel->setObjectName("Command1_1");
    cancel->setGeometry(px(10450), px(6700), px(1300), px(420));
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
        std::vector<QComboBox*> lists{m_columns[slot]};
        lists.insert(lists.end(), m_joined[slot].begin(), m_joined[slot].end());
        for (QComboBox* list : lists) {
            int kept = list->currentIndex();
            list->clear();
            list->addItems(items);
            list->setCurrentIndex(std::min(std::max(kept, 0), static_cast<int>(list->count()) - 1));
        }
    }
    if (preselect) {
        // A header we know names the columns (and is not imported); any other first line is
        // offered column by column in the export's order.
        showMap(preview.guessed.value_or(DefaultCsvMap()));
        m_skipFirst->setChecked(preview.guessed.has_value());
    }
}

CsvMap QXCSVSET::chosenMap() const
{
    CsvMap map{};
    for (int slot = 0; slot < CsvSlotTotal; ++slot) {
        // The chosen columns in their order, those left at "- なし -" dropped.
        std::vector<int> chosen{m_columns[slot]->currentIndex()};
        for (QComboBox* list : m_joined[slot]) {
            chosen.push_back(list->isHidden() ? 0 : list->currentIndex());
        }
        std::size_t count = 0;
        for (int column : chosen) {
            if (column > 0) {
                map[slot][count++] = column;
            }
        }
    }
    return map;
}

void QXCSVSET::accept()
{
    CsvMap map = chosenMap();
    if (ColumnsOf(map[0]).empty()) {
        m_state.ui.message(CsvReadingRequiredMessage(m_state.settings.Captions), MessageIcon::Exclamation);
        return;
    }
    m_options.map = map;
    m_options.onDuplicate = static_cast<DuplicateAction>(std::max(m_onDuplicate->currentIndex(), 0));
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
