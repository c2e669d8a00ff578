#include "search/TALIKSRC.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTimer>
#include <QTreeView>

#include <array>

#include "dbadmin/TALIKDMV.h"
#include "dial/TALIKSTL.h"
#include "dial/dialrequest.h"
#include "editor/TALIK01.h"
#include "editor/TALIKCHI.h"
#include "editor/popupcommands.h"
#include "editor/recordlist.h"
#include "interchange/csvexport.h"
#include "interchange/exportrun.h"
#include "interchange/vcardexport.h"
#include "listwin/appstate.h"
#include "listwin/listsync.h"
#include "listwin/listviewmodel.h"
#include "listwin/listviewsetup.h"
#include "listwin/seasonlist.h"
#include "print/printdialogs.h"
#include "print/printwork.h"
#include "search/resultwindow.h"
#include "store/database.h"
#include "ui/formhelpers.h"
#include "ui/progress.h"
#include "ui/qtinteraction.h"
#include "ui/readiness.h"
#include "ui/units.h"

namespace talik {
namespace {

constexpr TwipRect ButtonFrameSize{0, 0, 1600, 5400};
constexpr TwipRect JumpFrameSize{0, 0, 3000, 600};
constexpr const char* ResultTitle = "検索結果";

} // namespace

TALIKSRC::TALIKSRC(AppState& state, Launcher& launcher, QWidget* parent, const Readiness& ready)
    : QDialog(parent), m_state(state), m_launcher(launcher), m_ready(ready),
      m_model(new ListViewModel(m_results, this)), m_list(new QTreeView(this)), m_countLine(new QLabel(this)),
      m_searching(new QLabel(this)), m_buttonFrame(NewControlFrame(this)), m_jumpFrame(NewControlFrame(this)),
      m_jumpCaption(new QLabel("カナ名直接頭出し", m_jumpFrame)), m_jump(new QLineEdit(m_jumpFrame)),
      m_recordMenu(BuildRecordMenu(this, "SPM", "SPM", ready)),
      m_printMenu(BuildPrintMenu(this, "SPM2", "SPMPrt2", ready)),
      m_telephoneMenu(BuildTelephoneMenu(this, "SPM3", "SPMBTel"))
{
    setObjectName("TALIKSRC");
    setWindowTitle(ResultTitle);
    m_results.sortOn(0);
    buildControls();
    buildButtons();
    addBulkMailExtras();
    addSeasonNarrowing();
    connectControls();
    connectRecordCommands();
    // The button column and the jump box below the list fit at the smallest size.
    setMinimumSize(px(MinResultWidth + m_buttonFrameWidth - ButtonFrameSize.width),
                   std::max(px(MinResultHeight), m_buttonFrame->height() + px(100 + 100)));
    applyOpeningGeometry();
    CaptionCopyEntries(m_recordMenu, state.settings);
    setHitButtons(false);
    setRecordButtons({});
    for (QWidget* child : findChildren<QWidget*>()) {
        if (qobject_cast<QMenu*>(child) == nullptr) {
            child->installEventFilter(this);
        }
    }
    FollowListKeys(m_list, [this] { selectCurrentRow(); });
    m_follow.emplace(state.changes, [this](const RecordChanges& changes) {
        ReflectInResults(m_state, m_results, changes, m_editing);
        m_model->refresh();
    });
}

TALIKSRC::~TALIKSRC()
{
    // The result list goes before the view does: the view must not read it any more.
    m_list->setModel(nullptr);
}

int TALIKSRC::px(int twips) const
{
    return TwipsToPixels(twips, logicalDpiX());
}

void TALIKSRC::buildControls()
{
    SetUpAddressList(m_list, m_model, m_state);
    m_countLine->setObjectName("Label1");
    m_searching->setObjectName("Label4");
    m_searching->setText(QString(8, '\n') + "データ検索中．．．");
    m_searching->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    m_searching->setAutoFillBackground(true);
    m_buttonFrame->setObjectName("Frame1");
    m_jumpFrame->setObjectName("Frame2");
    m_jumpCaption->setObjectName("Label6");
    m_jump->setObjectName("Text1");
    m_jumpCaption->setGeometry(px(100), px(180), px(1500), px(300));
    m_jump->setGeometry(px(1650), px(130), px(1250), px(380));
    m_jumpFrame->resize(px(JumpFrameSize.width), px(JumpFrameSize.height));
}

void TALIKSRC::buildButtons()
{
    struct ButtonDef
    {
        QPushButton* TALIKSRC::*slot;
        const char* name;
        const char* caption;
    };
    static constexpr ButtonDef Buttons[] = {
        {&TALIKSRC::m_back, "Command1", "戻る"},
        {&TALIKSRC::m_change, "Command3", "内容変更"},
        {&TALIKSRC::m_deleteSelected, "Command2", "選択削除"},
        {&TALIKSRC::m_printSelection, "Command4", "選択印刷"},
        {&TALIKSRC::m_telephone, "Command5", "電話"},
        {&TALIKSRC::m_mail, "Command10", "E-Mail送信"},
        {&TALIKSRC::m_addSearch, "Command7_0", "追加検索"},
        {&TALIKSRC::m_narrowSearch, "Command7_1", "絞込み検索"},
        {&TALIKSRC::m_excludeSearch, "Command7_2", "除外検索"},
        {&TALIKSRC::m_printAll, "Command6_0", "検索全件印刷"},
        {&TALIKSRC::m_printFromSelection, "Command6_1", "選択以降印刷"},
        {&TALIKSRC::m_csvExport, "Command8", "ＣＳＶ出力"},
        {&TALIKSRC::m_vcardExport, "CommandVcard", "vCard出力"},
        {&TALIKSRC::m_batchSet, "Command9_0", "一括項目設定"},
        {&TALIKSRC::m_batchClear, "Command9_1", "一括項目取消し"},
        {&TALIKSRC::m_moveCopy, "Command11", "移動／複写"},
        {&TALIKSRC::m_deleteAll, "Command12", "全件削除"},
        {&TALIKSRC::m_mailAll, "Command13", "Mail一括送信"},
    };
    int top = 150;
    for (const ButtonDef& def : Buttons) {
        auto* button = new QPushButton(def.caption, m_buttonFrame);
        button->setObjectName(def.name);
        button->setGeometry(px(80), px(top), px(1440), px(290));
        this->*def.slot = button;
        top += 305;
    }
    m_buttonFrame->resize(px(ButtonFrameSize.width), px(top + 100));
}

// Beside bulk mail: BCC (remembered for the run: a whole result list in To shows every address to
// every recipient) and the joined addresses to the clipboard, for webmail.
void TALIKSRC::addBulkMailExtras()
{
    m_mailBcc = new QCheckBox("宛先を BCC にする", m_buttonFrame);
    m_mailBcc->setObjectName("CheckBcc");
    m_mailBcc->setChecked(m_state.BulkMailBcc);
    m_copyAddresses = new QPushButton("アドレスをコピー", m_buttonFrame);
    m_copyAddresses->setObjectName("CommandCopyMail");
    int top = m_buttonFrame->height() - px(100);
    m_mailBcc->setGeometry(px(80), top, px(1440), px(290));
    m_copyAddresses->setGeometry(px(80), top + px(305), px(1440), px(290));
    m_buttonFrame->resize(m_buttonFrame->width(), top + px(610) + px(100));
    fitButtonColumn();
    connect(m_mailBcc, &QCheckBox::toggled, this, [this](bool on) { m_state.BulkMailBcc = on; });
}

// The column as wide as its widest caption ("宛先を BCC にする" in a larger font), never narrower than
// its usual width; the window's minimum then holds the whole column.
void TALIKSRC::fitButtonColumn()
{
    int widest = px(1440);
    for (QWidget* control : m_buttonFrame->findChildren<QWidget*>()) {
        widest = std::max(widest, control->sizeHint().width());
    }
    for (QWidget* control : m_buttonFrame->findChildren<QWidget*>()) {
        control->resize(widest, control->height());
    }
    m_buttonFrame->resize(widest + px(160), m_buttonFrame->height());
    m_buttonFrameWidth = PixelsToTwips(m_buttonFrame->width(), logicalDpiX());
}

// Below the column: the results narrowed to one of the card season's groups (this year's
// recipients, those who sent one, and so on), as a narrowing search narrows them by a condition.
void TALIKSRC::addSeasonNarrowing()
{
    m_seasonNarrow = new QPushButton("年賀状で絞込み", m_buttonFrame);
    m_seasonNarrow->setObjectName("CommandSeason");
    m_seasonMenu = new QMenu(this);
    m_seasonMenu->setObjectName("SPMSeason");
    for (std::size_t i = 0; i < std::size(SeasonFilterChoices); ++i) {
        QAction* entry = m_seasonMenu->addAction(QString::fromUtf8(SeasonFilterChoices[i].caption));
        entry->setObjectName(QString("SPMSeason_%1").arg(i));
        const SeasonFilter filter = SeasonFilterChoices[i].filter;
        connect(entry, &QAction::triggered, this, [this, filter] { narrowBySeason(filter); });
    }
    connect(m_seasonNarrow, &QPushButton::clicked, this, [this] { PopupBelow(m_seasonMenu, m_seasonNarrow); });
    int top = m_buttonFrame->height() - px(100);
    m_seasonNarrow->setGeometry(px(80), top, px(1440), px(290));
    m_buttonFrame->resize(m_buttonFrame->width(), top + px(305) + px(100));
    fitButtonColumn();
}

void TALIKSRC::narrowBySeason(SeasonFilter filter)
{
    NarrowBySeason(m_state, m_results, filter);
    m_results.select(std::nullopt);
    m_model->refresh();
    m_countLine->setText(Qs(SearchCountLine(m_state, static_cast<int>(m_results.size()))));
    const bool hits = !m_results.empty();
    setHitButtons(hits);
    if (hits) {
        m_list->selectionModel()->setCurrentIndex(m_model->index(0, 0), QItemSelectionModel::NoUpdate);
    }
    setRecordButtons({});
}

void TALIKSRC::connectRecordCommands()
{
    m_records = std::make_unique<RecordListController>(
        m_state, m_launcher, this,
        RecordListController::Parts{m_results, m_list, m_recordMenu, m_telephoneMenu, m_telephone, m_mail},
        [this] { return m_ready.mailRecord || m_ready.mailSelection; });
    m_records->connectRecordCommands();
    connect(m_mailAll, &QPushButton::clicked, this, [this] {
        MailAllListed(m_state, m_launcher, m_results, m_mailBcc->isChecked());
        m_model->refresh(); // the bulk mail walked the selection through the list
    });
    connect(m_copyAddresses, &QPushButton::clicked, this, [this] { CopyAllListedAddresses(m_state, m_results); });
}

void TALIKSRC::connectControls()
{
    connect(m_back, &QPushButton::clicked, this, &QDialog::close);
    connect(m_deleteSelected, &QPushButton::clicked, this, &TALIKSRC::deleteSelected);
    connect(m_change, &QPushButton::clicked, this, [this] { openRecord(' '); });
    connect(m_telephone, &QPushButton::clicked, this, [this] { PopupBelow(m_telephoneMenu.menu, m_telephone); });
    connect(m_deleteAll, &QPushButton::clicked, this, &TALIKSRC::deleteAll);
    connect(m_csvExport, &QPushButton::clicked, this, &TALIKSRC::exportCsv);
    connect(m_vcardExport, &QPushButton::clicked, this, &TALIKSRC::exportVcard);
    connect(m_moveCopy, &QPushButton::clicked, this, [this] {
        TALIKDMV dialog(m_state, m_results, this);
        dialog.exec();
        m_model->refresh();
        m_countLine->setText(Qs(SearchCountLine(m_state, static_cast<int>(m_results.size()))));
        setHitButtons(!m_results.empty()); // a move may have taken every hit
        setRecordButtons({});
    });
    connect(m_addSearch, &QPushButton::clicked, this, [this] { furtherSearch(0); });
    connect(m_narrowSearch, &QPushButton::clicked, this, [this] { furtherSearch(1); });
    connect(m_excludeSearch, &QPushButton::clicked, this, [this] { furtherSearch(2); });
    connect(m_batchSet, &QPushButton::clicked, this, [this] { batchCheckItems(0); });
    connect(m_batchClear, &QPushButton::clicked, this, [this] { batchCheckItems(1); });
    connect(m_list, &QTreeView::pressed, this, [this] { selectCurrentRow(); });
    connect(m_list, &QTreeView::doubleClicked, this, [this] { doubleClickAction(); });
    connect(m_list->header(), &QHeaderView::sectionClicked, this, [this](int column) { m_model->sort(column); });
    connectPrinting();
    connect(m_recordMenu.Edit, &QAction::triggered, this, [this] { openRecord(' '); });
    connect(m_recordMenu.Del, &QAction::triggered, this, &TALIKSRC::deleteSelected);
    for (int slot = 0; slot < 4; ++slot) {
        for (QAction* entry : {m_recordMenu.TelN[slot], m_telephoneMenu.entries[slot]}) {
            connect(entry, &QAction::triggered, this, [this, slot] { dial(slot); });
        }
    }
}

void TALIKSRC::connectPrinting()
{
    connect(m_printSelection, &QPushButton::clicked, this,
            [this] { showPrintMenu(m_printSelection, {}, false, true); });
    connect(m_printAll, &QPushButton::clicked, this, [this] { showPrintMenu(m_printAll, "検索全件 ", true, false); });
    connect(m_printFromSelection, &QPushButton::clicked, this,
            [this] { showPrintMenu(m_printFromSelection, "選択以降 ", false, false); });
    const char kinds[3] = {PrintPostcards, PrintLabels, PrintList};
    for (int i = 0; i < 3; ++i) {
        connect(m_printMenu.entries[i], &QAction::triggered, this, [this, kind = kinds[i]] { printResults(kind); });
    }
    connect(m_recordMenu.PrtV, &QAction::triggered, this, [this] { printSelected(PrintPostcards); });
    connect(m_recordMenu.PrtW, &QAction::triggered, this, [this] { printSelected(PrintLabels); });
}

void TALIKSRC::showPrintMenu(QPushButton* button, const QString& prefix, bool fromFirst, bool selectedOnly)
{
    const int selected = m_results.selected() ? static_cast<int>(*m_results.selected()) : 0;
    m_printFirst = fromFirst ? 0 : selected;
    m_printOneOnly = selectedOnly;
    m_printMenu.entries[0]->setText(prefix + "はがき印刷");
    m_printMenu.entries[1]->setText(prefix + "タックシール印刷");
    m_printMenu.entries[2]->setVisible(fromFirst);
    m_state.PrintKind = ' ';
    PopupBelow(m_printMenu.menu, button);
}

void TALIKSRC::printResults(char kind)
{
    const int last = m_printOneOnly ? m_printFirst : static_cast<int>(m_results.size()) - 1;
    PrintRecords(m_state, kind, m_results, m_printFirst, last, this, m_ready);
}

void TALIKSRC::printSelected(char kind)
{
    if (m_results.selected()) {
        const int position = static_cast<int>(*m_results.selected());
        PrintRecords(m_state, kind, m_results, position, position, this, m_ready);
    }
}

void TALIKSRC::applyOpeningGeometry()
{
    PlaceWindow(this, ResultWindowGeometry(m_state.settings.SearchWindow));
}

void TALIKSRC::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    double dpi = logicalDpiX();
    auto rect = [this](const TwipRect& r) { return QRect(px(r.left), px(r.top), px(r.width), px(r.height)); };
    ResultWindowLayout layout =
        LayoutResultWindow(PixelsToTwips(width(), dpi), PixelsToTwips(height(), dpi),
                           {0, 0, m_buttonFrameWidth, PixelsToTwips(m_buttonFrame->height(), dpi)}, JumpFrameSize);
    m_list->setGeometry(rect(layout.list));
    m_countLine->setGeometry(rect(layout.countLabel));
    m_searching->setGeometry(rect(layout.loadingLabel));
    m_buttonFrame->move(px(layout.buttonFrame.left), px(layout.buttonFrame.top));
    m_jumpFrame->setGeometry(rect(layout.jumpFrame));
    if (m_searched) {
        storeGeometry();
    }
}

