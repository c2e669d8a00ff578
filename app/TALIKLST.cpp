#include "app/TALIKLST.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTimer>
#include <QTreeView>
#include <QWindow>
#include <malloc.h>

#include "app/TALIKIN.h"
#include "app/startup.h"
#include "app/syncroomsource.h"
#include "dbadmin/TALIKBKP.h"
#include "dbadmin/TALIKDBS.h"
#include "dbadmin/TALIKSTP.h"
#include "dbadmin/dbnames.h"
#include "dial/TALIKSTL.h"
#include "dial/dialrequest.h"
#include "editor/TALIK01.h"
#include "editor/popupcommands.h"
#include "editor/recordlist.h"
#include "interchange/TALIKDUP.h"
#include "interchange/csvexport.h"
#include "interchange/csvimportflow.h"
#include "interchange/exportrun.h"
#include "interchange/vcardexport.h"
#include "interchange/vcardimportflow.h"
#include "listwin/appstate.h"
#include "listwin/busyrun.h"
#include "listwin/indexpanel.h"
#include "listwin/inputgate.h"
#include "listwin/listsync.h"
#include "listwin/listviewmodel.h"
#include "listwin/listviewsetup.h"
#include "listwin/seasonlist.h"
#include "print/printdialogs.h"
#include "print/printwork.h"
#include "search/TALIKSRC.h"
#include "store/database.h"
#include "store/deleteall.h"
#include "sync/syncoption.h"
#include "ui/formhelpers.h"
#include "ui/progress.h"
#include "ui/qtinteraction.h"
#include "ui/readiness.h"
#include "ui/units.h"

namespace talik {
namespace {

constexpr int StatusHintMs = 1000;
constexpr int SeasonColumnTwips = 900; // room for all four marks
constexpr TwipRect JumpFrameSize{0, 0, 2900, 650};
constexpr TwipRect ButtonFrameSize{0, 0, 6900, 650};

QPushButton* Button(QWidget* parent, const char* name, const QString& caption)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    return button;
}

} // namespace

TALIKLST::TALIKLST(AppState& state, Launcher& launcher, TALIKIN* startForm, QWidget* parent, const Readiness& ready)
    : QWidget(parent), m_state(state), m_launcher(launcher), m_ready(ready), m_startForm(startForm),
      m_model(new ListViewModel(state.MainList, this)), m_list(new QTreeView(this)), m_panel(new IndexPanel(this)),
      m_label1(new QLabel(this)), m_label3(new QLabel(this)), m_label4(new QLabel("データ設定中．．．", this)),
      m_label5(new QLabel(this)), m_frame1(NewControlFrame(this)), m_label6(new QLabel("カナ名直接頭出し", m_frame1)),
      m_jump(new QLineEdit(m_frame1)), m_frame2(NewControlFrame(this)), m_timer1(new QTimer(this)),
      m_menus(BuildListMenus(this, ready)),
      m_syncRoom(std::make_unique<SyncRoomSource>(SyncRoomModulePath(state.ProgramFolder)))
{
    setObjectName("TALIKLST");
    setWindowTitle(Qs(MainWindowTitle(state.Mode)));
    setWindowIcon(AppIcon());
    buildControls();
    buildFrames();
    connectControls();
    connectMenus();
    setMinimumSize(px(MinWindowWidth), px(MinWindowHeight));
    applyOpeningGeometry();
    for (QWidget* child : findChildren<QWidget*>()) {
        if (qobject_cast<QMenu*>(child) == nullptr) {
            child->installEventFilter(this);
        }
    }
    FollowListKeys(m_list, [this] { selectCurrentRow(); });
    // Nothing the user does may reach the window while an import or export runs.
    new InputGate(this, m_state.Busy);
    // The window opens with the focus in the jump box: a reading typed at once is not lost.
    m_jump->setFocus();
}

int TALIKLST::px(int twips) const
{
    return TwipsToPixels(twips, logicalDpiX());
}

QRect TALIKLST::toPixels(const TwipRect& rect) const
{
    return {px(rect.left), px(rect.top), px(rect.width), px(rect.height)};
}

void TALIKLST::buildControls()
{
    SetUpAddressList(m_list, m_model, m_state);

    m_label1->setObjectName("Label1");
    m_label3->setObjectName("Label3");
    m_label4->setObjectName("Label4");
    m_label4->setAlignment(Qt::AlignCenter);
    m_label4->setAutoFillBackground(true);
    m_label4->hide();
    m_label5->setObjectName("Label5");
    showCountColours();
    m_label6->setObjectName("Label6");
    m_timer1->setObjectName("Timer1");
    m_timer1->setSingleShot(true);
    m_timer1->setInterval(StatusHintMs);
}

