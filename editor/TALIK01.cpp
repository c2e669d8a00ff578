#include "editor/TALIK01.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QTableWidget>
#include <QWindow>

#include "editor/editorextras.h"
#include "editor/jointtable.h"
#include "editor/seasongrid.h"
#include "listwin/appstate.h"
#include "listwin/currentrecord.h"
#include "postal/postalentryform.h"
#include "print/TALIKPRS.h"
#include "store/checkitems.h"
#include "store/database.h"
#include "store/identity.h"
#include "store/season.h"
#include "ui/formhelpers.h"
#include "ui/qtinteraction.h"
#include "ui/readiness.h"
#include "ui/screenfit.h"
#include "ui/units.h"

namespace talik {
namespace {

// Wide enough for the postal code buttons right of the address support buttons.
constexpr int FormWidth = 10300;
constexpr int FormHeight = 6500;
constexpr int LabelLeft = 120;
constexpr int BoxLeft = 1300;
constexpr int LineHeight = 330;
constexpr int WideBox = 6435;
// The joint-name table sits under the name; everything from the e-mail box down moves down for it.
constexpr int JointTop = 950;
constexpr int JointRowHeight = 300;
constexpr int JointTableHeight = JointRowHeight * (1 + 4) + 90;
constexpr int JointShift = JointTableHeight + 60;
// The card-season grid takes a band of its own under the buttons: a header and three rows, then
// the stop mark and the note.
constexpr int SeasonRowHeight = 300;
constexpr int SeasonHeight = SeasonRowHeight * 5 + 120;
constexpr int SeasonTop = FormHeight + JointShift;

constexpr const char* FocusedStyle = "background: #FFFFFF;";

QColor FromBgr(std::uint32_t colour)
{
    return QColor(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                  static_cast<int>((colour >> 16) & 0xFF));
}

// The first character of a key press, when it types one.
std::optional<char32_t> TypedChar(const QKeyEvent* event)
{
    QString text = event->text();
    if (text.isEmpty() || !text[0].isPrint()) {
        return std::nullopt;
    }
    return text.toUcs4().value(0);
}

} // namespace

TALIK01::TALIK01(AppState& state, bool searchMode, QWidget* parent, const Readiness& ready)
    : QDialog(parent), m_state(state), m_ready(ready),
      m_mode(DecideEditorMode(state.CurRecNo, searchMode, state.EditStatus))
{
    setObjectName("TALIK01");
    resize(px(FormWidth), px(SeasonTop + SeasonHeight + 120));
    buildBoxes();
    buildTelephones();
    buildChecks();
    buildButtons();
    applyMode();
    buildJointTable();
    buildSeasonGrid();
    for (QWidget* child : findChildren<QWidget*>()) {
        child->installEventFilter(this);
    }
    // The stored place is the frame's. Moved before the window exists, the window manager puts the
    // frame there; moved once shown, before the frame is known, the inside would go there and the
    // window would creep up by its title bar at every opening.
    const WindowGeometry& saved = m_state.settings.SearchWindow;
    if (saved.left != 0) {
        move(px(saved.left), px(saved.top));
    } else {
        CentreForm(this);
    }
}

int TALIK01::px(int twips) const
{
    return TwipsToPixels(twips, logicalDpiX());
}

QLineEdit* TALIK01::box(const char* name, int leftTwips, int topTwips, int widthTwips)
{
    auto* edit = new QLineEdit(this);
    edit->setObjectName(name);
    edit->setGeometry(px(leftTwips), px(topTwips), px(widthTwips), px(LineHeight));
    return edit;
}

QLabel* TALIK01::caption(const char* name, const QString& text, int leftTwips, int topTwips, int widthTwips)
{
    auto* label = new QLabel(text, this);
    label->setObjectName(name);
    label->setGeometry(px(leftTwips), px(topTwips), px(widthTwips), px(LineHeight));
    return label;
}

void TALIK01::buildBoxes()
{
    const FieldCaptions& c = m_state.settings.Captions;
    caption("Label1_0", Qs(c.kana), LabelLeft, 150, 1100);
    m_reading = box("Text1_0", BoxLeft, 150, 3600);
    caption("Label1_1", Qs(c.name), LabelLeft, 550, 1100);
    m_name = box("Text1_1", BoxLeft, 550, 3600);
    caption("Label4", Qs(c.birthday), 5100, 150, 1100);
    m_year = box("Text2_0", 6250, 150, 700);
    m_month = box("Text2_1", 7000, 150, 450);
    m_day = box("Text2_2", 7500, 150, 450);
    m_age = caption("Label3", {}, 8000, 150, 900);
    caption("Label5", Qs(c.classCode), 5100, 550, 1100);
    m_classCode = box("Text2_3", 6250, 550, 1700);
    caption("Label1_2", Qs(c.email), LabelLeft, 950, 1100);
    m_email = box("Text2_4", BoxLeft, 950, 3600);
    for (int i = 0; i < 2; ++i) {
        int top = 1400 + i * 950;
        caption(i == 0 ? "Label1_5" : "Label1_6", Qs(i == 0 ? c.address1 : c.address2), LabelLeft, top, 1100);
        m_addresses[i] = box(i == 0 ? "Text5_0" : "Text5_1", BoxLeft, top, 5400);
        caption(i == 0 ? "Label1_9" : "Label1_10", Qs(i == 0 ? c.postCode1 : c.postCode2), LabelLeft, top + 420, 1100);
        m_postCodes[i] = box(i == 0 ? "Text3_0" : "Text3_1", BoxLeft, top + 420, 1200);
    }
    caption("Label1_11", Qs(c.company), LabelLeft, 3300, 1100);
    m_company = box("Text8_0", BoxLeft, 3300, 5400);
    caption("Label1_12", Qs(c.department), LabelLeft, 3700, 1100);
    m_department = box("Text8_1", BoxLeft, 3700, 5400);
    caption("Label1_13", Qs(c.remarks), LabelLeft, 4100, 1100);
    m_remarks = box("Text9", BoxLeft, 4100, 5400);
    std::array<QLineEdit*, 5> limited = limitedBoxes();
    for (int i = 0; i < 5; ++i) {
        int limit = MaxLengthOf(static_cast<EditorBox>(static_cast<int>(EditorBox::Year) + i));
        limited[i]->setMaxLength(limit);
        connect(limited[i], &QLineEdit::textEdited, this, [this, i] { advanceIfFull(i); });
    }
}

void TALIK01::buildTelephones()
{
    static constexpr const char* CaptionNames[PhoneSlots] = {"Label1_3", "Label1_4", "Label1_7", "Label1_8"};
    for (int slot = 0; slot < PhoneSlots; ++slot) {
        int top = 1820 + (slot / 2) * 950;
        int left = 2700 + (slot % 2) * 3100;
        m_slotCaptions[slot] = caption(CaptionNames[slot], {}, left, top, 900);
        m_slotCaptions[slot]->setCursor(Qt::PointingHandCursor);
        QLineEdit* number =
            box(slot % 2 == 0 ? (slot == 0 ? "Text6_0" : "Text6_1") : (slot == 1 ? "Text7_0" : "Text7_1"), left + 950,
                top, 2000);
        (slot % 2 == 0 ? m_telephones : m_faxes)[slot / 2] = number;
    }
}

void TALIK01::buildChecks()
{
    m_checkCaption = caption("Label6", "チェック項目", LabelLeft, 4600, 1100);
    std::array<std::string, CheckItemTotal> names = CheckItemCaptions(m_state);
    for (int i = 0; i < CheckItemTotal; ++i) {
        m_checks[i] = new QCheckBox(Qs(names[i]), this);
        m_checks[i]->setObjectName(QString("Check1_%1").arg(i));
        m_checks[i]->setGeometry(px(BoxLeft + (i % 5) * 1500), px(4600 + (i / 5) * 380), px(1400), px(300));
    }
}

void TALIK01::buildButtons()
{
    struct LeaveButton
    {
        QPushButton* TALIK01::*slot;
        const char* name;
        const char* caption;
        EditorButton leaving;
    };
    static constexpr LeaveButton LeaveButtons[4] = {
        {&TALIK01::m_store, "Command1_0", "登録", EditorButton::Store},
        {&TALIK01::m_cancel, "Command1_1", "取り消し", EditorButton::Cancel},
        {&TALIK01::m_storeAsNew, "Command1_2", "新規登録", EditorButton::StoreAsNew},
        {&TALIK01::m_printSettings, "Command1_3", "印刷設定", EditorButton::PrintSettings},
    };
    int left = 4800;
    for (const LeaveButton& def : LeaveButtons) {
        auto* made = new QPushButton(def.caption, this);
        made->setObjectName(def.name);
        made->setGeometry(px(left), px(5900), px(1000), px(420));
        connect(made, &QPushButton::clicked, this, [this, leaving = def.leaving] { leave(leaving); });
        this->*def.slot = made;
        left += 1050;
    }
    m_printSettings->setEnabled(m_ready.recordPrintSettings);
    auto button = [this](const char* name, const QString& text, int left, int top, int width) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(name);
        b->setGeometry(px(left), px(top), px(width), px(LineHeight + 60));
        return b;
    };
    m_mail = button("Command2", "E-Mail送信", 5100, 930, 1400);
    m_mail->setEnabled(m_ready.mailFromEditor);
    m_remarksExtra = button("Command3", "追加データ", LabelLeft, 5900, 1300);
    m_relatedFile = button("Command4", "関連情報", 1550, 5900, 1300);
    m_remarksExtra->setEnabled(m_ready.remarksExtra);
    m_relatedFile->setEnabled(m_ready.relatedFile);
    for (int i = 0; i < 2; ++i) {
        m_addressSupport[i] = button(i == 0 ? "Command5_0" : "Command5_1", "支援", 6800, 1380 + i * 950, 700);
        bool offered = m_state.settings.UseHarupo != 0 && m_state.settings.HarupoRun == 0;
        m_addressSupport[i]->setVisible(offered);
        m_addressSupport[i]->setEnabled(m_ready.addressSupport);
    }
    m_remarksExtraMarker = new QFrame(this);
    m_remarksExtraMarker->setObjectName("Line3");
    m_remarksExtraMarker->setGeometry(px(LabelLeft), px(6350), px(1300), px(40));
    m_relatedFileMarker = new QFrame(this);
    m_relatedFileMarker->setObjectName("Line4");
    m_relatedFileMarker->setGeometry(px(1550), px(6350), px(1300), px(40));
    m_extras = new EditorExtras(this, m_state,
                                {m_mail, m_email, m_remarksExtra, m_relatedFile, m_addressSupport, m_addresses,
                                 m_remarksExtraMarker, m_relatedFileMarker},
                                m_mode == EditorMode::View);
    for (int i = 0; i < 2; ++i) {
        m_postalToAddress[i] =
            button(i == 0 ? "PostalToAddress_0" : "PostalToAddress_1", "〒→住所", 7600, 1380 + i * 950, 1250);
        m_postalToCode[i] = button(i == 0 ? "PostalToCode_0" : "PostalToCode_1", "住所→〒", 8950, 1380 + i * 950, 1250);
    }
    bool changesRecord = m_mode == EditorMode::New || m_mode == EditorMode::Change;
    m_postal = new PostalEntry(this, m_state, {m_postCodes, m_addresses, m_company, m_postalToAddress, m_postalToCode},
                               changesRecord);
}

