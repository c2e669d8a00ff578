#include "interchange/csvimportflow.h"

#include <optional>

#include "editor/TALIKCHI.h"
#include "interchange/QXCSVSET.h"
#include "interchange/csvimport.h"
#include "interchange/importprogress.h"
#include "interchange/importsource.h"
#include "listwin/appstate.h"
#include "platform/installpaths.h"
#include "postal/postalentry.h"
#include "postal/postalrecord.h"
#include "ui/qtinteraction.h"

namespace talik {
namespace {

// The mapping dialog, then the check items every imported record gets. False when cancelled.
bool ChooseMapping(AppState& state, const std::string& file, CsvImportOptions& options, QWidget* parent)
{
    QXCSVSET mapping(state, file, options, parent);
    mapping.exec();
    if (state.EditStatus == ' ') {
        return false;
    }
    TALIKCHI checks(state, parent);
    checks.setMessage(Qs(ImportCheckItemsMessage), ImportCheckItemsColour);
    checks.exec();
    if (state.EditStatus == ' ') {
        return false;
    }
    std::copy(state.Rec.CheckItems, state.Rec.CheckItems + 15, options.checkItems.begin());
    return true;
}

ImportCounts
ImportWithProgress(AppState& state, const std::string& file, const CsvImportOptions& options, QWidget* parent)
{
    ImportCounts result;
    RunWithImportProgress(state, "ＣＳＶデータを取込んでいます．．．", "CsvImportProgress", parent,
                          [&](const ImportStep& step) { result = ImportCsvFile(state, file, options, step); });
    return result;
}

void Report(AppState& state, const ImportCounts& result)
{
    if (result.stoppedAt != 0) {
        state.ui.message(ImportStoppedReport(result), MessageIcon::Exclamation);
        return;
    }
    state.ui.message(ImportReport(result, state.settings.Captions.kana), MessageIcon::None);
}

} // namespace

bool RunCsvImport(AppState& state, QWidget* parent)
{
    std::optional<std::string> path = state.ui.chooseOpenFile(std::string(CsvOpenTitle), std::string(CsvOpenFilter));
    if (!path) {
        return false;
    }
    std::optional<std::string> file = ReadImportFile(
        state, *path, [](const std::string& bytes) { return DetectCsvEncoding(bytes) != CsvFileEncoding::Unreadable; },
        CsvUnreadableMessage);
    if (!file) {
        return false;
    }
    CsvImportOptions options;
    if (!ChooseMapping(state, *file, options, parent)) {
        return false;
    }
    if (!state.ui.askYesNo(CsvImportQuestion(*path), MessageIcon::Exclamation, std::string(ImportConfirmTitle))) {
        return false;
    }
    // The postal code list, when asked for, is mapped before anything is stored.
    std::optional<PostalIndex> postal;
    if (options.fillPostal && !(options.fill = PostalFillFor(state, postal))) {
        return false;
    }
    ImportCounts result;
    if (!ImportRanOutOfMemory(state, [&] { result = ImportWithProgress(state, *file, options, parent); })) {
        Report(state, result);
    }
    return true;
}

} // namespace talik
