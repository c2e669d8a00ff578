#include "platform/mailhandler.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "platform/trim.h"

namespace talik {
namespace {

constexpr std::string_view MailtoType = "x-scheme-handler/mailto";

std::string Env(const char* name)
{
    const char* value = std::getenv(name);
    return value != nullptr ? std::string(value) : std::string();
}

std::vector<std::string> SplitOn(std::string_view text, char separator)
{
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find(separator, start);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        if (end > start) {
            parts.emplace_back(text.substr(start, end - start));
        }
        start = end + 1;
    }
    return parts;
}

std::string_view TrimLine(std::string_view text)
{
    return TrimOf(text, " \t\r");
}

std::string Lower(std::string text)
{
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return text;
}

// The value of `key` in group `group` of a desktop-entry style file; nullopt when absent.
std::optional<std::string> KeyOf(const std::string& path, std::string_view group, std::string_view key)
{
    std::ifstream in(path);
    if (!in) {
        return std::nullopt;
    }
    std::string line;
    bool inGroup = false;
    while (std::getline(in, line)) {
        std::string_view text = TrimLine(line);
        if (text.empty() || text.front() == '#') {
            continue;
        }
        if (text.front() == '[') {
            inGroup = text == "[" + std::string(group) + "]";
            continue;
        }
        std::size_t equals = text.find('=');
        if (inGroup && equals != std::string_view::npos && TrimLine(text.substr(0, equals)) == key) {
            return std::string(TrimLine(text.substr(equals + 1)));
        }
    }
    return std::nullopt;
}

// The path of desktop entry `id` in the data folders' "applications", or nothing.
std::optional<std::string> FindDesktopEntry(const std::string& id, const XdgFolders& folders)
{
    for (const std::string& dir : folders.dataDirs) {
        std::string path = dir + "/applications/" + id;
        if (std::ifstream(path)) {
            return path;
        }
    }
    return std::nullopt;
}

// The mimeapps.list files in order of precedence.
std::vector<std::string> MimeAppsLists(const XdgFolders& folders)
{
    std::vector<std::string> lists;
    auto addIn = [&](const std::string& dir) {
        for (const std::string& desktop : folders.desktops) {
            lists.push_back(dir + "/" + desktop + "-mimeapps.list");
        }
        lists.push_back(dir + "/mimeapps.list");
    };
    for (const std::string& dir : folders.configDirs) {
        addIn(dir);
    }
    for (const std::string& dir : folders.dataDirs) {
        addIn(dir + "/applications");
    }
    return lists;
}

// Undoes the string escapes of a desktop-entry value (\s \n \t \r \\).
std::string Unescape(std::string_view value)
{
    std::string out;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] != '\\' || i + 1 == value.size()) {
            out += value[i];
            continue;
        }
        char next = value[++i];
        switch (next) {
        case 's':
            out += ' ';
            break;
        case 'n':
            out += '\n';
            break;
        case 't':
            out += '\t';
            break;
        case 'r':
            out += '\r';
            break;
        default:
            out += '\\';
            out += next;
            break;
        }
    }
    return out;
}

// Splits an unescaped Exec line into words, keeping quoted words whole; nullopt on an open quote.
struct Word
{
    std::string text;
    bool quoted = false;
};
std::optional<std::vector<Word>> Words(std::string_view line)
{
    std::vector<Word> words;
    std::size_t i = 0;
    while (i < line.size()) {
        if (line[i] == ' ' || line[i] == '\t') {
            ++i;
            continue;
        }
        Word word;
        if (line[i] == '"') {
            word.quoted = true;
            ++i;
            bool closed = false;
            while (i < line.size()) {
                char c = line[i++];
                if (c == '"') {
                    closed = true;
                    break;
                }
                if (c == '\\' && i < line.size()) {
                    c = line[i++];
                }
                word.text += c;
            }
            if (!closed) {
                return std::nullopt;
            }
        } else {
            while (i < line.size() && line[i] != ' ' && line[i] != '\t') {
                word.text += line[i++];
            }
        }
        words.push_back(std::move(word));
    }
    return words;
}

// One word with its field codes expanded; `usedUrl` is set when the URL took a place.
std::optional<std::string> ExpandWord(const Word& word, const std::string& url, bool& usedUrl)
{
    if (!word.quoted && (word.text == "%u" || word.text == "%U" || word.text == "%f" || word.text == "%F")) {
        usedUrl = true;
        return url;
    }
    std::string out;
    for (std::size_t i = 0; i < word.text.size(); ++i) {
        if (word.text[i] != '%' || i + 1 == word.text.size()) {
            out += word.text[i];
            continue;
        }
        char code = word.text[++i];
        if (code == '%') {
            out += '%';
        } else if (code == 'u' || code == 'U' || code == 'f' || code == 'F') {
            usedUrl = true;
            out += url;
        }
        // Every other field code (%i, %c, %k and the deprecated ones) stands for nothing here.
    }
    if (out.empty() && !word.text.empty() && !word.quoted) {
        return std::nullopt; // a word that was only a dropped field code
    }
    return out;
}

} // namespace

XdgFolders XdgFoldersFromEnvironment()
{
    XdgFolders folders;
    std::string home = Env("HOME");
    std::string configHome = Env("XDG_CONFIG_HOME");
    folders.configDirs.push_back(configHome.empty() ? home + "/.config" : configHome);
    std::string configDirs = Env("XDG_CONFIG_DIRS");
    for (const std::string& dir : SplitOn(configDirs.empty() ? "/etc/xdg" : configDirs, ':')) {
        folders.configDirs.push_back(dir);
    }
    std::string dataHome = Env("XDG_DATA_HOME");
    folders.dataDirs.push_back(dataHome.empty() ? home + "/.local/share" : dataHome);
    std::string dataDirs = Env("XDG_DATA_DIRS");
    for (const std::string& dir : SplitOn(dataDirs.empty() ? "/usr/local/share:/usr/share" : dataDirs, ':')) {
        folders.dataDirs.push_back(dir);
    }
    for (const std::string& desktop : SplitOn(Env("XDG_CURRENT_DESKTOP"), ':')) {
        folders.desktops.push_back(Lower(desktop));
    }
    return folders;
}

std::optional<std::vector<std::string>> ExpandExec(std::string_view exec, const std::string& url)
{
    std::optional<std::vector<Word>> words = Words(Unescape(exec));
    if (!words || words->empty()) {
        return std::nullopt;
    }
    std::vector<std::string> args;
    bool usedUrl = false;
    for (const Word& word : *words) {
        if (std::optional<std::string> expanded = ExpandWord(word, url, usedUrl)) {
            args.push_back(std::move(*expanded));
        }
    }
    if (args.empty()) {
        return std::nullopt;
    }
    if (!usedUrl) {
        args.push_back(url);
    }
    return args;
}

std::optional<std::vector<std::string>> MailHandlerCommand(const std::string& url, const XdgFolders& folders)
{
    for (const std::string& list : MimeAppsLists(folders)) {
        std::optional<std::string> ids = KeyOf(list, "Default Applications", MailtoType);
        if (!ids) {
            continue;
        }
        for (const std::string& id : SplitOn(*ids, ';')) {
            std::optional<std::string> entry = FindDesktopEntry(id, folders);
            if (!entry || KeyOf(*entry, "Desktop Entry", "Hidden") == "true") {
                continue;
            }
            std::optional<std::string> exec = KeyOf(*entry, "Desktop Entry", "Exec");
            if (exec) {
                return ExpandExec(*exec, url);
            }
        }
    }
    return std::nullopt;
}

} // namespace talik