void TALIK01::buildJointTable()
{
    // The e-mail row's button sits a little higher than its box.
    for (QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (child->y() >= px(JointTop - 60)) {
            child->move(child->x(), child->y() + px(JointShift));
        }
    }
    caption("Label_Joint", "連名", LabelLeft, JointTop, 1100);
    m_joint = new JointTable(this, px(JointRowHeight));
    m_joint->setGeometry(px(BoxLeft), px(JointTop), px(3600 + 900), px(JointTableHeight));
    m_joint->setNames(m_state.Joint);
    m_joint->setReadOnly(m_mode == EditorMode::View);
    // Tab goes from the name into the table and its buttons, then on to the birthday.
    setTabOrder(m_name, m_joint->table());
    QWidget* last = m_joint->table();
    for (const char* name : {"JointAdd", "JointRemove", "JointUp", "JointDown"}) {
        auto* button = m_joint->findChild<QPushButton*>(name);
        setTabOrder(last, button);
        last = button;
    }
    setTabOrder(last, m_year);
}

void TALIK01::buildSeasonGrid()
{
    caption("Label_Season", "年賀状", LabelLeft, SeasonTop, 1100);
    m_season = new SeasonGrid(this, px(SeasonRowHeight));
    m_season->setGeometry(px(BoxLeft), px(SeasonTop), px(FormWidth - BoxLeft - 150), px(SeasonHeight));
    const bool onRecord = m_mode == EditorMode::Change || m_mode == EditorMode::View;
    m_season->setHistory(onRecord ? ReadSeasonHistory(m_state, RecordIdentity(m_state.Rec)) : SeasonHistory{},
                         CardYearOf(m_state));
    m_season->setReadOnly(m_mode == EditorMode::View);
    // Search conditions have no season; a person not yet stored has none to show, and gets marks
    // from the list once stored.
    m_season->setVisible(m_mode != EditorMode::Search);
    m_season->setEnabled(onRecord);
    findChild<QLabel*>("Label_Season")->setVisible(m_mode != EditorMode::Search);
}

