#include "sync/syncsummary.h"

namespace talik {

std::string SummaryLine(const SyncSummary& s)
{
    auto n = [](int value) { return std::to_string(value); };
    return "この住所録: 追加 " + n(s.localAdded) + "・更新 " + n(s.localUpdated) + "・削除 " + n(s.localDeleted) +
           "／サーバー: 追加 " + n(s.serverAdded) + "・更新 " + n(s.serverUpdated) + "・削除 " + n(s.serverDeleted) +
           "／競合 " + n(s.conflicts);
}

std::string UncertainPairLines(const SyncSummary& summary)
{
    std::string lines;
    for (const UncertainPair& pair : summary.uncertainPairs) {
        lines += std::to_string(pair.recNo) + "\t" + pair.name + "\t" + pair.href + "\t" + pair.cardName + "\t" +
                 std::to_string(pair.score) + "\t" + pair.reasons + "\n";
    }
    return lines;
}

} // namespace talik
