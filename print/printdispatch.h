#pragma once
// Which records a print takes and the work file its dialog reads: one listed record, a run of the
// list, or every record of the database in reading order.
#include "listwin/listmodel.h"

namespace talik {

struct AppState;

inline constexpr const char* NoPrintData = "印刷データがありません。";

// Every live record of the open database in ascending reading order, across all kana groups.
ListModel AllRecordsByReading(const AppState& state);

// Sets PrintKind and writes the work file of `kind` for items first..last of `list`. False (the user
// told) when there is nothing to print or the file could not be written: no dialog may open then,
// or it would read a stale job.
bool PreparePrintJob(AppState& state, char kind, const ListModel& list, int first, int last);
// Every record of the database in reading order, as "全件" printing takes them: postcards and
// labels printed from a list narrowed by a card-season filter take only the people it keeps.
ListModel RecordsToPrintAll(const AppState& state, char kind);
// PreparePrintJob for RecordsToPrintAll.
bool PreparePrintAll(AppState& state, char kind);

} // namespace talik
