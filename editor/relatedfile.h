#pragma once
// The related file of a record: which values may be stored, and opening one.
#include <optional>
#include <string>
#include <string_view>

namespace talik {

struct AppState;
class Launcher;

inline constexpr std::size_t RelatedFileBytes = 72;
inline constexpr const char* NoRelatedFile =
    "起動する関連情報がありません。\r設定はマウスの右ボタンでクリックしてください。";
inline constexpr const char* RelatedPathTooLong = "関連情報ファイルのパスが長すぎます（72 バイトまで）。";
inline constexpr const char* RelatedPathBadChars = "関連情報ファイルのパスに使用できない文字が含まれています。";

// Why a path cannot be stored whole; empty when it can. A cut path would name another file.
std::string RelatedPathProblem(std::string_view path);

// What the opener is given for a stored value: an http(s) URL as it is, a relative path resolved
// against the program folder, an absolute path as it is; nullopt for any other scheme, a Windows
// path (drive letter or "\") and a local file that does not exist.
std::optional<std::string> RelatedFileTarget(std::string_view value, const std::string& programFolder);

// Opens the related file `value` (not blank); tells "…を起動できません。" and returns false when
// it cannot be opened.
bool OpenRelatedFile(AppState& state, Launcher& launcher, std::string_view value);

} // namespace talik
