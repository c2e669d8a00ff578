#include "store/messages.h"

#include "store/kana.h"
#include "store/state.h"
#include "store/tables.h"

namespace talik {

void TellAccessError(StoreState& state, const std::string& path)
{
    state.ui.message("指定したデータベース（" + path + "）にアクセスできません。\r\n" +
                         "パスが正しいか、読み取り専用でないか、アクセス権があるか確認してください。",
                     MessageIcon::Exclamation);
}

void TellLockHeld(StoreState& state, const std::string& path)
{
    state.ui.message("他の人がデータベース（" + path + "）を使用中で書き込みができません。", MessageIcon::Exclamation);
}

void TellWriteFailed(StoreState& state, const std::string& path)
{
    TellFileNotWritten(state.ui, "データベース", path);
}

void TellFileNotWritten(Interaction& ui, std::string_view what, const std::string& path)
{
    ui.message(std::string(what) + "（" + path + "）への書き込みに失敗しました。\r\n" +
                   "ディスクの空き容量とアクセス権を確認してください。",
               MessageIcon::Exclamation);
}

void TellGroupFull(StoreState& state, int group)
{
    state.ui.message("'" + GroupCaption(group) + "'のテーブルが3000件を超えています。", MessageIcon::Exclamation);
}

void TellDatabaseFull(StoreState& state)
{
    state.ui.message("データベースの登録件数が上限（" + std::to_string(MaxRecNo - FirstRecNo + 1) +
                         "件）に達しているため、これ以上登録できません。\r\n" +
                         "不要なデータを削除してから登録してください。",
                     MessageIcon::Exclamation);
}

} // namespace talik