void TALIKSRC::storeGeometry()
{
    StoreWindowGeometry(this, m_state.settings.SearchWindow);
}

void TALIKSRC::setHitButtons(bool hits)
{
    m_printAll->setEnabled(hits && m_ready.printAllResults);
    m_narrowSearch->setEnabled(hits);
    m_seasonNarrow->setEnabled(hits);
    m_excludeSearch->setEnabled(hits);
    m_batchSet->setEnabled(hits);
    m_batchClear->setEnabled(hits);
    m_csvExport->setEnabled(hits && m_ready.csvExportResults);
    m_vcardExport->setEnabled(hits && m_ready.vcardExportResults);
}

void TALIKSRC::setRecordButtons(const RecordButtons& buttons)
{
    bool selected = buttons.recordSelected;
    bool listed = !m_results.empty();
    m_deleteSelected->setEnabled(selected);
    m_change->setEnabled(selected);
    m_telephone->setEnabled(selected);
    m_printSelection->setEnabled(selected && m_ready.printSelection);
    m_printFromSelection->setEnabled(selected && m_ready.printFromSelection);
    m_mail->setEnabled(buttons.mailEnabled && m_ready.mailSelection);
    m_moveCopy->setEnabled(listed && m_ready.moveCopyResults);
    m_mailAll->setEnabled(listed && m_ready.mailAllResults);
    m_mailBcc->setEnabled(listed && m_ready.mailAllResults);
    m_copyAddresses->setEnabled(listed && m_ready.mailAllResults);
    m_deleteAll->setEnabled(listed);
    EnableRecordMenu(m_recordMenu, buttons);
}

