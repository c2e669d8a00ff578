#include "editor/modemtest.h"

#include "dialler/modemsession.h"
#include "platform/interaction.h"

namespace talik {
namespace {

constexpr std::string_view ModemRefused = "ERROR";

// The reply without its empty lines and the echo of the command.
std::string ShownReply(const std::string& reply)
{
    std::string shown;
    std::size_t at = 0;
    while (at < reply.size()) {
        std::size_t end = reply.find_first_of("\r\n", at);
        if (end == std::string::npos) {
            end = reply.size();
        }
        if (end > at) {
            shown += (shown.empty() ? "" : "\r\n") + reply.substr(at, end - at);
        }
        at = end + 1;
    }
    return shown;
}

} // namespace

ModemTestResult
RunModemTest(SerialPort& port, Clock& clock, Interaction& ui, int portNumber, const std::string& initString)
{
    dialler::DialArguments arguments;
    arguments.port = std::to_string(portNumber);
    arguments.initString = initString.empty() ? std::string("AT") : initString;
    dialler::ModemSession session(port, clock, arguments);
    ModemTestResult result;
    if (session.open() == dialler::OpenResult::PortUnusable) {
        result.outcome = ModemTestOutcome::PortUnusable;
        return result;
    }
    BusyCursor busy(ui);
    for (;;) {
        ui.processEvents();
        const dialler::ReplyState state = session.pollReply();
        if (state == dialler::ReplyState::Answered) {
            result.outcome = ModemTestOutcome::Answered;
            break;
        }
        if (session.reply().find(ModemRefused) != std::string::npos) {
            result.outcome = ModemTestOutcome::Refused;
            break;
        }
        if (state == dialler::ReplyState::NoAnswer) {
            break;
        }
        clock.sleepMs(dialler::ReplyPollMs);
    }
    result.reply = ShownReply(session.reply());
    session.close();
    return result;
}

std::string ModemTestMessage(const ModemTestResult& result, int portNumber)
{
    const std::string port = "COM" + std::to_string(portNumber);
    switch (result.outcome) {
    case ModemTestOutcome::PortUnusable:
        return port + " を開けません。\r\nモデムの接続とポートの設定を確認してください。";
    case ModemTestOutcome::Answered:
        return port + " のモデムが応答しました。\r\n\r\n" + result.reply;
    case ModemTestOutcome::Refused:
        return port + " のモデムが初期化コマンドを受け付けませんでした。\r\n\r\n" + result.reply;
    case ModemTestOutcome::NoAnswer:
        break;
    }
    return port + " のモデムから応答がありません。" + (result.reply.empty() ? "" : "\r\n\r\n" + result.reply);
}

} // namespace talik
