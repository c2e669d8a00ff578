#include "print/printdialogs.h"

#include <optional>

#include "listwin/appstate.h"
#include "print/TALIKPRV.h"
#include "print/TALIKPRW.h"
#include "print/TALIKPRX.h"
#include "print/printdispatch.h"
#include "print/printloop.h"
#include "print/printwork.h"

namespace talik {
namespace {

bool HoldsRecipients(const PrintTable& table, char kind)
{
    return table.PrintLineCount >= FirstPosition(kind);
}

} // namespace

void OpenPrintDialog(AppState& state, QWidget* parent, const Readiness& ready)
{
    const char kind = state.PrintKind;
    std::optional<PrintTable> table = LoadPrintWork(state, kind == PrintList);
    if (!table) {
        return;
    }
    if (!HoldsRecipients(*table, kind)) {
        state.ui.message(NoPrintData, MessageIcon::Exclamation);
        return;
    }
    if (kind == PrintPostcards) {
        TALIKPRV(state, std::move(*table), parent, ready).exec();
    } else if (kind == PrintLabels) {
        TALIKPRW(state, std::move(*table), parent, ready).exec();
    } else {
        TALIKPRX(state, std::move(*table), parent, ready).exec();
    }
    state.PrintKind = ' ';
}

void PrintRecords(
    AppState& state, char kind, const ListModel& list, int first, int last, QWidget* parent, const Readiness& ready)
{
    if (PreparePrintJob(state, kind, list, first, last)) {
        OpenPrintDialog(state, parent, ready);
    }
}

void PrintAllRecords(AppState& state, char kind, QWidget* parent, const Readiness& ready)
{
    if (PreparePrintAll(state, kind)) {
        OpenPrintDialog(state, parent, ready);
    }
}

} // namespace talik
