#pragma once
// What the password dialog says around a change: removing the protection is asked first, and
// both outcomes are told, so that an Enter on empty boxes never drops a password unnoticed.
#include <string_view>

namespace talik {

inline constexpr std::string_view PasswordRemoveQuestion =
    "パスワードが入力されていません。\r\nパスワードを解除してもよろしいですか？";
inline constexpr std::string_view PasswordSetMessage = "パスワードを設定しました。";
inline constexpr std::string_view PasswordRemovedMessage = "パスワードを解除しました。";

// The message after a stored change: the password set, or removed when it is empty.
constexpr std::string_view PasswordOutcome(bool removed)
{
    return removed ? PasswordRemovedMessage : PasswordSetMessage;
}

} // namespace talik
