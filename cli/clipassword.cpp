#include "cli/clipassword.h"

#include <cstdio>
#include <termios.h>
#include <unistd.h>

namespace talik {
namespace {

// The first line of `file` without its LF or CR LF; nullopt when the file holds nothing or
// cannot be read.
std::optional<std::string> FirstLineOf(std::FILE* file)
{
    std::string line;
    bool readAny = false;
    for (int c = std::fgetc(file); c != EOF; c = std::fgetc(file)) {
        readAny = true;
        if (c == '\n') {
            break;
        }
        line += static_cast<char>(c);
    }
    if (std::ferror(file) || !readAny) {
        return std::nullopt;
    }
    if (!line.empty() && line.back() == '\r') {
        line.pop_back();
    }
    return line;
}

// While it lives, what is typed at the terminal on standard input is not shown.
class TerminalEchoOff
{
public:
    TerminalEchoOff()
    {
        if (isatty(STDIN_FILENO) == 0 || tcgetattr(STDIN_FILENO, &m_saved) != 0) {
            return;
        }
        termios quiet = m_saved;
        quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
        m_active = tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet) == 0;
        if (m_active) {
            std::fputs("パスワード: ", stderr);
            std::fflush(stderr);
        }
    }
    ~TerminalEchoOff()
    {
        if (m_active) {
            tcsetattr(STDIN_FILENO, TCSAFLUSH, &m_saved);
            std::fputc('\n', stderr); // the Enter the user typed was not echoed either
        }
    }
    TerminalEchoOff(const TerminalEchoOff&) = delete;
    TerminalEchoOff& operator=(const TerminalEchoOff&) = delete;

private:
    termios m_saved{};
    bool m_active = false;
};

std::optional<std::string> ReadFromFile(const std::string& path, std::string& error)
{
    std::FILE* file = std::fopen(path.c_str(), "rb");
    std::optional<std::string> line = file != nullptr ? FirstLineOf(file) : std::nullopt;
    if (file != nullptr) {
        std::fclose(file);
    }
    if (!line) {
        error = "パスワードファイル（" + path + "）を読み込めません。";
    }
    return line;
}

std::optional<std::string> ReadFromStandardInput(std::string& error)
{
    TerminalEchoOff echoOff;
    std::optional<std::string> line = FirstLineOf(stdin);
    if (!line) {
        error = "標準入力からパスワードを読み込めません。";
    }
    return line;
}

} // namespace

std::optional<std::string> ReadPassword(const PasswordOption& option, std::string& error)
{
    switch (option.source) {
    case PasswordOption::Source::File:
        return ReadFromFile(option.value, error);
    case PasswordOption::Source::StandardInput:
        return ReadFromStandardInput(error);
    case PasswordOption::Source::Text:
        break;
    }
    return option.value;
}

} // namespace talik
