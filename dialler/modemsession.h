#pragma once
// The conversation with a Hayes-compatible modem, one step per call, free of any window: the
// dialler's timers (or a test) decide when each step runs.
//
//   open()       open the port "2400,N,8,1", send the initialisation string + CR LF
//   pollReply()  collect the reply until it contains "OK" (or the time limit passes)
//   dial()       500 ms after "OK": dial prefix + dial digits + CR LF
//   hangUp()     on the button: 1 s pause, "+++", 1 s pause, "ATH" CR, wait for the output to
//                drain, close. The handset keeps the line.
#include <functional>
#include <string>
#include <string_view>

#include "dialler/arguments.h"
#include "platform/clock.h"
#include "platform/serialport.h"

namespace talik::dialler {

inline constexpr std::string_view LineSettingsText = "2400,N,8,1";
inline constexpr std::string_view LineEnd = "\r\n";
inline constexpr std::string_view ModemReady = "OK";
inline constexpr std::string_view EscapeCommand = "+++";
inline constexpr std::string_view HangUpCommand = "ATH\r";

inline constexpr int DialDelayMs = 500;    // from "OK" to dialling (Timer1)
inline constexpr int PromptDelayMs = 4000; // from dialling to the prompt (Timer2)
inline constexpr int BlinkMs = 700;        // the handset pictures (Timer3)
inline constexpr int ReplyPollMs = 50;     // how often the reply is collected
// A modem that has not answered "OK" by then is not coming: the user is told and the dialler ends.
inline constexpr int ReplyLimitMs = 10000;
// The guard time a modem needs around "+++" to take it as the escape to command mode.
inline constexpr int EscapeGuardMs = 1000;
// At 2400 bit/s the few bytes of the hang-up are out in milliseconds; a line that never drains
// must not keep the program alive.
inline constexpr int DrainLimitMs = 5000;
inline constexpr int DrainPollMs = 10;

enum class OpenResult
{
    PortUnusable,  // the port could not be opened: nothing else happens
    AwaitingReply, // the initialisation string is out: collect the reply
    ReadyToDial,   // nothing to initialise: dial next
};

enum class ReplyState
{
    Waiting,
    Answered,
    NoAnswer, // the time limit passed without "OK"
};

// The commands, as sent.
std::string InitCommand(std::string_view initString);
std::string DialCommand(std::string_view dialPrefix, std::string_view dialDigits);

class ModemSession
{
public:
    ModemSession(SerialPort& port, Clock& clock, DialArguments arguments);

    OpenResult open();
    ReplyState pollReply();
    void dial();
    // `letEventsRun` is called while the output drains, so the window stays painted.
    void hangUp(const std::function<void()>& letEventsRun);
    void close();

    bool isOpen() const { return m_port.isOpen(); }
    const std::string& reply() const { return m_reply; }
    const DialArguments& arguments() const { return m_arguments; }

private:
    // Errors of single commands are not reported: the sequence goes on, and the user hears the
    // outcome on the handset.
    void send(std::string_view text) { (void)m_port.write(text); }
    void waitForDrain(const std::function<void()>& letEventsRun);

    SerialPort& m_port;
    Clock& m_clock;
    DialArguments m_arguments;
    std::string m_reply;
    long long m_replySince = 0;
};

} // namespace talik::dialler
