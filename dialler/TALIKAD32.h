#pragma once
// The dialler's one window: who is called, what is happening, and the button that hangs the modem
// up once the user has taken the handset. Its timers drive the modem session step by step.
#include <optional>

#include <QPoint>
#include <QWidget>

#include "dialler/QX3D.h"
#include "dialler/arguments.h"
#include "dialler/modemsession.h"

class QLabel;
class QPushButton;
class QTimer;

namespace talik::dialler {

class Notice;

class TALIKAD32 : public QWidget
{
    Q_OBJECT
public:
    TALIKAD32(DialArguments arguments, SerialPort& port, Clock& clock, Notice& notice, QWidget* parent = nullptr);

    // Centres the window, shows it on top of the others and brings it to the front. The modem
    // sequence starts when it first becomes active.
    void Load();
    // Lets the user drag the window, grabbed at `globalPos`, by any of its parts.
    void Move_Form(QPointF globalPos);

signals:
    // The program's work is over: 0 after the button, 1 when the port or the modem failed.
    void ended(int exitCode);

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();
    void buildTimers();
    void setProgress(std::string_view text, const QColor& colour);
    bool handleDrag(QMouseEvent* event);

    void Form_Activate();
    void collectReply();
    void Timer1_Timer();
    void Timer2_Timer();
    void Timer3_Timer();
    void Command1_Click();
    void end(int exitCode);

    ModemSession m_session;
    Notice& m_notice;
    QX3D m_frame;
    QLabel* m_label1 = nullptr;
    QLabel* m_label2 = nullptr;
    QPushButton* m_command1 = nullptr;
    QLabel* m_image[2] = {};
    QTimer* m_timer1 = nullptr;
    QTimer* m_timer2 = nullptr;
    QTimer* m_timer3 = nullptr;
    QTimer* m_replyTimer = nullptr;
    bool m_started = false;
    bool m_finishing = false;
    int m_blinkPhase = 1;
    std::optional<QPointF> m_dragOffset; // where the window was grabbed, while the mouse moves it
};

} // namespace talik::dialler
