#include "dialler/TALIKAD32.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGridLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QWindow>

#include "dialler/handsetpicture.h"
#include "dialler/notice.h"
#include "dialler/qtext.h"
#include "dialler/qtlinecanvas.h"
#include "dialler/qtpanelclient.h"
#include "dialler/texts.h"

namespace talik::dialler {
namespace {

constexpr int TwipsPerInch = 1440;
constexpr QSize FormSize(380, 150);
// Inside the panel frame: 3-pixel bevels with a 2-pixel gap, and some air.
constexpr int FormMargin = 16;
// A desktop may refuse to activate a window it did not start from a click; the modem sequence then
// starts this long after the window appeared.
constexpr int ActivationGraceMs = 500;

std::int16_t TwipsPerPixel(int dotsPerInch)
{
    return static_cast<std::int16_t>(dotsPerInch > 0 ? TwipsPerInch / dotsPerInch : 15);
}

QLabel* MakeImage(QWidget* parent, const char* name, bool lifted)
{
    auto* image = new QLabel(parent);
    image->setObjectName(name);
    image->setPixmap(HandsetPicture(lifted));
    image->setFixedSize(HandsetPictureSize, HandsetPictureSize);
    return image;
}

QTimer* MakeTimer(QObject* parent, const char* name, int intervalMs, bool singleShot)
{
    auto* timer = new QTimer(parent);
    timer->setObjectName(name);
    timer->setInterval(intervalMs);
    timer->setSingleShot(singleShot);
    return timer;
}

} // namespace

TALIKAD32::TALIKAD32(DialArguments arguments, SerialPort& port, Clock& clock, Notice& notice, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      m_session(port, clock, std::move(arguments)), m_notice(notice),
      m_frame(TwipsPerPixel(logicalDpiX()), TwipsPerPixel(logicalDpiY()))
{
    setObjectName("TALIKAD32");
    setWindowTitle(Qs(WindowCaption));
    setFixedSize(FormSize);
    m_frame.setStyle3D(5);
    m_frame.setBevelOuter(2);
    m_frame.setBevelInner(1);
    m_frame.setBevelWidth(3);
    m_frame.setBorderWidth(2);
    buildControls();
    buildTimers();
}

void TALIKAD32::buildControls()
{
    m_label1 = new QLabel(Qs(CalleeCaption(m_session.arguments())), this);
    m_label1->setObjectName("Label1");
    QFont callee = m_label1->font();
    callee.setPointSizeF(callee.pointSizeF() * 1.2);
    callee.setBold(true);
    m_label1->setFont(callee);
    m_label2 = new QLabel(this);
    m_label2->setObjectName("Label2");
    m_command1 = new QPushButton(Qs(CancelCaption), this);
    m_command1->setObjectName("Command1");
    m_image[0] = MakeImage(this, "Image1_0", false);
    m_image[1] = MakeImage(this, "Image1_1", true);
    m_image[1]->hide();

    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(FormMargin, FormMargin, FormMargin, FormMargin);
    layout->addWidget(m_image[0], 0, 0, 2, 1, Qt::AlignTop);
    layout->addWidget(m_image[1], 0, 0, 2, 1, Qt::AlignTop);
    layout->addWidget(m_label1, 0, 1);
    layout->addWidget(m_label2, 1, 1);
    layout->addWidget(m_command1, 2, 1, Qt::AlignRight);
    layout->setColumnStretch(1, 1);
    layout->setHorizontalSpacing(FormMargin);

    for (QWidget* part : {static_cast<QWidget*>(m_label1), static_cast<QWidget*>(m_label2),
                          static_cast<QWidget*>(m_image[0]), static_cast<QWidget*>(m_image[1])}) {
        part->installEventFilter(this);
    }
    connect(m_command1, &QPushButton::clicked, this, &TALIKAD32::Command1_Click);
}

void TALIKAD32::buildTimers()
{
    m_timer1 = MakeTimer(this, "Timer1", DialDelayMs, true);
    m_timer2 = MakeTimer(this, "Timer2", PromptDelayMs, true);
    m_timer3 = MakeTimer(this, "Timer3", BlinkMs, false);
    m_replyTimer = MakeTimer(this, "ReplyTimer", ReplyPollMs, false);
    connect(m_timer1, &QTimer::timeout, this, &TALIKAD32::Timer1_Timer);
    connect(m_timer2, &QTimer::timeout, this, &TALIKAD32::Timer2_Timer);
    connect(m_timer3, &QTimer::timeout, this, &TALIKAD32::Timer3_Timer);
    connect(m_replyTimer, &QTimer::timeout, this, &TALIKAD32::collectReply);
    m_timer3->start();
}

void TALIKAD32::Load()
{
    move(screen()->availableGeometry().center() - rect().center());
    setAttribute(Qt::WA_ShowWithoutActivating);
    show();
    raise();
    activateWindow();
    QTimer::singleShot(ActivationGraceMs, this, &TALIKAD32::Form_Activate);
}

bool TALIKAD32::event(QEvent* event)
{
    if (event->type() == QEvent::WindowActivate && !m_started) {
        // Out of the activation itself: the sequence may show a modal message.
        QMetaObject::invokeMethod(this, &TALIKAD32::Form_Activate, Qt::QueuedConnection);
    }
    return QWidget::event(event);
}

void TALIKAD32::setProgress(std::string_view text, const QColor& colour)
{
    QPalette palette = m_label2->palette();
    palette.setColor(QPalette::WindowText, colour);
    m_label2->setPalette(palette);
    m_label2->setText(Qs(text));
}

void TALIKAD32::Form_Activate()
{
    if (m_started || m_finishing) {
        return;
    }
    m_started = true;
    setProgress(PleaseWaitText, Qt::red);
    switch (m_session.open()) {
    case OpenResult::PortUnusable:
        m_notice.show(PortUnusableMessage);
        end(1);
        return;
    case OpenResult::ReadyToDial:
        m_timer1->start();
        return;
    case OpenResult::AwaitingReply:
        m_replyTimer->start();
        return;
    }
}

void TALIKAD32::collectReply()
{
    switch (m_session.pollReply()) {
    case ReplyState::Waiting:
        return;
    case ReplyState::Answered:
        m_replyTimer->stop();
        m_timer1->start();
        return;
    case ReplyState::Rejected:
        m_replyTimer->stop();
        m_notice.show(InitRejectedMessage(m_session.arguments().initString));
        end(1);
        return;
    case ReplyState::NoAnswer:
        m_replyTimer->stop();
        m_notice.show(NoAnswerMessage);
        end(1);
        return;
    }
}

void TALIKAD32::Timer1_Timer()
{
    m_session.dial();
    m_timer2->start();
}

void TALIKAD32::Timer2_Timer()
{
    m_command1->setEnabled(true);
    m_command1->setText(Qs(TalkCaption));
    setProgress(PickUpText, Qt::black);
}

void TALIKAD32::Timer3_Timer()
{
    bool firstShown = m_blinkPhase == 2;
    m_image[0]->setVisible(firstShown);
    m_image[1]->setVisible(!firstShown);
    m_blinkPhase = firstShown ? 1 : 2;
}

void TALIKAD32::Command1_Click()
{
    if (m_finishing) {
        return;
    }
    m_finishing = true;
    m_command1->setEnabled(false);
    m_timer1->stop();
    m_timer2->stop();
    m_replyTimer->stop();
    // The pauses around "+++" hold the window still, as the modem's guard time needs silence.
    m_session.hangUp([] { QCoreApplication::processEvents(); });
    end(0);
}

void TALIKAD32::end(int exitCode)
{
    m_finishing = true;
    m_timer1->stop();
    m_timer2->stop();
    m_timer3->stop();
    m_replyTimer->stop();
    m_session.close();
    close();
    emit ended(exitCode);
}

void TALIKAD32::closeEvent(QCloseEvent* event)
{
    // Closed by the desktop: hang the modem up first, as the button does.
    if (!m_finishing) {
        event->ignore();
        Command1_Click();
        return;
    }
    QWidget::closeEvent(event);
}

void TALIKAD32::paintEvent(QPaintEvent* event)
{
    QWidget::paintEvent(event);
    QPainter painter(this);
    QtLineCanvas canvas(painter, palette());
    QtPanelClient client(*this, &canvas);
    m_frame.setClient(&client);
    m_frame.setCanvas(&canvas);
    try {
        m_frame.Refresh();
    } catch (const QX3DError&) {
        // Only a window too large for 16-bit twips gets here: it goes without its frame.
    }
    m_frame.setClient(nullptr);
    m_frame.setCanvas(nullptr);
}

void TALIKAD32::Move_Form(QPointF globalPos)
{
    // The window system moves the window where it can; elsewhere the window follows the mouse.
    if (windowHandle() != nullptr && windowHandle()->startSystemMove()) {
        return;
    }
    m_dragOffset = globalPos - QPointF(pos());
}

bool TALIKAD32::handleDrag(QMouseEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        if (event->button() != Qt::LeftButton) {
            return false;
        }
        Move_Form(event->globalPosition());
        return true;
    case QEvent::MouseMove:
        if (!m_dragOffset || !(event->buttons() & Qt::LeftButton)) {
            return false;
        }
        move((event->globalPosition() - *m_dragOffset).toPoint());
        return true;
    case QEvent::MouseButtonRelease:
        m_dragOffset.reset();
        return false;
    default:
        return false;
    }
}

void TALIKAD32::mousePressEvent(QMouseEvent* event)
{
    if (!handleDrag(event)) {
        QWidget::mousePressEvent(event);
    }
}

void TALIKAD32::mouseMoveEvent(QMouseEvent* event)
{
    if (!handleDrag(event)) {
        QWidget::mouseMoveEvent(event);
    }
}

void TALIKAD32::mouseReleaseEvent(QMouseEvent* event)
{
    if (!handleDrag(event)) {
        QWidget::mouseReleaseEvent(event);
    }
}

bool TALIKAD32::eventFilter(QObject* watched, QEvent* event)
{
    bool isMouse = event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseMove ||
                   event->type() == QEvent::MouseButtonRelease;
    if (isMouse && handleDrag(static_cast<QMouseEvent*>(event))) {
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace talik::dialler