void TALIKSRC::runSearch()
{
    m_searched = true;
    setWindowTitle("検索中...");
    m_searching->show();
    m_searching->raise();
    m_list->hide();
    QApplication::processEvents();
    if (m_session.kind == SearchKind::Narrow || m_session.kind == SearchKind::Exclude) {
        setRecordButtons({});
    }
    SearchOutcome outcome = RunSearch(m_state, m_session, m_results);
    m_model->refresh();
    m_searching->hide();
    m_list->show();
    setWindowTitle(ResultTitle);
    m_countLine->setText(Qs(SearchCountLine(m_state, static_cast<int>(m_results.size()))));
    bool hits = !m_results.empty();
    setHitButtons(hits);
    if (hits) {
        m_list->selectionModel()->setCurrentIndex(m_model->index(0, 0), QItemSelectionModel::NoUpdate);
    }
    setRecordButtons({});
    (void)outcome;
}

void TALIKSRC::furtherSearch(int kind)
{
    static constexpr SearchKind Kinds[3] = {SearchKind::Add, SearchKind::Narrow, SearchKind::Exclude};
    m_state.CurRecNo = 0;
    m_state.EditStatus = ' ';
    TALIK01 editor(m_state, true, this, m_ready);
    editor.exec();
    m_session.kind = Kinds[kind];
    m_jump->clear();
    if (m_state.EditStatus == 'S') {
        runSearch();
    }
    m_jump->setFocus();
}

