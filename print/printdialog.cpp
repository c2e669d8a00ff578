#include "print/printdialog.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "listwin/appstate.h"
#include "print/calibration.h"
#include "print/previewkeys.h"
#include "print/printdispatch.h"
#include "print/printerchoice.h"
#include "print/printwork.h"
#include "print/qtcanvas.h"
#include "print/seasonprint.h"
#include "store/season.h"
#include "ui/qtinteraction.h"
#include "ui/screenfit.h"

namespace talik {
namespace {

constexpr double PreviewPixelsPerMm = 4.0; // on a screen of 1.0 device-pixel ratio
constexpr const char* StartQuestion = "印刷を開始しますか？";
constexpr const char* PrintFailed = "印刷できませんでした。";
constexpr const char* NoPostcardPaper =
    "このプリンタには、はがきの用紙サイズがありません。用紙の設定を確かめてから印刷してください。";

QPushButton* NamedButton(QWidget* parent, const char* name, const QString& caption)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    return button;
}

} // namespace

PrintDialog::PrintDialog(AppState& state, char kind, PrintTable table, QWidget* parent, const Readiness& ready)
    : QDialog(parent), m_state(state), m_ready(ready), m_kind(kind), m_table(std::move(table)), m_job(state, m_table),
      m_scroll(new QScrollArea(this)), m_picture(new QLabel), m_position(new QLabel(this)),
      m_progress(new QLabel(this)), m_prev(NamedButton(this, "Command1_0", "＜前")),
      m_next(NamedButton(this, "Command1_1", "次＞")), m_close(NamedButton(this, "Command3", "終了")),
      m_pdf(NamedButton(this, "CommandPdf", "PDF に保存")), m_stop(NamedButton(this, "CommandStop", "中止")),
      m_column(new QVBoxLayout)
{
    m_position->setObjectName("Label1");
    m_position->setAlignment(Qt::AlignCenter);
    m_progress->setObjectName("LabelProgress");
    m_picture->setObjectName("Picture1");
    m_scroll->setObjectName("Picture2");
    m_scroll->setWidget(m_picture);
    m_scroll->setAlignment(Qt::AlignCenter);
    m_scroll->setBackgroundRole(QPalette::Dark);
    m_scroll->horizontalScrollBar()->setObjectName("HScroll1");
    m_scroll->verticalScrollBar()->setObjectName("VScroll1");
    m_table.PrintPos = FirstPosition(kind);

    auto* paging = new QHBoxLayout;
    paging->addWidget(m_prev);
    paging->addWidget(m_position, 1);
    paging->addWidget(m_next);
    auto* progress = new QHBoxLayout;
    progress->addWidget(m_progress, 1);
    progress->addWidget(m_stop);
    auto* left = new QVBoxLayout;
    left->addWidget(m_scroll, 1);
    left->addLayout(paging);
    left->addLayout(progress);
    auto* root = new QHBoxLayout(this);
    root->addLayout(left, 1);
    root->addLayout(m_column);

    m_stop->setEnabled(false);
    m_controls = {m_prev, m_next, m_close, m_pdf};
    connect(m_prev, &QPushButton::clicked, this, [this] { step(-1); });
    connect(m_next, &QPushButton::clicked, this, [this] { step(1); });
    connect(m_close, &QPushButton::clicked, this, [this] { reject(); });
    connect(m_pdf, &QPushButton::clicked, this, &PrintDialog::printToPdf);
    connect(m_stop, &QPushButton::clicked, this, &PrintDialog::requestStop);
}

PrintDialog::~PrintDialog() = default;

QPushButton* PrintDialog::addButton(const char* name, const QString& caption)
{
    QPushButton* button = NamedButton(this, name, caption);
    m_column->addWidget(button);
    m_controls.push_back(button);
    return button;
}

QPushButton* PrintDialog::addPrintButton(const char* name, const QString& caption, std::function<PrintRange()> range)
{
    QPushButton* button = addButton(name, caption);
    connect(button, &QPushButton::clicked, this, [this, range = std::move(range)] { print(range()); });
    return button;
}

QCheckBox* PrintDialog::addCheck(const char* name, const QString& caption, bool checked)
{
    auto* check = new QCheckBox(caption, this);
    check->setObjectName(name);
    check->setChecked(checked);
    m_column->addWidget(check);
    m_controls.push_back(check);
    return check;
}