void TALIKLST::buildFrames()
{
    m_frame1->setObjectName("Frame1");
    m_jump->setObjectName("Text1");
    m_label6->setGeometry(px(100), px(200), px(1500), px(300));
    m_jump->setGeometry(px(1600), px(150), px(1200), px(380));
    m_frame1->resize(px(JumpFrameSize.width), px(JumpFrameSize.height));

    m_frame2->setObjectName("Frame2");
    m_new = Button(m_frame2, "Command3", "新規登録");
    m_change = Button(m_frame2, "Command2", "内容変更");
    m_delete = Button(m_frame2, "Command1", "削除");
    m_telephone = Button(m_frame2, "Command5", "電話");
    m_mail = Button(m_frame2, "Command8", "E-Mail");
    m_print = Button(m_frame2, "Command9", "全件印刷");
    m_close = Button(m_frame2, "Command4", "終了");
    int left = 60;
    for (QPushButton* button : {m_new, m_change, m_delete, m_telephone, m_mail, m_print, m_close}) {
        button->setGeometry(px(left), px(150), px(940), px(420));
        left += 970;
    }
    m_frame2->resize(px(ButtonFrameSize.width), px(ButtonFrameSize.height));

    setRecordButtons({});
}

void TALIKLST::buildColumns()
{
    BuildAddressColumns(m_list, m_model, m_state);
    if (m_state.settings.SeasonView == 0) {
        m_model->setComputedColumn(-1, {});
        return;
    }
    // The card marks follow the chosen columns, never taking the place of one.
    QStringList headers = m_model->headers();
    std::vector<int> widths;
    for (int i = 0; i < headers.size(); ++i) {
        widths.push_back(m_list->header()->sectionSize(i));
    }
    headers << Qs(SeasonColumnLabel);
    m_model->setHeaders(headers);
    for (int i = 0; i < static_cast<int>(widths.size()); ++i) {
        m_list->header()->resizeSection(i, widths[static_cast<std::size_t>(i)]);
    }
    m_list->header()->resizeSection(static_cast<int>(widths.size()), px(SeasonColumnTwips));
    m_model->setComputedColumn(static_cast<int>(widths.size()),
                               [this](const std::string& key) { return Qs(SeasonLettersOfKey(m_state.season, key)); });
}

void TALIKLST::connectControls()
{
    connect(m_panel, &IndexPanel::tabClicked, this, &TALIKLST::showTab);
    connect(m_list->header(), &QHeaderView::sectionClicked, this, [this](int column) {
        m_model->sort(column);
        m_state.MainList.sortOn(static_cast<std::size_t>(column));
    });
    connect(m_list, &QTreeView::pressed, this, [this] { selectCurrentRow(); });
    connect(m_list, &QTreeView::doubleClicked, this, [this] { doubleClickAction(); });
    connect(m_delete, &QPushButton::clicked, this, &TALIKLST::deleteSelected);
    connect(m_new, &QPushButton::clicked, this, &TALIKLST::newRecord);
    connect(m_panel->searchButton(), &QPushButton::clicked, this, &TALIKLST::search);
    connect(m_change, &QPushButton::clicked, this, [this] { openRecord(' '); });
    connect(m_telephone, &QPushButton::clicked, this, [this] { PopupBelow(m_menus.PPM7.menu, m_telephone); });
    connect(m_print, &QPushButton::clicked, this, [this] { PopupBelow(m_menus.PPM6.menu, m_print); });
    connect(m_close, &QPushButton::clicked, this, &QWidget::close);
    connect(m_timer1, &QTimer::timeout, this, [this] {
        showCountColours();
        showCounts();
    });
}