void TALIKSRC::batchCheckItems(int mode)
{
    TALIKCHI picker(m_state, this);
    if (mode == 0) {
        picker.setMessage("一括設定したい項目をチェックしてください。", 0xFF0000);
        picker.setWindowTitle("検索全件一括項目設定");
    } else {
        picker.setMessage("一括取消ししたい項目をチェックしてください。", 0x0000FF);
        picker.setWindowTitle("検索全件一括項目取消し");
    }
    picker.exec();
    if (m_state.EditStatus == ' ') {
        return;
    }
    std::array<bool, 15> items{};
    for (int i = 0; i < 15; ++i) {
        items[i] = m_state.Rec.CheckItems[i] == '1';
    }
    ApplyCheckItems(m_state, m_results, items, mode == 0);
}

void TALIKSRC::selectCurrentRow()
{
    if (std::optional<RecordButtons> buttons = m_records->selectCurrentRow()) {
        setRecordButtons(*buttons);
    }
}

void TALIKSRC::openRecord(char status)
{
    m_editing = true;
    const bool saved = EditSelected(m_state, m_results, status, this, m_ready);
    m_editing = false;
    if (!saved) {
        return;
    }
    m_results.select(std::nullopt);
    m_model->refresh();
    setRecordButtons({});
}

void TALIKSRC::deleteSelected()
{
    if (!m_results.selected()) {
        return;
    }
    DeleteSelected(m_state, m_results);
    m_model->refresh();
    m_countLine->setText(Qs(SearchCountLine(m_state, static_cast<int>(m_results.size()))));
    setRecordButtons({});
}

