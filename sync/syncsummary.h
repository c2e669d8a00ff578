#pragma once
// What a sync run did, as the window and talikcli tell it.
#include <string>
#include <vector>

namespace talik {

struct SyncSummary
{
    int localAdded = 0;
    int localUpdated = 0;
    int localDeleted = 0;
    int serverAdded = 0;
    int serverUpdated = 0;
    int serverDeleted = 0;
    int conflicts = 0;
    bool massDeleteStop = false; // nothing was done: the run would have emptied too much of one side
    bool cancelled = false;
    std::string error;              // why the run stopped early; empty when it ran to the end
    std::vector<std::string> notes; // conflicts left alone, uncertain pairs, cards not taken, failures
};

// "この住所録: 追加 a・更新 u・削除 d／サーバー: 追加 a・更新 u・削除 d／競合 c"
std::string SummaryLine(const SyncSummary& summary);

} // namespace talik
