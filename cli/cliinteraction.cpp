#include "cli/cliinteraction.h"

#include <cstdio>

#include "cli/clipassword.h"

namespace talik {
namespace {

// Message texts break lines with CR LF or a lone CR, as message boxes do; a terminal wants LF.
void PrintLines(const std::string& text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r') {
            out += text[i];
        } else if (i + 1 == text.size() || text[i + 1] != '\n') {
            out += '\n';
        }
    }
    std::fprintf(stderr, "%s\n", out.c_str());
}

} // namespace

void CliInteraction::message(const std::string& text, MessageIcon, const std::string&)
{
    PrintLines(text);
}

// talikcli answers every question Yes; the question and the answer go on standard error, so a
// script's log shows what was agreed to.
bool CliInteraction::askYesNo(const std::string& text, MessageIcon, const std::string&)
{
    PrintLines(text + " → はい");
    return true;
}

std::optional<std::string> CliInteraction::promptPassword(const std::string& dbDisplayName)
{
    if (!m_password) {
        PrintLines(dbDisplayName + "のパスワードを入力してください。");
        return std::nullopt;
    }
    if (m_passwordUsed) {
        return std::nullopt;
    }
    m_passwordUsed = true;
    std::string error;
    std::optional<std::string> password = ReadPassword(*m_password, error);
    if (!password) {
        PrintLines(error);
    }
    return password;
}

} // namespace talik