void TALIKLST::connectMenus()
{
    for (int i = 0; i < 10; ++i) {
        connect(m_menus.PMDB[i], &QAction::triggered, this, [this, i] { switchDatabase(i); });
    }
    connect(m_menus.PPM2, &QMenu::aboutToShow, this, [this] {
        for (int i = 0; i < 10; ++i) {
            m_menus.PMDB[i]->setText(Qs(MenuText(m_state.settings.AddrDBName[i])));
            m_menus.PMDB[i]->setChecked(i + 1 == m_state.DbNo);
        }
    });
    for (int i = 0; i < 2; ++i) {
        connect(m_menus.PMList[i], &QAction::triggered, this, [this, i] { switchListMode(i); });
    }
    connect(m_menus.PPM3, &QMenu::aboutToShow, this, [this] {
        int mode = m_state.listMode == ListMode::Row ? 1 : 0;
        m_menus.PMList[0]->setChecked(mode == 0);
        m_menus.PMList[1]->setChecked(mode == 1);
        const bool season = m_state.settings.SeasonView != 0;
        m_menus.PMSeason->setChecked(season);
        m_menus.PMSeasonFilter->setEnabled(season);
        for (std::size_t i = 0; i < m_menus.PMSeasonFilterN.size(); ++i) {
            const std::optional<SeasonFilter> filter = m_state.season.filter;
            m_menus.PMSeasonFilterN[i]->setChecked(i == 0 ? !filter : filter == SeasonFilterChoices[i - 1].filter);
        }
    });
    connect(m_menus.PMSeason, &QAction::triggered, this, &TALIKLST::setSeasonView);
    for (std::size_t i = 0; i < m_menus.PMSeasonFilterN.size(); ++i) {
        const std::optional<SeasonFilter> filter =
            i == 0 ? std::nullopt : std::optional<SeasonFilter>(SeasonFilterChoices[i - 1].filter);
        connect(m_menus.PMSeasonFilterN[i], &QAction::triggered, this, [this, filter] { chooseSeasonFilter(filter); });
    }
    connect(m_menus.PMSeasonSum, &QAction::triggered, this, &TALIKLST::showSeasonSummary);
    connect(m_menus.PPM4.Del, &QAction::triggered, this, &TALIKLST::deleteSelected);
    connect(m_menus.PPM4.Edit, &QAction::triggered, this, [this] { openRecord(' '); });
    for (int slot = 0; slot < 4; ++slot) {
        for (QAction* entry : {m_menus.PPM4.TelN[slot], m_menus.PPM7.entries[slot]}) {
            connect(entry, &QAction::triggered, this, [this, slot] { dial(slot); });
        }
    }
    connect(m_menus.PPCSVOut, &QAction::triggered, this, &TALIKLST::exportAllCsv);
    connect(m_menus.PPM4.PrtV, &QAction::triggered, this, [this] { printFromList(PrintPostcards); });
    connect(m_menus.PPM4.PrtW, &QAction::triggered, this, [this] { printFromList(PrintLabels); });
    connect(m_menus.PPM6.menu, &QMenu::aboutToShow, this, &TALIKLST::shapePrintMenu);
    connect(m_menus.PPM6.entries[0], &QAction::triggered, this, [this] { printFromList(PrintPostcards); });
    connect(m_menus.PPM6.entries[1], &QAction::triggered, this, [this] { printFromList(PrintLabels); });
    connect(m_menus.PPM6.entries[2], &QAction::triggered, this, [this] { printFromList(PrintList); });
    connect(m_menus.PPHelp, &QAction::triggered, this, [this] { OpenHelp(m_state, m_launcher); });
    connect(m_menus.PPCSVIn, &QAction::triggered, this, &TALIKLST::importCsv);
    connect(m_menus.PPSet, &QAction::triggered, this, &TALIKLST::openEnvironmentSettings);
    connect(m_menus.PMDBChk, &QAction::triggered, this, &TALIKLST::openCheckItemNames);
    connect(m_menus.PPVCardOut, &QAction::triggered, this, &TALIKLST::exportAllVcard);
    connect(m_menus.PPVCardIn, &QAction::triggered, this, &TALIKLST::importVcard);
    connect(m_menus.PPDup, &QAction::triggered, this, &TALIKLST::reviewDuplicates);
    connect(m_menus.PPBackup, &QAction::triggered, this, [this] { backupOrRestore(true); });
    connect(m_menus.PPRestore, &QAction::triggered, this, [this] { backupOrRestore(false); });
    connect(m_menus.PPSyncSet, &QAction::triggered, this, &TALIKLST::openSyncAccount);
    connect(m_menus.PPSyncNow, &QAction::triggered, this, &TALIKLST::syncNow);
    m_menus.PPSyncAuto->setChecked(ReadSyncAtStartAndExit(m_state));
    connect(m_menus.PPSyncAuto, &QAction::triggered, this, &TALIKLST::setSyncAtStartAndExit);
    connect(m_menus.PMDBSet, &QAction::triggered, this, &TALIKLST::nameDatabases);
    connect(m_menus.PMDBPWSet, &QAction::triggered, this, &TALIKLST::setDatabasePassword);
    CaptionCopyEntries(m_menus.PPM4, m_state.settings);
    connectRecordCommands();
}

void TALIKLST::connectRecordCommands()
{
    m_records = std::make_unique<RecordListController>(
        m_state, m_launcher, this,
        RecordListController::Parts{m_state.MainList, m_list, m_menus.PPM4, m_menus.PPM7, m_telephone, m_mail},
        [this] { return m_ready.mailRecord || m_ready.mailFromList; });
    m_records->connectRecordCommands();
    connect(m_menus.PPAllDel, &QAction::triggered, this, &TALIKLST::deleteAllData);
    connect(m_menus.PPVer, &QAction::triggered, this, [this] {
        m_state.MainIdle = false;
        ShowVersionWindow(m_state, m_launcher, m_startForm);
        m_state.MainIdle = true;
    });
}