void TALIKSRC::deleteAll()
{
    if (DeleteAllListed(m_state, m_results) > 0) {
        m_model->refresh();
        close();
    }
}

void TALIKSRC::exportCsv()
{
    const std::vector<std::int32_t> recNos = RecordsOf(m_results);
    ProgressDialog progress(this, "ＣＳＶデータを出力しています．．．");
    RunExport(m_state, ExportFormat::Csv, ExportScope::Listed, recNos, progress.reporter());
}

void TALIKSRC::exportVcard()
{
    const std::vector<std::int32_t> recNos = RecordsOf(m_results);
    ProgressDialog progress(this, "vCardデータを出力しています．．．");
    RunExport(m_state, ExportFormat::Vcard, ExportScope::Listed, recNos, progress.reporter());
}

void TALIKSRC::dial(int slot)
{
    DialSelected(m_state, m_launcher, m_results, slot, DialFrom::SearchWindow, this);
}

void TALIKSRC::doubleClickAction()
{
    if (!m_results.selected()) {
        return;
    }
    m_records->doubleClick(ResultDoubleClickActionFor(m_state.settings.DBLClickOPT),
                           {[this](char status) { openRecord(status); },
                            [this] {
                                if (m_printSelection->isEnabled()) {
                                    m_printSelection->click();
                                }
                            }});
}

