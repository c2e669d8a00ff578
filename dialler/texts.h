#pragma once
// Everything the dialler says to the user, in one place.
#include <string>
#include <string_view>

namespace talik::dialler {

inline constexpr std::string_view WindowCaption = "Mirepol 自動ダイヤラー";
inline constexpr std::string_view CancelCaption = "取り消し";
inline constexpr std::string_view TalkCaption = "通話";
inline constexpr std::string_view PleaseWaitText = "お待ちください...";
inline constexpr std::string_view PickUpText = "受話器を取って接続確認後に\n'通話'ボタンを押してください。";
inline constexpr std::string_view PortUnusableMessage =
    "指定されたCOMポートは使用できません。ポートを確認してください。";
inline constexpr std::string_view NoAnswerMessage = "モデムが応答しません。モデムの電源と接続を確認してください。";

// The modem answered the initialisation string with "ERROR": the string is wrong, not the cable.
inline std::string InitRejectedMessage(std::string_view initString)
{
    return "モデムが初期化文字列「" + std::string(initString) +
           "」を受け付けませんでした。初期化文字列を確認してください。";
}

} // namespace talik::dialler
