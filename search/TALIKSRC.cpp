#include "search/TALIKSRC.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTimer>
#include <QTreeView>

#include "dial/TALIKSTL.h"
#include "dial/dialrequest.h"
#include "editor/TALIK01.h"
#include "editor/TALIKCHI.h"
#include "listwin/listviewmodel.h"
#include "listwin/listviewsetup.h"
#include "search/resultwindow.h"
#include "store/database.h"
#include "store/state.h"
#include "ui/formhelpers.h"
#include "ui/qtinteraction.h"
#include "ui/readiness.h"
#include "ui/units.h"

namespace talik {
namespace {

constexpr TwipRect ButtonFrameSize{0, 0, 1600, 5400};
constexpr TwipRect JumpFrameSize{0, 0, 3000, 600};
constexpr const char* ResultTitle = "検索結果";

} // namespace

TALIKSRC::TALIKSRC(AppState& state, Launcher& launcher, QWidget* parent)
    : QDialog(parent), m_state(state), m_launcher(launcher), m_model(new ListViewModel(m_results, this)),
      m_list(new QTreeView(this)), m_label1(new QLabel(this)), m_label4(new QLabel(this)),
      m_frame1(new QGroupBox(this)), m_frame2(new QGroupBox(this)), m_label6(new QLabel("カナ名直接頭出し", m_frame2)),
      m_jump(new QLineEdit(m_frame2)), m_recordMenu(BuildRecordMenu(this, "SPM", "SPM")),
      m_printMenu(BuildPrintMenu(this, "SPM2", "SPMPrt2")), m_telephoneMenu(BuildTelephoneMenu(this, "SPM3", "SPMBTel"))
{
    setObjectName("TALIKSRC");
    setWindowTitle(ResultTitle);
    m_results.sortOn(0);
    buildControls();
    buildButtons();
    connectControls();
    setMinimumSize(px(MinResultWidth), px(MinResultHeight));
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
    m_label1->setObjectName("Label1");
    m_label4->setObjectName("Label4");
    m_label4->setText(QString(8, '\n') + "データ検索中．．．");
    m_label4->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    m_label4->setAutoFillBackground(true);
    m_frame1->setObjectName("Frame1");
    m_frame2->setObjectName("Frame2");
    m_label6->setObjectName("Label6");
    m_jump->setObjectName("Text1");
    m_label6->setGeometry(px(100), px(180), px(1500), px(300));
    m_jump->setGeometry(px(1650), px(130), px(1250), px(380));
    m_frame2->resize(px(JumpFrameSize.width), px(JumpFrameSize.height));
}

void TALIKSRC::buildButtons()
{
    struct ButtonDef
    {
        QPushButton** slot;
        const char* name;
        const char* caption;
    };
    const ButtonDef buttons[] = {
        {&m_command[1], "Command1", "戻る"},
        {&m_command[3], "Command3", "内容変更"},
        {&m_command[2], "Command2", "選択削除"},
        {&m_command[4], "Command4", "選択印刷"},
        {&m_command[5], "Command5", "電話"},
        {&m_command[10], "Command10", "E-Mail送信"},
        {&m_command7[0], "Command7_0", "追加検索"},
        {&m_command7[1], "Command7_1", "絞込み検索"},
        {&m_command7[2], "Command7_2", "除外検索"},
        {&m_command6[0], "Command6_0", "検索全件印刷"},
        {&m_command6[1], "Command6_1", "選択以降印刷"},
        {&m_command[8], "Command8", "ＣＳＶ出力"},
        {&m_command9[0], "Command9_0", "一括項目設定"},
        {&m_command9[1], "Command9_1", "一括項目取消し"},
        {&m_command[11], "Command11", "移動／複写"},
        {&m_command[12], "Command12", "全件削除"},
        {&m_command[13], "Command13", "Mail一括送信"},
    };
    int top = 150;
    for (const ButtonDef& def : buttons) {
        auto* button = new QPushButton(def.caption, m_frame1);
        button->setObjectName(def.name);
        button->setGeometry(px(80), px(top), px(1440), px(290));
        *def.slot = button;
        top += 305;
    }
    m_frame1->resize(px(ButtonFrameSize.width), px(top + 100));
    for (QPushButton* later :
         {m_command[4], m_command6[0], m_command6[1], m_command[8], m_command[10], m_command[11], m_command[13]}) {
        later->setProperty("laterWindow", true);
    }
}

void TALIKSRC::connectControls()
{
    connect(m_command[1], &QPushButton::clicked, this, &QDialog::close);
    connect(m_command[2], &QPushButton::clicked, this, &TALIKSRC::deleteSelected);
    connect(m_command[3], &QPushButton::clicked, this, [this] { openRecord(' '); });
    connect(m_command[5], &QPushButton::clicked, this, [this] { PopupBelow(m_telephoneMenu.menu, m_command[5]); });
    connect(m_command[12], &QPushButton::clicked, this, &TALIKSRC::deleteAll);
    for (int k = 0; k < 3; ++k) {
        connect(m_command7[k], &QPushButton::clicked, this, [this, k] { furtherSearch(k); });
    }
    for (int k = 0; k < 2; ++k) {
        connect(m_command9[k], &QPushButton::clicked, this, [this, k] { batchCheckItems(k); });
    }
    connect(m_list, &QTreeView::pressed, this, [this] { selectCurrentRow(); });
    connect(m_list, &QTreeView::doubleClicked, this, [this] { doubleClickAction(); });
    connect(m_list->header(), &QHeaderView::sectionClicked, this, [this](int column) { m_model->sort(column); });
    connect(m_recordMenu.Edit, &QAction::triggered, this, [this] { openRecord(' '); });
    connect(m_recordMenu.Del, &QAction::triggered, this, &TALIKSRC::deleteSelected);
    for (int slot = 0; slot < 4; ++slot) {
        for (QAction* entry : {m_recordMenu.TelN[slot], m_telephoneMenu.entries[slot]}) {
            connect(entry, &QAction::triggered, this, [this, slot] { dial(slot); });
        }
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
                           {0, 0, ButtonFrameSize.width, PixelsToTwips(m_frame1->height(), dpi)}, JumpFrameSize);
    m_list->setGeometry(rect(layout.list));
    m_label1->setGeometry(rect(layout.countLabel));
    m_label4->setGeometry(rect(layout.loadingLabel));
    m_frame1->move(px(layout.buttonFrame.left), px(layout.buttonFrame.top));
    m_frame2->setGeometry(rect(layout.jumpFrame));
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
    for (QPushButton* button :
         {m_command6[0], m_command7[1], m_command7[2], m_command9[0], m_command9[1], m_command[8]}) {
        button->setEnabled(hits && !button->property("laterWindow").toBool());
    }
}

void TALIKSRC::setRecordButtons(const RecordButtons& buttons)
{
    bool selected = buttons.recordSelected;
    m_command[2]->setEnabled(selected);
    m_command[3]->setEnabled(selected);
    m_command[5]->setEnabled(selected);
    m_command[4]->setEnabled(selected && ready::Printing);
    m_command6[1]->setEnabled(selected && ready::Printing);
    m_command[10]->setEnabled(buttons.mailEnabled && ready::Mail);
    m_command[11]->setEnabled(ready::MoveCopy && !m_results.empty());
    m_command[13]->setEnabled(ready::Mail && !m_results.empty());
    m_command[12]->setEnabled(!m_results.empty());
    EnableRecordMenu(m_recordMenu, buttons);
}

void TALIKSRC::runSearch()
{
    m_searched = true;
    setWindowTitle("検索中...");
    m_label4->show();
    m_label4->raise();
    m_list->hide();
    QApplication::processEvents();
    if (m_session.kind == SearchKind::Narrow || m_session.kind == SearchKind::Exclude) {
        setRecordButtons({});
    }
    SearchOutcome outcome = RunSearch(m_state, m_session, m_results);
    m_model->refresh();
    m_label4->hide();
    m_list->show();
    setWindowTitle(ResultTitle);
    m_label1->setText(Qs(SearchCountLine(m_state, static_cast<int>(m_results.size()))));
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
    TALIK01 editor(m_state, true, this);
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
    QModelIndex current = m_list->currentIndex();
    if (!current.isValid() || m_results.empty()) {
        return;
    }
    m_results.select(static_cast<std::size_t>(current.row()));
    prepareRecordMenu();
    RecordButtons buttons = SelectCurrentRow(m_state, m_results, static_cast<std::size_t>(current.row()));
    m_list->selectionModel()->select(current, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    setRecordButtons(buttons);
}

void TALIKSRC::prepareRecordMenu()
{
    if (ReadSelectedRecord(m_state, m_results)) {
        CaptionTelephoneEntries(m_state.Rec, m_recordMenu, m_telephoneMenu);
    }
}

void TALIKSRC::openRecord(char status)
{
    if (!EditSelected(m_state, m_results, status, this)) {
        return;
    }
    ReflectSaved(m_state, m_results, "TALIKSRC");
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
    m_label1->setText(Qs(SearchCountLine(m_state, static_cast<int>(m_results.size()))));
    setRecordButtons({});
}

void TALIKSRC::deleteAll()
{
    if (DeleteAllListed(m_state, m_results) > 0) {
        m_model->refresh();
        close();
    }
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
    switch (ResultDoubleClickActionFor(m_state.settings.DBLClickOPT)) {
    case DoubleClickAction::Change:
        openRecord(' ');
        break;
    case DoubleClickAction::View:
        openRecord('R');
        break;
    case DoubleClickAction::TelephoneMenu:
        if (m_command[5]->isEnabled()) {
            PopupBelow(m_telephoneMenu.menu, m_command[5]);
        }
        break;
    case DoubleClickAction::PrintMenu:
        if (m_command[4]->isEnabled()) {
            m_command[4]->click();
        }
        break;
    case DoubleClickAction::EMail:
    case DoubleClickAction::Nothing:
        break;
    }
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
        clickIfEnabled(m_command7[0]);
        break;
    case ResultCommand::EMail:
        clickIfEnabled(m_command[10]);
        break;
    case ResultCommand::PrintSelection:
        clickIfEnabled(m_command[4]);
        break;
    case ResultCommand::TelephoneMenu:
        clickIfEnabled(m_command[5]);
        break;
    case ResultCommand::Change:
        clickIfEnabled(m_command[3]);
        break;
    case ResultCommand::Minimise:
        showMinimized();
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
        static_cast<QMouseEvent*>(event)->button() == Qt::RightButton && m_results.selected()) {
        prepareRecordMenu();
        m_recordMenu.menu->popup(static_cast<QMouseEvent*>(event)->globalPosition().toPoint());
    }
    return QDialog::eventFilter(watched, event);
}

bool TALIKSRC::event(QEvent* event)
{
    bool handled = QDialog::event(event);
    if (event->type() == QEvent::WindowActivate) {
        QTimer::singleShot(0, this, [this] {
            if (!m_searched) {
                runSearch();
            }
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
