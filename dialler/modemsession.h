#pragma once
// The conversation with a Hayes-compatible modem, one step per call, free of any window: the
// dialler's timers (or a test) decide when each step runs.
//
//   open()       open the port "2400,N,8,1", send the initialisation string + CR LF
//   pollReply()  collect the reply until the modem says "OK" or "ERROR" (or the time limit passes)
//   dial()       500 ms after "OK": dial prefix + dial digits + CR LF
//   hangUp()     on the button: pause, "+++", pause, the modem's "OK", "ATH" CR, wait for the
//                output to drain, close. The handset keeps the line.
//
// The escape "+++" counts only with a guard time of silence on the line before and after it. The
// pauses are therefore measured from the moment the bytes have left the line, not from the moment
// they were handed to the port: at 2400 bit/s "+++" alone takes 12.5 ms to go out.
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
inline constexpr std::string_view ModemReadyCode = "0"; // the same, from a modem set to numeric codes
inline constexpr std::string_view ModemRejected = "ERROR";
inline constexpr std::string_view ModemRejectedCode = "4";
inline constexpr std::string_view EscapeCommand = "+++";
inline constexpr std::string_view HangUpCommand = "ATH\r";

inline constexpr int DialDelayMs = 500;    // from "OK" to dialling (Timer1)
inline constexpr int PromptDelayMs = 4000; // from dialling to the prompt (Timer2)
inline constexpr int BlinkMs = 700;        // the handset pictures (Timer3)
inline constexpr int ReplyPollMs = 50;     // how often the reply is collected
// A modem that has not answered "OK" by then is not coming: the user is told and the dialler ends.
inline constexpr int ReplyLimitMs = 10000;
// The guard time a Hayes modem wants around "+++" by default (register S12 = 50 fiftieths).
inline constexpr int ModemGuardMs = 1000;
// The pauses before and after "+++", clearly longer than the guard time so that a timer's or the
// modem's own inexactness cannot shorten the silence below it.
inline constexpr int EscapePauseMs = 1200;
// After the second pause the modem says "OK" once it is back in command mode; "ATH" sent before
// that would be taken as data. A modem that stays silent gets "ATH" after this much longer.
inline constexpr int EscapeAnswerLimitMs = 2000;
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
    Rejected, // the modem answered "ERROR": it did not take the initialisation string
    NoAnswer, // the time limit passed without "OK"
};

// What a modem's reply says so far.
enum class ModemAnswer
{
    None,
    Ok,
    Error,
};

// The first result in `reply`: "OK" or "ERROR" anywhere in it, or a line holding only the numeric
// code "0" or "4" (a numeric code counts once its CR has come, so the "0" of a longer code such as
// "10" is not taken for "OK"). Whatever else the modem says (the echo of the command, blank lines)
// is passed over.
ModemAnswer ReadAnswer(std::string_view reply);

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
    // `letEventsRun` is called while the output drains and while the modem's "OK" is awaited, so
    // the window stays painted; the two pauses themselves hold the window still.
    void hangUp(const std::function<void()>& letEventsRun);
    void close();

    bool isOpen() const { return m_port.isOpen(); }
    const std::string& reply() const { return m_reply; }
    const DialArguments& arguments() const { return m_arguments; }

private:
    // Errors of single commands are not reported: the sequence goes on, and the user hears the
    // outcome on the handset.
    void send(std::string_view text) { (void)m_port.write(text); }
    // Returns once everything sent has left the line (or the line has stalled).
    void finishSending(const std::function<void()>& letEventsRun);
    void awaitEscapeAnswer(const std::function<void()>& letEventsRun);

    SerialPort& m_port;
    Clock& m_clock;
    DialArguments m_arguments;
    std::string m_reply;
    long long m_replySince = 0;
    bool m_dialled = false;     // a modem that never dialled is in command mode: "+++" gets no answer
    bool m_lineStalled = false; // the output did not drain in time once: waiting again is pointless
};

} // namespace talik::dialler
