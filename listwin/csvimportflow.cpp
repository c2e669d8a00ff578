#include "listwin/csvimportflow.h"

#include <QElapsedTimer>
#include <QProgressDialog>

#include <optional>

#include "editor/TALIKCHI.h"
#include "listwin/QXCSVSET.h"
#include "listwin/csvimport.h"
#include "store/state.h"
#include "ui/qtinteraction.h"

namespace talik {
namespace {

// Runs taking longer than this show their progress.
constexpr int ProgressAfterMs = 500;
constexpr int ProgressSteps = 1000;

// The file, read whole; nullopt after the user was told why it cannot be imported.
std::optional<std::string> ReadCsvFile(AppState& state, const std::string& path)
{
    std::string bytes;
    if (!ReadWholeFile(path, bytes)) {
        state.ui.message(std::string(CsvReadErrorMessage), MessageIcon::Critical);
        return std::nullopt;
    }
    if (DetectCsvEncoding(bytes) == CsvFileEncoding::Unreadable) {
        state.ui.message(std::string(CsvUnreadableMessage), MessageIcon::Exclamation);
        return std::nullopt;
    }
    return bytes;
}

// The mapping dialog, then the check items every imported record gets. False when cancelled.
bool ChooseMapping(AppState& state, const std::string& file, CsvImportOptions& options, QWidget* parent)
{
    QXCSVSET mapping(state, file, options, parent);
    mapping.exec();
    if (state.EditStatus == ' ') {
        return false;
    }
    TALIKCHI checks(state, parent);
    checks.exec();
    if (state.EditStatus == ' ') {
        return false;
    }
    std::copy(state.Rec.CheckItems, state.Rec.CheckItems + 15, options.checkItems.begin());
    return true;
}

// The import with a progress dialog that shows itself only for a run that takes a while; it
// cannot be cancelled, as the records stored so far stay stored.
CsvImportResult
ImportWithProgress(AppState& state, const std::string& file, const CsvImportOptions& options, QWidget* parent)
{
    QProgressDialog progress("ＣＳＶデータを取込んでいます．．．", QString(), 0, ProgressSteps, parent);
    progress.setObjectName("CsvImportProgress");
    progress.setWindowModality(Qt::WindowModal);
    progress.setCancelButton(nullptr);
    progress.setMinimumDuration(ProgressAfterMs);
    progress.setAutoClose(false);
    progress.setValue(0);
    BusyCursor busy(state.ui);
    CsvImportResult result = ImportCsvFile(state, file, options, [&](std::size_t done, std::size_t total) {
        progress.setValue(total == 0 ? ProgressSteps : static_cast<int>(done * ProgressSteps / total));
        state.ui.processEvents();
    });
    progress.close();
    return result;
}

void Report(AppState& state, const CsvImportResult& result)
{
    if (result.stoppedAt != 0) {
        state.ui.message(CsvStoppedReport(result), MessageIcon::Exclamation);
        return;
    }
    state.ui.message(CsvImportReport(result, state.settings.Captions.kana), MessageIcon::None);
}

} // namespace

bool RunCsvImport(AppState& state, QWidget* parent)
{
    std::optional<std::string> path = state.ui.chooseOpenFile(std::string(CsvOpenTitle), std::string(CsvOpenFilter));
    if (!path) {
        return false;
    }
    std::optional<std::string> file = ReadCsvFile(state, *path);
    if (!file) {
        return false;
    }
    CsvImportOptions options;
    if (!ChooseMapping(state, *file, options, parent)) {
        return false;
    }
    if (!state.ui.askYesNo(CsvImportQuestion(*path), MessageIcon::Exclamation, std::string(CsvConfirmTitle))) {
        return false;
    }
    CsvImportResult result = ImportWithProgress(state, *file, options, parent);
    Report(state, result);
    return true;
}

} // namespace talik