bool TALIK01::storeSeason()
{
    const std::string identity = RecordIdentity(m_state.Rec);
    const SeasonHistory edited = m_season->history();
    if (edited == ReadSeasonHistory(m_state, identity)) {
        return true;
    }
    if (identity.empty()) {
        // Reserved bytes another program filled: the person cannot be told apart, so the marks
        // would land on nobody. Said, not dropped in silence.
        m_state.ui.message("このデータには年賀状の記録を保存できません。", MessageIcon::Exclamation);
        return false;
    }
    return WriteSeasonHistory(m_state, identity, edited);
}

void TALIK01::applyMode()
{
    EditorLook look = LookOf(m_mode);
    setWindowTitle(Qs(look.title));
    if (look.background) {
        setAutoFillBackground(true);
        QPalette palette = this->palette();
        palette.setColor(QPalette::Window, FromBgr(*look.background));
        setPalette(palette);
    }
    m_store->setText(Qs(look.storeCaption));
    m_cancel->setText(Qs(look.closeCaption));
    m_store->setVisible(look.storeVisible);
    m_storeAsNew->setVisible(look.storeAsNewVisible);
    m_printSettings->setVisible(look.printSettingsVisible);
    if (m_mode == EditorMode::View) {
        m_cancel->setGeometry(m_cancel->x(), px(5650), m_cancel->width(), px(680));
    }
    for (QWidget* extra : std::initializer_list<QWidget*>{m_mail, m_remarksExtra, m_relatedFile, m_remarksExtraMarker,
                                                          m_relatedFileMarker}) {
        extra->setVisible(look.extrasVisible);
    }
    m_age->setVisible(look.ageVisible);
    if (look.wideBoxes) {
        m_email->resize(px(WideBox), m_email->height());
        m_remarks->resize(px(WideBox), m_remarks->height());
        m_mail->hide();
    }
    if (m_mode == EditorMode::Change || m_mode == EditorMode::View) {
        ReadCurrent(m_state);
        showValues(ValuesOfRecord(m_state.Rec));
        m_extras->colourMarkers();
    } else {
        if (m_mode == EditorMode::New) {
            // A new person starts from a clean record: the print options, honorific and sender
            // choice of whoever was read last must not carry over, nor their joint names.
            ClearRecord(m_state.Rec);
        }
        m_state.Joint.clear();
        for (int slot = 0; slot < PhoneSlots; ++slot) {
            showPhoneKind(slot);
        }
    }
}

