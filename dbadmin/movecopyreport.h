#pragma once
// What moving or copying a search result says: a move, which deletes from the open database, is
// asked first; afterwards both tell how many records went where.
#include <string>

#include "dbadmin/movecopy.h"

namespace talik {

// "3 件のデータを「仕事」へ移動します。\r\n移動したデータはこのデータベースから削除されます。よろしいですか？"
std::string MoveQuestion(int count, const std::string& targetName);
// "3 件のデータを「仕事」へ移動しました。" or "…複写しました。", with the records another copy had
// deleted meanwhile; empty when the run stopped with its own message and nothing was placed.
std::string MoveCopyReport(const MoveCopyOutcome& outcome, bool move, const std::string& targetName);

} // namespace talik