void PrintDialog::addSeasonCheck()
{
    m_seasonOnly = addCheck("CheckSeasonOnly", SeasonOnlyCaption, false);
    connect(m_seasonOnly, &QCheckBox::toggled, this, &PrintDialog::chooseSeasonOnly);
}

void PrintDialog::setRecipients(std::vector<std::int32_t> recNos)
{
    const int recipients = m_table.PrintLineCount - firstRecipientLine() + 1;
    if (static_cast<int>(recNos.size()) != recipients) {
        return; // a job cut short on reading: which line is whose is not known
    }
    m_wholeTable = m_table;
    m_wholeRecNos = recNos;
    m_recNos = std::move(recNos);
    enableControls();
}

int PrintDialog::firstRecipientLine() const
{
    return m_kind == PrintPostcards ? FirstPostcardLine : 2;
}

void PrintDialog::chooseSeasonOnly(bool on)
{
    if (m_wholeRecNos.empty()) {
        return;
    }
    PrintTable cut = m_wholeTable;
    std::vector<std::int32_t> recNos = m_wholeRecNos;
    if (on) {
        const std::vector<std::int32_t> chosen = ToSendRecords(m_state, m_wholeRecNos, CardYearOf(m_state));
        if (chosen.empty()) {
            m_state.ui.message(NoPrintData, MessageIcon::Exclamation);
            const QSignalBlocker quiet(m_seasonOnly);
            m_seasonOnly->setChecked(false);
            return;
        }
        const int first = firstRecipientLine();
        cut.entries.resize(static_cast<std::size_t>(first - 1));
        for (std::int32_t recNo : chosen) {
            auto at = std::find(m_wholeRecNos.begin(), m_wholeRecNos.end(), recNo) - m_wholeRecNos.begin();
            cut.entries.push_back(m_wholeTable.line(first + static_cast<int>(at)));
        }
        cut.PrintLineCount = static_cast<int>(cut.entries.size());
        recNos = chosen;
    }
    m_table = std::move(cut);
    m_recNos = std::move(recNos);
    redrawFromStart();
}

std::vector<std::int32_t> PrintDialog::printedRecords(const PrintRange& range) const
{
    if (m_kind == PrintPostcards) {
        std::vector<std::int32_t> printed;
        for (int line = range.first; line <= range.last; ++line) {
            std::size_t index = static_cast<std::size_t>(line - FirstPostcardLine);
            if (index < m_recNos.size()) {
                printed.push_back(m_recNos[index]);
            }
        }
        return printed;
    }
    // Which labels a page holds depends on the start cell: only a run of every page is known to
    // have reached everyone.
    bool everyPage = range.first == 1 && range.last >= m_job.PrintPageCount;
    return everyPage ? m_recNos : std::vector<std::int32_t>{};
}

void PrintDialog::offerSentMarks(const PrintRange& range, const PrintRunResult& result)
{
    if (m_recNos.empty() || !result.documentEnded || result.stopped || result.failed != 0) {
        return;
    }
    const std::vector<std::int32_t> printed = printedRecords(range);
    if (printed.empty()) {
        return;
    }
    const int year = CardYearOf(m_state);
    if (m_state.ui.askYesNo(MarkSentQuestion(printed.size(), year), MessageIcon::Question, "確認")) {
        MarkRecordsSent(m_state, printed, year);
    }
}

QBoxLayout* PrintDialog::column() const
{
    return m_column;
}

void PrintDialog::finish()
{
    m_column->addSpacing(12);
    m_column->addWidget(m_pdf);
    m_column->addStretch(1);
    m_column->addWidget(m_close);
    // The paging keys act from every control (a button or the scrolled preview would take them).
    for (QWidget* child : findChildren<QWidget*>()) {
        child->installEventFilter(this);
    }
    orderTabs();
    redrawPreview();
    resize(pageSizeMm().width() * previewScale() * PreviewPixelsPerMm + 260,
           pageSizeMm().height() * previewScale() * PreviewPixelsPerMm + 110);
    // The preview scrolls where the page is taller than the screen; the buttons stay in sight.
    FitToScreen(this);
}

// Tab goes down the right column as it reads (print buttons first, 終了 last), then along the paging
// row, rather than in the order the controls were made.
void PrintDialog::orderTabs()
{
    std::vector<QWidget*> order;
    for (int i = 0; i < m_column->count(); ++i) {
        if (QWidget* widget = m_column->itemAt(i)->widget()) {
            order.push_back(widget);
        }
    }
    order.insert(order.end(), {m_prev, m_next, m_stop, m_scroll});
    for (std::size_t i = 1; i < order.size(); ++i) {
        setTabOrder(order[i - 1], order[i]);
    }
}