void TALIK01::showValues(const EditorValues& v)
{
    m_reading->setText(Qs(v.kana));
    m_name->setText(Qs(v.kanji));
    m_year->setText(Qs(v.year));
    m_month->setText(Qs(v.month));
    m_day->setText(Qs(v.day));
    m_classCode->setText(Qs(v.classCode));
    m_email->setText(Qs(v.email));
    for (int i = 0; i < 2; ++i) {
        m_addresses[i]->setText(Qs(v.address[i]));
        m_postCodes[i]->setText(Qs(v.postCode[i]));
        m_telephones[i]->setText(Qs(v.tel[i]));
        m_faxes[i]->setText(Qs(v.fax[i]));
    }
    m_company->setText(Qs(v.company[0]));
    m_department->setText(Qs(v.company[1]));
    m_remarks->setText(Qs(v.remarks));
    for (int i = 0; i < CheckItemTotal; ++i) {
        m_checks[i]->setChecked(v.checks[i]);
    }
    m_phoneKinds = v.phoneKinds;
    for (int slot = 0; slot < PhoneSlots; ++slot) {
        showPhoneKind(slot);
    }
    showAge();
}

EditorValues TALIK01::values() const
{
    EditorValues v;
    v.kana = Us(m_reading->text());
    v.kanji = Us(m_name->text());
    v.year = Us(m_year->text());
    v.month = Us(m_month->text());
    v.day = Us(m_day->text());
    v.classCode = Us(m_classCode->text());
    v.email = Us(m_email->text());
    for (int i = 0; i < 2; ++i) {
        v.address[i] = Us(m_addresses[i]->text());
        v.postCode[i] = Us(m_postCodes[i]->text());
        v.tel[i] = Us(m_telephones[i]->text());
        v.fax[i] = Us(m_faxes[i]->text());
    }
    v.company[0] = Us(m_company->text());
    v.company[1] = Us(m_department->text());
    v.remarks = Us(m_remarks->text());
    for (int i = 0; i < CheckItemTotal; ++i) {
        v.checks[i] = m_checks[i]->isChecked();
    }
    v.phoneKinds = m_phoneKinds;
    v.joint = m_joint->rows();
    return v;
}

