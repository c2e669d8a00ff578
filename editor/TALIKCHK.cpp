#include "editor/TALIKCHK.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <algorithm>

#include "editor/bytelimit.h"
#include "editor/modemtest.h"
#include "listwin/TALIKSET.h"
#include "listwin/appstate.h"
#include "platform/serialport.h"
#include "ui/formhelpers.h"
#include "ui/qtinteraction.h"

namespace talik {
namespace {

constexpr int FolderBox = 20;
constexpr int FontSizeBox = 21;
constexpr int InitBox = 15;
constexpr int OutsideLineBox = 16;
constexpr std::array<int, 6> SenderBoxes{17, 18, 19, 22, 23, 24};
constexpr std::array<const char*, 6> SenderCaptions{"差出人住所等１", "差出人氏名等１", "差出人郵便番号１",
                                                    "差出人住所等２", "差出人氏名等２", "差出人郵便番号２"};
constexpr std::string_view FontSampleText = "Aa 123 あいう アイウ 漢字 ｱｲｳ";
constexpr int MinSampleHeight = 48;
constexpr int MaxSampleHeight = 120;

// Two lines of the sample in `font`, within the limits.
int SampleHeight(const QFont& font)
{
    return std::clamp(2 * QFontMetrics(font).lineSpacing() + 6, MinSampleHeight, MaxSampleHeight);
}

QString CheckCaption(int i)
{
    static const QString FullWidthDigits = "１２３４５６７８９";
    return "項目" + (i < 9 ? QString(FullWidthDigits[i]) : QString::number(i + 1));
}

QButtonGroup* OptionGroup(QWidget* parent, QLayout* layout, const QString& prefix, const QStringList& captions)
{
    auto* group = new QButtonGroup(parent);
    for (int i = 0; i < captions.size(); ++i) {
        auto* option = new QRadioButton(captions[i], parent);
        option->setObjectName(QString("%1_%2").arg(prefix).arg(i));
        group->addButton(option, i);
        layout->addWidget(option);
    }
    return group;
}

QCheckBox* Switch(QWidget* parent, QLayout* layout, const char* name, const QString& caption)
{
    auto* check = new QCheckBox(caption, parent);
    check->setObjectName(name);
    layout->addWidget(check);
    return check;
}

// The screen's font families, without the vertical variants, with the stored name kept in the list
// when this system lacks it (it is drawn through the font substitutions).
QStringList FontChoices(const QString& stored)
{
    QStringList families;
    for (const QString& family : QFontDatabase::families()) {
        if (!family.startsWith('@') && !family.startsWith(QChar(0xFF20))) {
            families << family;
        }
    }
    if (!stored.isEmpty() && !families.contains(stored)) {
        families.prepend(stored);
    }
    return families;
}

} // namespace

TALIKCHK::TALIKCHK(AppState& state, QWidget* parent) : QDialog(parent), m_state(state)
{
    setObjectName("TALIKCHK");
    setWindowTitle("住所録チェック項目登録　＆　環境設定");
    auto* grid = new QGridLayout(this);
    grid->addWidget(buildCheckNames(), 0, 0, 3, 1);
    grid->addWidget(buildModem(), 0, 1);
    grid->addWidget(buildSenders(), 1, 1);
    grid->addWidget(buildListAndFolder(), 2, 1);
    grid->addWidget(buildDoubleClick(), 0, 2);
    grid->addWidget(buildSwitches(), 1, 2, 2, 1);
    grid->addWidget(buildButtons(), 3, 0, 1, 3);
    fill();
}

QLineEdit* TALIKCHK::textBox(int index, std::size_t bytes)
{
    auto* box = new QLineEdit(this);
    box->setObjectName(QString("Text1_%1").arg(index));
    LimitToCp932Bytes(box, bytes);
    SelectAllOnFocus(box);
    m_text[index] = box;
    return box;
}

QWidget* TALIKCHK::buildCheckNames()
{
    auto* frame = new QGroupBox("チェック項目", this);
    auto* form = new QFormLayout(frame);
    for (int i = 0; i < 15; ++i) {
        form->addRow(CheckCaption(i), textBox(i, GlobalCheckNameBytes));
        m_text[i]->setMinimumWidth(160);
    }
    return frame;
}

QWidget* TALIKCHK::buildModem()
{
    auto* frame = new QGroupBox("モデム設定", this);
    auto* column = new QVBoxLayout(frame);
    auto* ports = new QHBoxLayout;
    m_port = OptionGroup(frame, ports, "Option1", {"COM1", "COM2", "COM3", "COM4", "COM5"});
    column->addLayout(ports);
    auto* lines = new QHBoxLayout;
    m_lineType = OptionGroup(frame, lines, "Option2", {"トーン回線", "パルス回線"});
    column->addLayout(lines);
    auto* form = new QFormLayout;
    form->addRow("モデム初期化コマンド", textBox(InitBox, ModemTextBytes));
    form->addRow("外線発信番号", textBox(OutsideLineBox, ModemTextBytes));
    column->addLayout(form);
    auto* test = new QPushButton("モデムテスト", frame);
    test->setObjectName("ModemTest");
    connect(test, &QPushButton::clicked, this, &TALIKCHK::testModem);
    column->addWidget(test, 0, Qt::AlignRight);
    auto* note = new QLabel("モデム設定等は自動ダイヤル機能を利用する時に必要となります。", frame);
    note->setObjectName("Label2");
    note->setWordWrap(true);
    column->addWidget(note);
    return frame;
}

QWidget* TALIKCHK::buildSenders()
{
    auto* frame = new QGroupBox("はがきの差出人", this);
    auto* form = new QFormLayout(frame);
    for (std::size_t i = 0; i < SenderBoxes.size(); ++i) {
        form->addRow(SenderCaptions[i], textBox(SenderBoxes[i], SenderTextBytes));
    }
    // Both postal-code boxes take numbers only.
    AcceptDigitKeysOnly(m_text[19]);
    AcceptDigitKeysOnly(m_text[24]);
    return frame;
}

QWidget* TALIKCHK::buildListAndFolder()
{
    auto* frame = new QGroupBox("一覧とデータ", this);
    auto* form = new QFormLayout(frame);
    m_font = new QComboBox(frame);
    m_font->setObjectName("Combo1");
    form->addRow("一覧のフォント名", m_font);
    form->addRow("サイズ", textBox(FontSizeBox, 3));
    AcceptDigitKeysOnly(m_text[FontSizeBox]);
    m_sample = new QLabel(Qs(FontSampleText), frame);
    m_sample->setObjectName("FontSample");
    // The sample wraps and its row grows with the size, up to a limit: a very large sample must not
    // push the other controls off the screen, so beyond it the sample is clipped.
    m_sample->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    m_sample->setWordWrap(true);
    m_sample->setFixedHeight(SampleHeight(m_sample->font()));
    form->addRow("見本", m_sample);
    auto* folderRow = new QHBoxLayout;
    folderRow->addWidget(textBox(FolderBox, DataFolderBytes));
    // Room for a usual path ("/home/…/.local/share/talik/") without scrolling it.
    m_text[FolderBox]->setMinimumWidth(m_text[FolderBox]->fontMetrics().averageCharWidth() * 40);
    auto* browse = new QPushButton("参照", frame);
    browse->setObjectName("Command3");
    folderRow->addWidget(browse);
    form->addRow("データパス名", folderRow);
    connect(browse, &QPushButton::clicked, this, &TALIKCHK::chooseFolder);
    connect(m_font, &QComboBox::currentTextChanged, this, &TALIKCHK::showFontSample);
    connect(m_text[FontSizeBox], &QLineEdit::textChanged, this, &TALIKCHK::showFontSample);
    return frame;
}

QWidget* TALIKCHK::buildDoubleClick()
{
    auto* frame = new QGroupBox("ダブルクリック時の動作", this);
    auto* column = new QVBoxLayout(frame);
    m_doubleClick = OptionGroup(frame, column, "Option3", {"内容変更", "内容表示", "電話", "選択印刷", "E-Mail"});
    return frame;
}

QWidget* TALIKCHK::buildSwitches()
{
    auto* frame = new QGroupBox("動作設定", this);
    auto* column = new QVBoxLayout(frame);
    m_endCheck = Switch(frame, column, "Check2", "終了時の確認メッセージを表示しない");
    m_taskTray = Switch(frame, column, "Check3", "タスクトレイに常駐する");
    m_useHarupo = Switch(frame, column, "Check4", "住所入力に「Harupo」を利用する");
    m_harupoRun = Switch(frame, column, "Check5", "「Harupo」を自動起動しない");
    m_extTel = Switch(frame, column, "Check7", "外線コールを常にチェック状態にする");
    column->addStretch();
    connect(m_useHarupo, &QCheckBox::toggled, m_harupoRun, &QWidget::setEnabled);
    connect(m_taskTray, &QCheckBox::clicked, this, [this] {
        if (m_filled) {
            m_state.ui.message(std::string(TaskTrayNotice), MessageIcon::None);
        }
    });
    return frame;
}

QWidget* TALIKCHK::buildButtons()
{
    auto* row = new QWidget(this);
    auto* layout = new QHBoxLayout(row);
    auto* columns = new QPushButton("表示項目選択", row);
    columns->setObjectName("Command1");
    auto* store = new QPushButton("登録", row);
    store->setObjectName("Command2_0");
    auto* cancel = new QPushButton("取り消し", row);
    cancel->setObjectName("Command2_1");
    layout->addWidget(columns);
    layout->addStretch();
    layout->addWidget(store);
    layout->addWidget(cancel);
    connect(columns, &QPushButton::clicked, this, &TALIKCHK::chooseColumns);
    connect(store, &QPushButton::clicked, this, &TALIKCHK::store);
    connect(cancel, &QPushButton::clicked, this, &TALIKCHK::reject);
    return row;
}

void TALIKCHK::fill()
{
    const EnvironmentValues v = EnvironmentFromSettings(m_state.settings);
    for (int i = 0; i < 15; ++i) {
        m_text[i]->setText(Qs(v.AddressCheck[i]));
    }
    m_text[InitBox]->setText(Qs(v.ComInitChar));
    m_text[OutsideLineBox]->setText(Qs(v.ComExtTel));
    const std::array<const std::string*, 6> senders{&v.FromAddr,  &v.FromName,  &v.FromPost,
                                                    &v.FromAddr1, &v.FromName1, &v.FromPost1};
    for (std::size_t i = 0; i < SenderBoxes.size(); ++i) {
        m_text[SenderBoxes[i]]->setText(Qs(*senders[i]));
    }
    m_text[FolderBox]->setText(Qs(v.DataFolder));
    m_text[FontSizeBox]->setText(Qs(v.ListFontSize));
    m_font->addItems(FontChoices(Qs(v.ListFontName)));
    m_font->setCurrentText(Qs(v.ListFontName));
    m_port->button(v.ComPort - 1)->setChecked(true);
    m_lineType->button(v.ComTelType - 1)->setChecked(true);
    m_doubleClick->button(v.DBLClickOPT - 1)->setChecked(true);
    m_endCheck->setChecked(v.End_Check);
    m_taskTray->setChecked(v.TaskTray);
    m_useHarupo->setChecked(v.UseHarupo);
    m_harupoRun->setChecked(v.HarupoAutoStartOff);
    m_harupoRun->setEnabled(v.UseHarupo);
    m_extTel->setChecked(v.ExtTelFlag);
    showFontSample();
    m_filled = true;
}

EnvironmentValues TALIKCHK::edited() const
{
    EnvironmentValues v;
    for (int i = 0; i < 15; ++i) {
        v.AddressCheck[i] = Us(m_text[i]->text());
    }
    v.ComInitChar = Us(m_text[InitBox]->text());
    v.ComExtTel = Us(m_text[OutsideLineBox]->text());
    std::array<std::string*, 6> senders{&v.FromAddr,  &v.FromName,  &v.FromPost,
                                        &v.FromAddr1, &v.FromName1, &v.FromPost1};
    for (std::size_t i = 0; i < SenderBoxes.size(); ++i) {
        *senders[i] = Us(m_text[SenderBoxes[i]]->text());
    }
    v.DataFolder = Us(m_text[FolderBox]->text());
    v.ListFontName = Us(m_font->currentText());
    v.ListFontSize = Us(m_text[FontSizeBox]->text());
    v.ComPort = m_port->checkedId() + 1;
    v.ComTelType = m_lineType->checkedId() + 1;
    v.DBLClickOPT = m_doubleClick->checkedId() + 1;
    v.End_Check = m_endCheck->isChecked();
    v.TaskTray = m_taskTray->isChecked();
    v.UseHarupo = m_useHarupo->isChecked();
    v.HarupoAutoStartOff = m_harupoRun->isChecked();
    v.ExtTelFlag = m_extTel->isChecked();
    return v;
}

void TALIKCHK::showFontSample()
{
    QFont font(m_font->currentText());
    const std::optional<int> size = ListFontSizeOf(Us(m_text[FontSizeBox]->text()));
    font.setPointSize(size.value_or(m_state.settings.ListFontSize > 0 ? m_state.settings.ListFontSize : 10));
    m_sample->setFont(font);
    m_sample->setFixedHeight(SampleHeight(font));
}

void TALIKCHK::chooseFolder()
{
    std::string start = Us(m_text[FolderBox]->text().trimmed());
    if (start.empty() || start.front() == '*') {
        start = m_state.DataPath;
    }
    if (std::optional<std::string> folder = m_state.ui.chooseFolder("データパス名", start)) {
        m_text[FolderBox]->setText(Qs(*folder));
    }
}

void TALIKCHK::chooseColumns()
{
    TALIKSET columns(m_state, this);
    columns.exec();
    m_columnsChanged = m_columnsChanged || columns.columnsChanged();
}

void TALIKCHK::testModem()
{
    const int port = m_port->checkedId() + 1;
    PosixSerialPort serial;
    const ModemTestResult result =
        RunModemTest(serial, m_state.clock, m_state.ui, port, Us(m_text[InitBox]->text().trimmed()));
    const bool fine = result.outcome == ModemTestOutcome::Answered;
    m_state.ui.message(ModemTestMessage(result, port), fine ? MessageIcon::Information : MessageIcon::Exclamation,
                       "モデムテスト");
}

void TALIKCHK::store()
{
    m_stored = StoreEnvironment(m_state, edited());
    switch (m_stored.outcome) {
    case StoreOutcome::Stored:
        accept();
        return;
    case StoreOutcome::BadFolder:
        m_text[FolderBox]->setFocus();
        return;
    case StoreOutcome::BadFontSize:
        m_text[FontSizeBox]->setFocus();
        return;
    case StoreOutcome::NotWritten:
        return;
    }
}

void TALIKCHK::reject()
{
    m_state.EditStatus = ' ';
    QDialog::reject();
}

void TALIKCHK::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    CentreForm(this);
}

} // namespace talik
