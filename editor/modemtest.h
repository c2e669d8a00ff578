#pragma once
// The modem test of the environment settings: opens the chosen port as the dialler does, sends the
// initialisation string and reports what the modem answered.
#include <string>

namespace talik {

class Clock;
class Interaction;
class SerialPort;

enum class ModemTestOutcome
{
    PortUnusable, // the port could not be opened
    Answered,     // the modem answered "OK"
    Refused,      // the modem answered, but not "OK" (an "ERROR" for a bad string)
    NoAnswer,     // nothing came back in time
};

struct ModemTestResult
{
    ModemTestOutcome outcome = ModemTestOutcome::NoAnswer;
    std::string reply; // what the modem sent back
};

// Runs the test on port `port` (1..5) with `initString` ("AT" when empty), letting window events
// run while it waits, and closes the port again.
ModemTestResult
RunModemTest(SerialPort& port, Clock& clock, Interaction& ui, int portNumber, const std::string& initString);
// What the user is told about a test.
std::string ModemTestMessage(const ModemTestResult& result, int portNumber);

} // namespace talik
