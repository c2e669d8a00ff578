#include "dbadmin/movecopyreport.h"

namespace talik {

std::string MoveQuestion(int count, const std::string& targetName)
{
    return std::to_string(count) + " 件のデータを「" + targetName +
           "」へ移動します。\r\n移動したデータはこのデータベースから削除されます。よろしいですか？";
}

std::string MoveCopyReport(const MoveCopyOutcome& outcome, bool move, const std::string& targetName)
{
    if (outcome.stopped && outcome.done == 0) {
        return {};
    }
    std::string report = std::to_string(outcome.done) + " 件のデータを「" + targetName + "」へ" +
                         (move ? "移動しました。" : "複写しました。");
    if (outcome.skipped > 0) {
        report += "\r\n" + std::to_string(outcome.skipped) + " 件は既に削除されていたため、対象外にしました。";
    }
    if (outcome.stopped) {
        report += "\r\n途中で中断しました。残りのデータはそのままです。";
    }
    return report;
}

} // namespace talik
