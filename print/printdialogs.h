#pragma once
// How the list windows print: the records go into the work file, then the kind's dialog opens on it.
#include <cstdint>
#include <vector>

#include "listwin/listmodel.h"
#include "ui/readiness.h"

class QWidget;

namespace talik {

struct AppState;

// Opens the dialog of PrintKind on the work file just written; nothing opens (the user told) when
// the file cannot be read or holds no one to print. `recNos` are the records of its recipient lines.
void OpenPrintDialog(AppState& state,
                     QWidget* parent,
                     const Readiness& ready = Ready,
                     std::vector<std::int32_t> recNos = {});
// Items first..last of `list`, then the dialog.
void PrintRecords(AppState& state,
                  char kind,
                  const ListModel& list,
                  int first,
                  int last,
                  QWidget* parent,
                  const Readiness& ready = Ready);
// The records of RecordsToPrintAll, then the dialog.
void PrintAllRecords(AppState& state, char kind, QWidget* parent, const Readiness& ready = Ready);

} // namespace talik