void TALIK01::showPhoneKind(int slot)
{
    m_slotCaptions[slot]->setText(Qs(PhoneKindNames[m_phoneKinds[slot]]));
}

void TALIK01::showAge()
{
    if (m_mode == EditorMode::Search) {
        return;
    }
    std::int32_t birthday = BirthdayOf(Us(m_year->text()), Us(m_month->text()), Us(m_day->text()));
    m_age->setText(Qs(AgeText(birthday, m_state.clock.now())));
}

void TALIK01::leave(EditorButton button)
{
    savePosition();
    LeaveOutcome outcome = LeaveEditor(m_state, m_mode, button, values());
    if (outcome == LeaveOutcome::Close && button == EditorButton::Store && m_mode == EditorMode::Change &&
        m_state.EditStatus != ' ') {
        // The record is stored; its marks follow as the store button's second step. Store as new
        // makes another person, who starts without any.
        storeSeason();
    }
    if (outcome == LeaveOutcome::Close) {
        done(m_state.EditStatus == ' ' ? QDialog::Rejected : QDialog::Accepted);
    }
    if (outcome == LeaveOutcome::OpenPrintSettings && m_ready.recordPrintSettings) {
        // Changes the record buffer only; the store button saves it with the rest.
        TALIKPRS(m_state, this).exec();
    }
}

