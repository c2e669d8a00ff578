#include "editor/relatedfile.h"

#include <filesystem>

#include "listwin/appstate.h"
#include "platform/codec.h"
#include "platform/launcher.h"
#include "store/record.h"

namespace talik {
namespace {

bool StartsWithNoCase(std::string_view text, std::string_view prefix)
{
    if (text.size() < prefix.size()) {
        return false;
    }
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        char c = text[i];
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
        if (c != prefix[i]) {
            return false;
        }
    }
    return true;
}

bool IsAsciiLetter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// "scheme:" at the start (RFC 3986 scheme characters); a drive letter "C:" counts as one too.
bool HasScheme(std::string_view value)
{
    if (value.empty() || !IsAsciiLetter(value.front())) {
        return false;
    }
    for (std::size_t i = 1; i < value.size(); ++i) {
        char c = value[i];
        if (c == ':') {
            return true;
        }
        if (!IsAsciiLetter(c) && !(c >= '0' && c <= '9') && c != '+' && c != '-' && c != '.') {
            return false;
        }
    }
    return false;
}

} // namespace

std::string RelatedPathProblem(std::string_view path)
{
    if (FromCp932(ToCp932(path)) != path) {
        return RelatedPathBadChars;
    }
    if (static_cast<std::size_t>(AnsiLen(path)) > RelatedFileBytes) {
        return RelatedPathTooLong;
    }
    return {};
}

std::optional<std::string> RelatedFileTarget(std::string_view value, const std::string& programFolder)
{
    if (value.empty()) {
        return std::nullopt;
    }
    if (StartsWithNoCase(value, "http://") || StartsWithNoCase(value, "https://")) {
        return std::string(value);
    }
    if (HasScheme(value) || value.front() == '\\') {
        return std::nullopt;
    }
    // Relative to the program folder, which is absolute: no argument can start with "-".
    std::string path = value.front() == '/' ? std::string(value) : programFolder + std::string(value);
    std::error_code error;
    if (!std::filesystem::exists(path, error)) {
        return std::nullopt;
    }
    return path;
}

bool OpenRelatedFile(AppState& state, Launcher& launcher, std::string_view value)
{
    std::optional<std::string> target = RelatedFileTarget(value, state.ProgramFolder);
    if (!target || !launcher.openDocument(*target)) {
        state.ui.message(std::string(value) + "を起動できません。", MessageIcon::Exclamation);
        return false;
    }
    return true;
}

} // namespace talik