void TALIKSRC::resultJump()
{
    JumpResult jump = ResultJump(m_state, m_results, Us(m_jump->text()));
    if (!jump.reading.empty()) {
        m_jump->setText(Qs(jump.reading));
    }
    m_model->refresh();
    if (jump.found) {
        ShowFoundRow(m_list, static_cast<int>(*jump.found));
        selectCurrentRow();
        m_jump->clear();
    }
}

bool TALIKSRC::handleKey(QKeyEvent* event)
{
    bool shift = event->modifiers() & Qt::ShiftModifier;
    bool ctrl = event->modifiers() & Qt::ControlModifier;
    bool jumpHasText = !m_jump->text().trimmed().isEmpty();
    auto clickIfEnabled = [](QPushButton* button) {
        if (button->isEnabled()) {
            button->click();
        }
    };
    switch (HandleResultKey(ListKeyOfQt(event->key()), shift, ctrl, jumpHasText)) {
    case ResultCommand::PassOn:
        return false;
    case ResultCommand::Jump:
        resultJump();
        break;
    case ResultCommand::DoubleClick:
        doubleClickAction();
        break;
    case ResultCommand::FocusListAndSelect:
        m_list->setFocus();
        selectCurrentRow();
        break;
    case ResultCommand::AddSearch:
        clickIfEnabled(m_addSearch);
        break;
    case ResultCommand::EMail:
        clickIfEnabled(m_mail);
        break;
    case ResultCommand::PrintSelection:
        clickIfEnabled(m_printSelection);
        break;
    case ResultCommand::TelephoneMenu:
        clickIfEnabled(m_telephone);
        break;
    case ResultCommand::Change:
        clickIfEnabled(m_change);
        break;
    case ResultCommand::Minimise:
        showMinimized();
        break;
    case ResultCommand::RecordMenu:
        m_records->popupRecordMenu();
        break;
    }
    return true;
}

bool TALIKSRC::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && handleKey(static_cast<QKeyEvent*>(event))) {
        return true;
    }
    if (event->type() == QEvent::MouseButtonRelease && watched == m_list->viewport() &&
        static_cast<QMouseEvent*>(event)->button() == Qt::RightButton) {
        m_records->popupRecordMenu(static_cast<QMouseEvent*>(event)->globalPosition().toPoint());
    }
    return QDialog::eventFilter(watched, event);
}

void TALIKSRC::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // The first search starts from showing, not from activation: a window manager need not
    // activate a new window. Queued, so the window paints before the search holds the thread.
    if (!m_firstSearchQueued) {
        m_firstSearchQueued = true;
        QMetaObject::invokeMethod(
            this,
            [this] {
                runSearch();
                m_jump->setFocus();
            },
            Qt::QueuedConnection);
    }
}

bool TALIKSRC::event(QEvent* event)
{
    bool handled = QDialog::event(event);
    if (event->type() == QEvent::WindowActivate) {
        QTimer::singleShot(0, this, [this] {
            if (QApplication::overrideCursor() == nullptr) {
                m_jump->setFocus();
            }
        });
    }
    return handled;
}

void TALIKSRC::closeEvent(QCloseEvent* event)
{
    storeGeometry();
    QDialog::closeEvent(event);
}

} // namespace talik