// Every record of the database gone: the former tab shown again, empty, with its counts.
void TALIKLST::deleteAllData()
{
    m_state.MainIdle = false;
    bool deleted = DeleteAllData(m_state);
    m_state.MainIdle = true;
    if (!deleted) {
        return;
    }
    refillShownTab();
    showCounts();
}

void TALIKLST::applyOpeningGeometry()
{
    WindowGeometry g = m_state.settings.ListWindow;
    g.width = std::max(g.width, MinWindowWidth);
    g.height = std::max(g.height, MinWindowHeight);
    PlaceWindow(this, g);
}

void TALIKLST::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    double dpi = logicalDpiX();
    ListWindowLayout layout =
        LayoutForSize(PixelsToTwips(width(), dpi), PixelsToTwips(height(), dpi), JumpFrameSize, ButtonFrameSize);
    m_list->setGeometry(toPixels(layout.list));
    m_label4->setGeometry(toPixels(layout.loadingLabel));
    m_panel->setGeometry(toPixels(layout.indexPanel));
    m_frame1->setGeometry(toPixels(layout.jumpFrame));
    m_frame2->setGeometry(toPixels(layout.buttonFrame));
    m_label1->setGeometry(px(100), px(60), px(layout.list.width / 2), px(300));
    m_label3->setGeometry(px(100 + layout.list.width / 2), px(60), px(layout.list.width / 2), px(300));
    m_label5->setGeometry(toPixels({layout.indexPanel.left, 60, IndexPanelWidth, 300}));
    if (m_state.TablesLoaded && !isMinimized() && !isMaximized()) {
        storeGeometry();
    }
}

void TALIKLST::storeGeometry()
{
    StoreWindowGeometry(this, m_state.settings.ListWindow);
}

void TALIKLST::storeColumnWidths()
{
    std::vector<int> widths;
    for (int i = 0; i < m_model->columnCount(); ++i) {
        widths.push_back(PixelsToTwips(m_list->header()->sectionSize(i), logicalDpiX()));
    }
    StoreColumnWidths(m_state, widths);
}

bool TALIKLST::loadIfNeeded()
{
    if (m_state.TablesLoaded) {
        return true;
    }
    m_label4->show();
    m_label4->raise();
    m_label3->setText(Qs(m_state.settings.AddrDBName[m_state.DbNo - 1]));
    LoadResult result = LoadTables(m_state);
    if (m_startForm != nullptr) {
        // Gone now rather than at its timer's next look: the controls it enables are drawn in their
        // enabled look in the paint the first tab's fill lets run, not in one more paint after it.
        m_startForm->watchLoad();
    }
    m_label4->hide();
    if (result == LoadResult::EndProgram) {
        m_ending = true;
        emit programEnds();
        return false;
    }
    afterLoad();
    // A load and the list it fills leave much freed behind (the tables replaced, the halves read
    // apart, the list before): given back to the system rather than kept for a program that holds its
    // tables for hours.
    malloc_trim(0);
    return true;
}

void TALIKLST::afterLoad()
{
    // Once the window is up with the first database shown; not again for a database switched to.
    if (!m_startSyncAsked && m_ready.syncAtStartAndExit) {
        m_startSyncAsked = true;
        QTimer::singleShot(0, this, [this] {
            if (SyncsAtStartAndExit(m_state) && !m_state.Busy) {
                syncNow();
            }
        });
    }
    buildColumns();
    m_label3->setText(Qs(m_state.texts.DbName));
    layoutTabs();
    m_state.CurrentTab = -1;
    showTab(0);
    showCounts();
    emit listFilled();
}

void TALIKLST::layoutTabs()
{
    m_panel->layoutTabs(LayoutTabs(m_state));
    markTab();
}

void TALIKLST::markTab()
{
    m_panel->markTab(m_state.CurrentTab);
}

void TALIKLST::showCounts()
{
    if (!m_timer1->isActive()) {
        m_label5->setText(Qs(m_state.texts.CountLabel));
    }
    if (m_state.listMode == ListMode::Row) {
        for (int row = 0; row < RowTabTotal; ++row) {
            // Afresh: the stored captions miss what changed while individual mode was shown.
            m_panel->tab(CountTabFirst + row)->setText(Qs(CountTabCaption(m_state, row)));
        }
    }
    m_label1->setText(Qs(m_state.texts.ListTitle));
}