double PrintDialog::previewScale() const
{
    return m_job.target.PreviewScale;
}

void PrintDialog::decoratePreview(QtCanvas&) {}

void PrintDialog::ensureImage()
{
    const double ratio = devicePixelRatioF();
    const double pixelsPerMm = PreviewPixelsPerMm * ratio;
    const QSizeF page = pageSizeMm() * previewScale();
    const QSize wanted(static_cast<int>(std::ceil(page.width() * pixelsPerMm)),
                       static_cast<int>(std::ceil(page.height() * pixelsPerMm)));
    if (m_canvas && std::abs(m_image.width() - wanted.width()) <= 1 &&
        std::abs(m_image.height() - wanted.height()) <= 1) {
        return;
    }
    m_canvas.reset();
    m_image = PreviewImage(page.width(), page.height(), pixelsPerMm);
    m_canvas = std::make_unique<QtCanvas>(m_image);
}

void PrintDialog::showImage()
{
    m_canvas->endDocument();
    QImage shown = m_image;
    shown.setDevicePixelRatio(devicePixelRatioF());
    m_picture->setPixmap(QPixmap::fromImage(shown));
    m_picture->adjustSize();
}

void PrintDialog::redrawPreview()
{
    if (m_kind == PrintList) {
        // The list engine sets its preview scale from the print scale before drawing.
        m_job.target.PreviewScale = m_state.settings.AddrPrtScale * 0.6;
    }
    ensureImage();
    m_job.target.printer = nullptr;
    m_job.target.preview = m_canvas.get();
    DrawItem(m_job, m_kind, m_table.PrintPos);
    decoratePreview(*m_canvas);
    showImage();
    updatePosition();
    if (!m_running) {
        enableControls();
    }
}

void PrintDialog::redrawFromStart()
{
    m_table.PrintPos = FirstPosition(m_kind);
    redrawPreview();
    m_scroll->horizontalScrollBar()->setValue(0);
    m_scroll->verticalScrollBar()->setValue(0);
}

void PrintDialog::afterSubDialog()
{
    if (m_state.PrintKind != ' ') {
        m_state.PrintKind = ' ';
        redrawFromStart();
    }
}

void PrintDialog::updatePosition()
{
    m_position->setText(Qs(m_kind == PrintPostcards ? m_job.positionLabel : m_job.pageLabel));
}

void PrintDialog::enableControls()
{
    for (QWidget* control : m_controls) {
        control->setEnabled(true);
    }
    m_prev->setEnabled(CanPrev(m_job, m_kind));
    m_next->setEnabled(CanNext(m_job, m_kind));
    m_stop->setEnabled(false);
    if (m_seasonOnly != nullptr) {
        m_seasonOnly->setEnabled(!m_wholeRecNos.empty());
    }
    enableOwnControls();
}

void PrintDialog::step(int by)
{
    if (m_running) {
        return;
    }
    m_table.PrintPos += by;
    redrawPreview();
    if (m_kind != PrintPostcards) {
        m_scroll->horizontalScrollBar()->setValue(0);
        m_scroll->verticalScrollBar()->setValue(0);
    }
}

namespace {

std::optional<PreviewKey> PreviewKeyOf(int key)
{
    switch (key) {
    case Qt::Key_PageUp:
        return PreviewKey::PageUp;
    case Qt::Key_PageDown:
        return PreviewKey::PageDown;
    case Qt::Key_Up:
        return PreviewKey::Up;
    case Qt::Key_Down:
        return PreviewKey::Down;
    case Qt::Key_Left:
        return PreviewKey::Left;
    case Qt::Key_Right:
        return PreviewKey::Right;
    case Qt::Key_Home:
        return PreviewKey::Home;
    case Qt::Key_End:
        return PreviewKey::End;
    default:
        return std::nullopt;
    }
}

} // namespace

bool PrintDialog::pageKey(const QKeyEvent* event)
{
    const std::optional<PreviewKey> key = PreviewKeyOf(event->key());
    if (!key || event->modifiers() != Qt::NoModifier) {
        return false;
    }
    if (!m_running) {
        if (std::optional<int> target = PreviewTarget(m_job, m_kind, PreviewMoveOf(*key))) {
            step(*target - m_table.PrintPos);
        }
    }
    return true;
}

