#pragma once
// The question before one record is deleted names the person, as the list shows them, rather than
// only the reading: two people of one reading are told apart before one of them is gone.
#include <string>

namespace talik {

struct AppState;

// "山田 太郎（ﾔﾏﾀﾞ ﾀﾛｳ）" + line feed + "このデータを削除してもよろしいですか？"; the reading alone when
// the record has no name or cannot be read. `key` is the list item's key.
std::string DeleteQuestion(const AppState& state, const std::string& key, const std::string& reading);

} // namespace talik