void TALIKLST::showTab(int tab)
{
    if (!TabCanBeShown(m_state, tab)) {
        return;
    }
    if (!m_jumping) {
        m_jump->clear();
    }
    setRecordButtons({});
    // Hiding the list while it fills would pass its focus on to the next button (検索).
    const bool listHadFocus = m_list->hasFocus();
    m_list->hide();
    QApplication::processEvents();
    ShowTab(m_state, tab);
    refreshList();
    markTab();
    if (m_model->rowCount() > 0) {
        m_list->selectionModel()->setCurrentIndex(m_model->index(0, 0), QItemSelectionModel::NoUpdate);
    }
    m_list->show();
    if (listHadFocus) {
        m_refocusing = true; // the focus comes back: no row is chosen by that
        m_list->setFocus();
        m_refocusing = false;
    }
    m_label1->setText(Qs(m_state.texts.ListTitle));
}

void TALIKLST::setRecordButtons(const RecordButtons& buttons)
{
    bool selected = buttons.recordSelected;
    m_delete->setEnabled(selected);
    m_change->setEnabled(selected);
    m_telephone->setEnabled(selected);
    m_mail->setEnabled(buttons.mailEnabled && m_ready.mailFromList);
    m_print->setText(Qs(buttons.printCaption));
    EnableRecordMenu(m_menus.PPM4, buttons);
}

void TALIKLST::selectCurrentRow()
{
    if (!m_state.TablesLoaded) {
        return;
    }
    if (std::optional<RecordButtons> buttons = m_records->selectCurrentRow()) {
        setRecordButtons(*buttons);
    }
}

void TALIKLST::deleteSelected()
{
    if (!m_state.MainList.selected()) {
        return;
    }
    DeleteSelected(m_state, m_state.MainList);
    refreshList();
    setRecordButtons({});
    showCounts();
}

void TALIKLST::exportAllCsv()
{
    ProgressDialog progress(this, "ＣＳＶデータを出力しています．．．");
    RunExport(m_state, ExportFormat::Csv, ExportScope::WholeDatabase, {}, progress.reporter());
}

void TALIKLST::shapePrintMenu()
{
    const bool one = m_state.MainList.selected().has_value();
    const QString prefix = one ? QString() : Qs(AllRecordsPrintPrefix(m_state));
    m_menus.PPM6.entries[0]->setText(prefix + "はがき印刷");
    m_menus.PPM6.entries[1]->setText(prefix + "タックシール印刷");
    m_menus.PPM6.entries[2]->setVisible(!one);
}

void TALIKLST::printFromList(char kind)
{
    m_state.MainIdle = false;
    std::optional<std::size_t> selected = m_state.MainList.selected();
    if (kind != PrintList && selected) {
        int position = static_cast<int>(*selected);
        PrintRecords(m_state, kind, m_state.MainList, position, position, this, m_ready);
    } else {
        PrintAllRecords(m_state, kind, this, m_ready);
    }
    m_state.MainIdle = true;
}

void TALIKLST::dial(int slot)
{
    DialSelected(m_state, m_launcher, m_state.MainList, slot, DialFrom::MainWindow, this);
}

void TALIKLST::newRecord()
{
    m_state.CurRecNo = 0;
    m_state.EditStatus = ' ';
    ClearRecord(m_state.Extra);
    m_state.MainIdle = false;
    TALIK01 editor(m_state, false, this);
    editor.exec();
    m_state.MainIdle = true;
    if (m_state.EditStatus != ' ') {
        reflectEditor();
        // The rows moved under the new one.
        restRecordCommands();
    }
}

// No row stays selected and the record commands rest, so "全件印刷" means everyone, as it says.
void TALIKLST::restRecordCommands()
{
    m_state.MainList.select(std::nullopt);
    m_list->clearSelection();
    setRecordButtons({});
}

void TALIKLST::openRecord(char status)
{
    m_state.MainIdle = false;
    bool stored = EditSelected(m_state, m_state.MainList, status, this);
    m_state.MainIdle = true;
    if (!stored) {
        return;
    }
    reflectEditor();
    restRecordCommands();
}

// After a save the tables, the list and its captions have followed the published change: the
// view and the count line show them.
void TALIKLST::reflectEditor()
{
    refreshList();
    showCounts();
}

// Busy for the whole run: a database switch halfway would put one file into two databases.
void TALIKLST::importCsv()
{
    const bool imported = RunBusy(m_state, [this] { return RunCsvImport(m_state, this); });
    if (imported) {
        refreshList();
        setRecordButtons({});
        showCounts();
    }
}

void TALIKLST::exportAllVcard()
{
    ProgressDialog progress(this, "vCardデータを出力しています．．．");
    RunExport(m_state, ExportFormat::Vcard, ExportScope::WholeDatabase, {}, progress.reporter());
}

// The merges publish their changes as they are made; the counts are shown afresh at the end.
void TALIKLST::reviewDuplicates()
{
    TALIKDUP review(m_state, this);
    review.exec();
    refreshList();
    setRecordButtons({});
    showCounts();
}