void PrintDialog::keyPressEvent(QKeyEvent* event)
{
    if (!pageKey(event)) {
        QDialog::keyPressEvent(event);
    }
}

bool PrintDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && pageKey(static_cast<QKeyEvent*>(event))) {
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void PrintDialog::requestStop()
{
    m_stopRequested = true;
}

std::unique_ptr<QtCanvas> PrintDialog::openPdf(std::string& where)
{
    std::optional<std::string> path = m_state.ui.chooseSaveFile("PDF に保存", "PDF ファイル (*.pdf *.PDF)");
    return path ? openPdfFile(*path, where) : nullptr;
}

std::unique_ptr<QtCanvas> PrintDialog::openPdfFile(const std::string& path, std::string& where)
{
    where = path;
    auto canvas = PdfCanvas(Qs(path), PaperOf(m_kind));
    if (!canvas) {
        m_state.ui.message(path + " に書き込めません。", MessageIcon::Exclamation);
    }
    return canvas;
}

std::unique_ptr<QtCanvas> PrintDialog::openPrinter(std::string& where)
{
    if (std::optional<QString> file = ChosenPdfFile(m_state)) {
        return openPdfFile(Us(*file), where); // the printer dialog's "print to file"
    }
    std::optional<QString> printer = PrinterFor(m_state);
    if (!printer) {
        return openPdf(where); // no printer at all: the job can still be kept as a PDF
    }
    where = Us(*printer);
    if (m_kind == PrintPostcards && !OffersPostcards(*printer)) {
        m_state.ui.message(NoPostcardPaper, MessageIcon::Information);
    }
    auto canvas = OpenChosenPrinter(m_state, m_kind, *printer);
    if (!canvas) {
        m_state.ui.message("プリンタ " + where + " を使用できません。", MessageIcon::Exclamation);
    }
    return canvas;
}

void PrintDialog::print(const PrintRange& range)
{
    if (m_running || range.size() == 0) {
        return;
    }
    if (!m_state.ui.askYesNo(StartQuestion, MessageIcon::Exclamation, "確認")) {
        return;
    }
    std::string where;
    std::unique_ptr<QtCanvas> paper = openPrinter(where);
    if (paper) {
        run(range, *paper, where);
    }
}

void PrintDialog::printToPdf()
{
    if (m_running) {
        return;
    }
    std::string where;
    std::unique_ptr<QtCanvas> paper = openPdf(where);
    if (paper) {
        run(wholeJob(), *paper, where);
    }
}

void PrintDialog::run(const PrintRange& range, QtCanvas& paper, const std::string& where)
{
    m_running = true;
    m_stopRequested = false;
    for (QWidget* control : m_controls) {
        control->setEnabled(false);
    }
    m_stop->setEnabled(true);
    ensureImage();
    m_job.target.preview = m_canvas.get();
    PrintLoopHooks hooks;
    hooks.progress = [this](int done, int total) {
        decoratePreview(*m_canvas);
        showImage();
        m_progress->setText(QString("%1 / %2 件").arg(done).arg(total));
    };
    hooks.stopRequested = [this] { return m_stopRequested; };
    PrintRunResult result = RunPrintLoop(m_job, m_kind, range, paper, hooks);
    if (!result.documentEnded) {
        m_state.ui.message(std::string(PrintFailed) + "\n" + where, MessageIcon::Exclamation);
    }
    m_running = false;
    m_progress->clear();
    redrawPreview();
    offerSentMarks(range, result);
}

void PrintDialog::printCalibration()
{
    if (m_running) {
        return;
    }
    std::string where;
    std::unique_ptr<QtCanvas> paper = openPrinter(where);
    if (!paper) {
        return;
    }
    DrawCalibrationSheet(m_state.settings.Layout, m_kind, *paper);
    if (!paper->endDocument()) {
        m_state.ui.message(std::string(PrintFailed) + "\n" + where, MessageIcon::Exclamation);
    }
}

void PrintDialog::choosePrinter()
{
    ChoosePrinter(m_state, m_kind, this);
}

void PrintDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    m_active = true;
}

void PrintDialog::closeEvent(QCloseEvent* event)
{
    if (m_running) {
        event->ignore(); // the loop draws on this window's preview until it ends
        return;
    }
    QDialog::closeEvent(event);
}

void PrintDialog::reject()
{
    if (!m_running) {
        QDialog::reject();
    }
}

} // namespace talik