void TALIK01::savePosition()
{
    double dpi = logicalDpiX();
    m_state.settings.SearchWindow.left = PixelsToTwips(x(), dpi);
    m_state.settings.SearchWindow.top = PixelsToTwips(y(), dpi);
}

void TALIK01::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    FitToScreen(this);
    bool onRecord = m_mode == EditorMode::Change || m_mode == EditorMode::View;
    (onRecord ? static_cast<QWidget*>(m_cancel) : m_reading)->setFocus();
    m_active = true;
}

void TALIK01::closeEvent(QCloseEvent* event)
{
    // The close box is the cancel button.
    m_state.EditStatus = ' ';
    QDialog::closeEvent(event);
}

void TALIK01::paintEvent(QPaintEvent* event)
{
    QDialog::paintEvent(event);
    QPainter painter(this);
    for (const QCheckBox* check : m_checks) {
        Draw3DFrame(painter, check, false, 1);
    }
    Draw3DFrame(painter, m_checkCaption, false, 1);
}

QLineEdit* TALIK01::boxOf(EditorBox which) const
{
    switch (which) {
    case EditorBox::Reading:
        return m_reading;
    case EditorBox::Name:
        return m_name;
    case EditorBox::Year:
        return m_year;
    case EditorBox::Month:
        return m_month;
    case EditorBox::Day:
        return m_day;
    case EditorBox::ClassCode:
        return m_classCode;
    case EditorBox::EMail:
        return m_email;
    case EditorBox::Address1:
        return m_addresses[0];
    case EditorBox::PostCode1:
        return m_postCodes[0];
    case EditorBox::Tel1:
        return m_telephones[0];
    case EditorBox::Fax1:
        return m_faxes[0];
    case EditorBox::Address2:
        return m_addresses[1];
    case EditorBox::PostCode2:
        return m_postCodes[1];
    case EditorBox::Tel2:
        return m_telephones[1];
    case EditorBox::Fax2:
        return m_faxes[1];
    case EditorBox::Company:
        return m_company;
    case EditorBox::Department:
        return m_department;
    case EditorBox::Remarks:
        return m_remarks;
    }
    return nullptr;
}

std::optional<EditorBox> TALIK01::whichBox(QObject* object) const
{
    for (int i = 0; i <= static_cast<int>(EditorBox::Remarks); ++i) {
        if (boxOf(static_cast<EditorBox>(i)) == object) {
            return static_cast<EditorBox>(i);
        }
    }
    return std::nullopt;
}

void TALIK01::moveAlongEnterChain(QObject* from)
{
    std::optional<EditorBox> which = whichBox(from);
    std::optional<EditorBox> next = which ? NextInEnterChain(*which) : std::nullopt;
    if (next) {
        boxOf(*next)->setFocus();
    } else {
        focusNextChild(); // from the remarks and the check boxes Enter acts as Tab
    }
}

std::array<QLineEdit*, 5> TALIK01::limitedBoxes() const
{
    return {m_year, m_month, m_day, m_classCode, m_email};
}

void TALIK01::advanceIfFull(int index)
{
    std::array<QLineEdit*, 5> limited = limitedBoxes();
    QLineEdit* edit = limited[index];
    if (!m_active || edit->text().size() < edit->maxLength()) {
        return;
    }
    (index < 4 ? limited[index + 1] : m_addresses[0])->setFocus();
}