// Busy for the whole run, as the CSV import.
void TALIKLST::importVcard()
{
    const bool imported = RunBusy(m_state, [this] { return RunVcardImport(m_state, this); });
    if (imported) {
        refreshList();
        setRecordButtons({});
        showCounts();
    }
}

// Busy for the whole run: the list must not switch databases or save while files are replaced.
void TALIKLST::backupOrRestore(bool backupMode)
{
    const BackupOutcome outcome = RunBusy(m_state, [&] {
        TALIKBKP dialog(m_state, backupMode, this);
        dialog.exec();
        return dialog.outcome();
    });
    if (outcome.currentReplaced) {
        m_state.TablesLoaded = false;
        loadIfNeeded();
    }
}

void TALIKLST::nameDatabases()
{
    RunBusy(m_state, [this] {
        TALIKDBS dialog(m_state, this);
        dialog.exec();
    });
    m_label3->setText(Qs(m_state.texts.DbName));
}

void TALIKLST::setDatabasePassword()
{
    RunBusy(m_state, [this] {
        TALIKSTP dialog(m_state, this);
        dialog.exec();
    });
}

TALIKLST::~TALIKLST() = default;

SyncRoom* TALIKLST::syncRoom()
{
    SyncRoom* room = m_syncRoom->room();
    if (room == nullptr) {
        m_state.ui.message("同期の部品を読み込めません: " + m_syncRoom->failure(), MessageIcon::Exclamation);
    }
    return room;
}

void TALIKLST::usePasswordStore(PasswordStore& store)
{
    m_syncRoom->usePasswordStore(store);
}

void TALIKLST::useSyncRoom(std::unique_ptr<SyncRoomSource> source)
{
    m_syncRoom = std::move(source);
}

void TALIKLST::openSyncAccount()
{
    SyncRoom* room = syncRoom();
    if (room == nullptr) {
        return;
    }
    RunBusy(m_state, [&] { room->openAccount(m_state, this); });
}

void TALIKLST::setSyncAtStartAndExit(bool on)
{
    if (!WriteSyncAtStartAndExit(m_state, on)) {
        m_state.ui.message("設定ファイルに書き込めませんでした。", MessageIcon::Exclamation);
        m_menus.PPSyncAuto->setChecked(!on);
    }
}

// The records may have changed under the list: the shown tab is filled again from the tables.
void TALIKLST::refillShownTab()
{
    int shown = m_state.CurrentTab;
    m_state.CurrentTab = -1;
    setRecordButtons({});
    showTab(std::max(shown, 0));
}

void TALIKLST::syncNow()
{
    SyncRoom* room = syncRoom();
    if (room == nullptr) {
        return;
    }
    const bool ran = RunBusy(m_state, [&] { return room->runSync(m_state, this, m_ready.syncConflicts); });
    if (!ran) {
        return;
    }
    refillShownTab();
    showCounts();
}

void TALIKLST::search()
{
    m_state.CurRecNo = 0;
    m_state.EditStatus = ' ';
    m_state.MainIdle = false;
    TALIK01 editor(m_state, true, this);
    editor.exec();
    if (m_state.EditStatus == 'S') {
        TALIKSRC results(m_state, m_launcher, this);
        results.exec();
        int shown = m_state.CurrentTab;
        m_state.CurrentTab = -1; // the search may have changed or deleted records
        showTab(std::max(shown, 0));
        showCounts();
    }
    m_state.MainIdle = true;
}

void TALIKLST::doubleClickAction()
{
    m_jump->clear();
    if (!m_state.MainList.selected()) {
        return;
    }
    m_state.MainIdle = false;
    m_records->doubleClick(
        DoubleClickActionFor(m_state.settings.DBLClickOPT),
        {[this](char status) { openRecord(status); }, [this] { PopupBelow(m_menus.PPM6.menu, m_print); }});
    m_state.MainIdle = true;
}

void TALIKLST::kanaJump()
{
    m_jump->setEnabled(false);
    m_jumping = true;
    std::string reading = JumpReading(Us(m_jump->text()));
    if (!reading.empty()) {
        m_jump->setText(Qs(reading));
    }
    if (std::optional<int> tab = JumpTab(m_state, reading)) {
        // The tab is on screen before a message can say that none of its names matches.
        showTab(*tab);
        m_label1->repaint();
        m_panel->repaint();
        JumpResult jump = FindReading(m_state, m_state.MainList, reading, false);
        m_model->refresh();
        if (jump.found) {
            ShowFoundRow(m_list, static_cast<int>(*jump.found));
            selectCurrentRow();
        }
    }
    m_jumping = false;
    m_jump->setEnabled(true);
}

void TALIKLST::switchDatabase(int index)
{
    switch (SwitchDatabase(m_state, index)) {
    case SwitchOutcome::Unchanged:
        return;
    case SwitchOutcome::Switched:
        afterLoad();
        return;
    case SwitchOutcome::EndProgram:
        m_ending = true;
        emit programEnds();
        return;
    }
}

