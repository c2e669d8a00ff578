#pragma once
// The search engine: a full scan of the open database's main file against the conditions typed
// into the record buffer, in four kinds (new, add, narrow, exclude), filling a result list.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "listwin/listmodel.h"

namespace talik {

struct AppState;

enum class SearchKind : char
{
    New = ' ',
    Add = 'A',
    Narrow = 'S',
    Exclude = 'E',
};

// What a search result window keeps between its searches.
struct SearchSession
{
    SearchKind kind = SearchKind::New;
    std::vector<char> HitFlag = std::vector<char>(64001, ' '); // record number -> '1' in the result
};

enum class SearchEnd
{
    Done,        // the whole file was scanned
    NoCondition, // nothing to search for: the user was told
    TooMany,     // 3000 results reached: the user was told, the scan stopped there
    Failed,      // the file could not be opened: the user was told
};

struct SearchOutcome
{
    SearchEnd end = SearchEnd::Done;
    int hits = 0; // items in the result list afterwards
};

inline constexpr int MaxSearchHits = 3000;
inline constexpr std::string_view NoConditionMessage =
    "検索したい項目に入力をするか、\r選択をして検索実行をしてください。";
inline constexpr std::string_view TooManyHitsMessage = "検索結果が3000件を越えています。\nもう少し絞り込んで下さい。";

// Cleans the conditions in state.Rec (each text field cut at a NUL and trimmed, written back), then
// scans the main file by `session.kind`: a new search starts afresh, an add search keeps the list
// and never lists a record twice, a narrow search keeps only results that match, an exclude search
// keeps only results that match none of the conditions. Text conditions are substring tests on the
// stored bytes that only match at character boundaries; a birthday condition compares the parts that
// are not zero; check items set in the condition must be set in the record. Hits are added to
// `result` from the tables, which is sorted on column 0 afterwards.
SearchOutcome RunSearch(AppState& state, SearchSession& session, ListModel& result);

// "検索件数：" & TotalCount & " 件　　該当件数：" & hits & " 件".
std::string SearchCountLine(const AppState& state, int hits);

// Sets (or clears) the check items flagged in `items` in every record listed in `result`, on disk,
// leaving every other check item alone. Returns how many records were written (a record deleted
// meanwhile is skipped), or -1 when the file could not be opened, read or written (the user was told).
int ApplyCheckItems(AppState& state, const ListModel& result, const std::array<bool, 15>& items, bool set);

} // namespace talik