void TALIK01::boxLeft(QLineEdit* edit)
{
    edit->setStyleSheet({});
    m_postal->codeLeft(edit);
    if (edit == m_reading) {
        edit->setText(Qs(ToHalfKana(Us(edit->text()))));
        return;
    }
    std::array<QLineEdit*, 5> limited = limitedBoxes();
    for (int i = 0; i < 3; ++i) {
        if (edit != limited[i]) {
            continue;
        }
        std::string text = Us(edit->text());
        auto normal = i == 0 ? NormaliseYear(text) : i == 1 ? NormaliseMonth(text) : NormaliseDay(text);
        if (!normal) {
            edit->clear();
            m_state.ui.message(std::string(BadBirthdayMessage), MessageIcon::Exclamation);
        } else {
            edit->setText(Qs(*normal));
        }
        showAge();
    }
}

bool TALIK01::filterKey(QLineEdit* edit, QKeyEvent* event)
{
    std::optional<EditorBox> which = whichBox(edit);
    if (!which) {
        return false;
    }
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        moveAlongEnterChain(edit);
        return true;
    }
    if (event->key() == Qt::Key_F2 && (edit == m_addresses[0] || edit == m_addresses[1])) {
        m_extras->supportFromKey();
        return true;
    }
    std::optional<char32_t> typed = TypedChar(event);
    return typed && !BoxAcceptsChar(*which, *typed);
}

void TALIK01::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Escape:
        leave(EditorButton::Cancel);
        return;
    case Qt::Key_F9:
    case Qt::Key_F10: {
        QLineEdit* address = m_addresses[event->key() == Qt::Key_F9 ? 0 : 1];
        address->setFocus();
        address->selectAll();
        m_extras->supportFromKey();
        return;
    }
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // From a check box (or a button without a default action) Enter acts as Tab.
        if (qobject_cast<QCheckBox*>(focusWidget()) != nullptr) {
            focusNextChild();
            return;
        }
        if (auto* button = qobject_cast<QPushButton*>(focusWidget())) {
            button->click();
            return;
        }
        break;
    default:
        break;
    }
    QDialog::keyPressEvent(event);
}

bool TALIK01::eventFilter(QObject* watched, QEvent* event)
{
    auto* edit = qobject_cast<QLineEdit*>(watched);
    switch (event->type()) {
    case QEvent::KeyPress:
        if (edit != nullptr && filterKey(edit, static_cast<QKeyEvent*>(event))) {
            return true;
        }
        break;
    case QEvent::FocusIn:
        if (edit != nullptr) {
            edit->setStyleSheet(FocusedStyle);
            if (edit == m_addresses[0] || edit == m_addresses[1]) {
                m_extras->supportFromFocus(edit);
            }
            QMetaObject::invokeMethod(edit, &QLineEdit::selectAll, Qt::QueuedConnection);
        }
        break;
    case QEvent::FocusOut:
        if (edit != nullptr) {
            boxLeft(edit);
        }
        break;
    case QEvent::MouseButtonPress: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() != Qt::LeftButton) {
            break;
        }
        for (int slot = 0; slot < PhoneSlots; ++slot) {
            if (watched == m_slotCaptions[slot]) {
                m_phoneKinds[slot] = NextPhoneKind(m_phoneKinds[slot]);
                showPhoneKind(slot);
                return true;
            }
        }
        if (qobject_cast<QLabel*>(watched) != nullptr) {
            dragWindow();
        }
        break;
    }
    default:
        break;
    }
    return QDialog::eventFilter(watched, event);
}

void TALIK01::mousePressEvent(QMouseEvent* event)
{
    QDialog::mousePressEvent(event);
    if (event->button() == Qt::LeftButton) {
        dragWindow();
    }
}

void TALIK01::dragWindow()
{
    if (QWindow* window = windowHandle()) {
        window->startSystemMove();
    }
}

bool EditSelected(AppState& state, const ListModel& list, char status, QWidget* parent, const Readiness& ready)
{
    auto selected = list.selected();
    if (!selected) {
        return false;
    }
    state.CurRecNo = RecNoOfKey(list.keyAt(*selected));
    state.EditStatus = status;
    TALIK01 editor(state, false, parent, ready);
    editor.exec();
    return state.EditStatus != ' ';
}

} // namespace talik