void TALIKLST::switchListMode(int mode)
{
    ListMode wanted = mode == 1 ? ListMode::Row : ListMode::Individual;
    if (wanted == m_state.listMode) {
        return;
    }
    for (QWidget* part : std::initializer_list<QWidget*>{m_panel, m_frame1, m_frame2}) {
        part->hide();
    }
    m_state.listMode = wanted;
    m_state.CurrentTab = -1;
    layoutTabs();
    showTab(0);
    showCounts();
    for (QWidget* part : std::initializer_list<QWidget*>{m_panel, m_frame1, m_frame2}) {
        part->show();
    }
}

void TALIKLST::columnsChanged()
{
    buildColumns();
    m_state.TablesLoaded = false;
}

void TALIKLST::refreshSeason()
{
    if (m_state.settings.SeasonView != 0 && m_state.TablesLoaded) {
        LoadSeasonList(m_state);
        ApplySeasonFilter(m_state.season, m_state.MainList);
    }
}

void TALIKLST::refreshList()
{
    refreshSeason();
    m_model->refresh();
}

void TALIKLST::setSeasonView(bool on)
{
    StoreSeasonView(m_state, on);
    if (!on) {
        m_state.season = {};
    }
    buildColumns();
    // The rows a filter left out come back, and the marks are read for the shown tab.
    refillShownTab();
}

void TALIKLST::chooseSeasonFilter(std::optional<SeasonFilter> filter)
{
    if (m_state.settings.SeasonView == 0) {
        return;
    }
    m_state.season.filter = filter;
    refillShownTab();
}

void TALIKLST::toggleReceived()
{
    std::vector<std::string> keys;
    for (const QModelIndex& row : m_list->selectionModel()->selectedRows()) {
        keys.push_back(m_model->keyAt(row.row()).toStdString());
    }
    if (keys.empty() && m_state.MainList.selected()) {
        keys.emplace_back(m_state.MainList.keyAt(*m_state.MainList.selected()));
    }
    if (keys.empty() || !ToggleReceived(m_state, keys)) {
        return;
    }
    // A record given its identity just now was rewritten and listed again: the rows are shown
    // afresh, and the selection stays on the same record while the filter keeps it.
    const std::string current = m_model->keyAt(m_list->currentIndex().row()).toStdString();
    ApplySeasonFilter(m_state.season, m_state.MainList);
    m_model->refresh();
    if (std::optional<std::size_t> row = m_state.MainList.indexOf(current)) {
        const int shownRow = static_cast<int>(*row);
        m_list->selectionModel()->setCurrentIndex(m_model->index(shownRow, 0),
                                                  QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        selectCurrentRow();
        // The column comes after the chosen ones and is often beyond the list's width: the mark
        // just changed is brought into sight.
        m_list->scrollTo(m_model->index(shownRow, m_model->columnCount() - 1));
    } else {
        m_state.MainList.select(std::nullopt);
        setRecordButtons({});
    }
}

void TALIKLST::showSeasonSummary()
{
    m_state.ui.message(SeasonSummaryOf(m_state), MessageIcon::Information, "年賀状の集計");
}

void TALIKLST::showCountColours()
{
    SetColours(m_label5, Qt::red, QColor(0xC0, 0xFF, 0xFF));
}

void TALIKLST::showStatusHint()
{
    m_label5->setText("環境設定 他");
    SetColours(m_label5, Qt::white, Qt::red);
    m_timer1->start();
}

void TALIKLST::dragWindow()
{
    if (QWindow* window = windowHandle()) {
        emit windowMoveStarted();
        window->startSystemMove();
    }
}

bool TALIKLST::handleKey(QKeyEvent* event)
{
    bool shift = event->modifiers() & Qt::ShiftModifier;
    bool ctrl = event->modifiers() & Qt::ControlModifier;
    bool jumpHasText = !m_jump->text().trimmed().isEmpty();
    KeyAction action = HandleKey(m_state, ListKeyOfQt(event->key()), shift, ctrl, jumpHasText);
    if (action.command == ListCommand::PassOn) {
        return false;
    }
    if (action.command == ListCommand::Swallow) {
        kanaJump();
        return true;
    }
    runKeyCommand(action);
    return true;
}

void TALIKLST::runKeyCommand(const KeyAction& action)
{
    auto clickIfEnabled = [](QPushButton* button) {
        if (button->isEnabled()) {
            button->click();
        }
    };
    switch (action.command) {
    case ListCommand::DoubleClick:
        doubleClickAction();
        break;
    case ListCommand::ClearJumpAndFocusList:
        m_jump->clear();
        [[fallthrough]];
    case ListCommand::FocusList:
        m_list->setFocus();
        break;
    case ListCommand::Help:
        OpenHelp(m_state, m_launcher);
        break;
    case ListCommand::Search:
        clickIfEnabled(m_panel->searchButton());
        break;
    case ListCommand::DatabaseMenu:
        PopupBelow(m_menus.PPM2, m_label3);
        break;
    case ListCommand::EMail:
        clickIfEnabled(m_mail);
        break;
    case ListCommand::PrintMenu:
        clickIfEnabled(m_print);
        break;
    case ListCommand::TelephoneMenu:
        clickIfEnabled(m_telephone);
        break;
    case ListCommand::Change:
        clickIfEnabled(m_change);
        break;
    case ListCommand::New:
        clickIfEnabled(m_new);
        break;
    case ListCommand::ShowTab:
        showTab(action.tab);
        break;
    case ListCommand::Close:
        clickIfEnabled(m_close);
        break;
    case ListCommand::Minimise:
        showMinimized();
        break;
    case ListCommand::RecordMenu:
        m_records->popupRecordMenu();
        break;
    case ListCommand::ToggleReceived:
        toggleReceived();
        break;
    case ListCommand::PassOn:
    case ListCommand::Swallow:
        break;
    }
}

bool TALIKLST::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
        return handleKey(static_cast<QKeyEvent*>(event));
    case QEvent::MouseButtonPress: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() != Qt::LeftButton) {
            break;
        }
        if (watched == m_label1) {
            PopupBelow(m_menus.PPM3, m_label1);
        } else if (watched == m_label3) {
            PopupBelow(m_menus.PPM2, m_label3);
        } else if (watched == m_label5) {
            PopupBelow(m_menus.PPM5, m_label5);
        } else if (watched == m_panel || watched == m_label6) {
            // The jump box is not background: a press there places the cursor or starts a selection.
            // Taken here, so that the window below does not start the same move again.
            dragWindow();
            return true;
        }
        break;
    }
    case QEvent::MouseButtonRelease:
        if (watched == m_list->viewport() && static_cast<QMouseEvent*>(event)->button() == Qt::RightButton) {
            m_records->popupRecordMenu(static_cast<QMouseEvent*>(event)->globalPosition().toPoint());
        }
        break;
    case QEvent::Enter:
        if (watched == m_label5) {
            showStatusHint();
        }
        break;
    case QEvent::FocusIn:
        if (watched == m_list && !m_refocusing) {
            selectCurrentRow();
        } else if (watched == m_jump) {
            QTimer::singleShot(0, m_jump, &QLineEdit::selectAll);
        }
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

void TALIKLST::mousePressEvent(QMouseEvent* event)
{
    QWidget::mousePressEvent(event);
    if (event->button() == Qt::LeftButton) {
        dragWindow();
    }
}

bool TALIKLST::event(QEvent* event)
{
    if (event->type() == QEvent::KeyPress && handleKey(static_cast<QKeyEvent*>(event))) {
        return true;
    }
    bool handled = QWidget::event(event);
    if (event->type() == QEvent::EnabledChange && isEnabled() && focusWidget() == nullptr) {
        // Enabled after the start-up splash: a reading typed at once goes into the jump box.
        m_jump->setFocus();
    }
    if (event->type() == QEvent::WindowActivate && !m_ending) {
        // Loaded once the event loop runs, so the window is up before a password prompt shows.
        QTimer::singleShot(0, this, [this] {
            if (loadIfNeeded() && QApplication::overrideCursor() == nullptr && !m_state.Busy) {
                m_jump->setFocus();
            }
        });
    }
    return handled;
}

void TALIKLST::bringToFront()
{
    showNormal();
    raise();
    activateWindow();
}

void TALIKLST::requestExit()
{
    m_state.ExitRequested = true;
    close();
}

void TALIKLST::closeEvent(QCloseEvent* event)
{
    if (m_ending) {
        event->accept();
        return;
    }
    EndingSteps steps{[this] { storeGeometry(); },
                      [this] {
                          storeColumnWidths();
                          WriteAllSettings(m_state);
                      },
                      [this] {
                          // The run has its cancel button: the end waits for it, never for ever.
                          if (m_ready.syncAtStartAndExit && SyncsAtStartAndExit(m_state)) {
                              syncNow();
                          }
                          if (m_startForm != nullptr) {
                              m_startForm->unload();
                          }
                      }};
    switch (CloseMainWindow(m_state, qApp->isSavingSession(), steps)) {
    case CloseOutcome::Hide:
        event->ignore();
        hide();
        return;
    case CloseOutcome::Cancel:
        event->ignore();
        return;
    case CloseOutcome::End:
        m_ending = true;
        event->accept();
        emit programEnds();
        return;
    }
}

} // namespace talik
