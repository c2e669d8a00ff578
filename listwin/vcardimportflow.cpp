#include "listwin/vcardimportflow.h"

#include <QProgressDialog>

#include <optional>

#include "editor/TALIKCHI.h"
#include "listwin/csvimport.h"
#include "listwin/vcardimport.h"
#include "store/state.h"
#include "ui/qtinteraction.h"

namespace talik {
namespace {

constexpr int ProgressAfterMs = 500;
constexpr int ProgressSteps = 1000;

// The file, read whole; nullopt after the user was told why it cannot be imported.
std::optional<std::string> ReadVcardFile(AppState& state, const std::string& path)
{
    std::string bytes;
    if (!ReadWholeFile(path, bytes)) {
        state.ui.message(std::string(CsvReadErrorMessage), MessageIcon::Critical);
        return std::nullopt;
    }
    if (!LooksLikeVcard(bytes)) {
        state.ui.message(std::string(VcardNotVcardMessage), MessageIcon::Exclamation);
        return std::nullopt;
    }
    return bytes;
}

// The check items every imported record gets; nullopt when cancelled.
std::optional<std::array<char, 15>> ChooseCheckItems(AppState& state, QWidget* parent)
{
    TALIKCHI checks(state, parent);
    checks.exec();
    if (state.EditStatus == ' ') {
        return std::nullopt;
    }
    std::array<char, 15> items{};
    std::copy(state.Rec.CheckItems, state.Rec.CheckItems + 15, items.begin());
    return items;
}

VcardImportResult
ImportWithProgress(AppState& state, const std::string& file, const std::array<char, 15>& checks, QWidget* parent)
{
    QProgressDialog progress("vCardデータを取込んでいます．．．", QString(), 0, ProgressSteps, parent);
    progress.setObjectName("VcardImportProgress");
    progress.setWindowModality(Qt::WindowModal);
    progress.setCancelButton(nullptr);
    progress.setMinimumDuration(ProgressAfterMs);
    progress.setAutoClose(false);
    progress.setValue(0);
    BusyCursor busy(state.ui);
    VcardImportResult result = ImportVcardFile(state, file, checks, [&](std::size_t done, std::size_t total) {
        progress.setValue(total == 0 ? ProgressSteps : static_cast<int>(done * ProgressSteps / total));
        state.ui.processEvents();
    });
    progress.close();
    return result;
}

} // namespace

bool RunVcardImport(AppState& state, QWidget* parent)
{
    std::optional<std::string> path =
        state.ui.chooseOpenFile(std::string(VcardOpenTitle), std::string(VcardOpenFilter));
    if (!path) {
        return false;
    }
    std::optional<std::string> file = ReadVcardFile(state, *path);
    if (!file) {
        return false;
    }
    std::optional<std::array<char, 15>> checks = ChooseCheckItems(state, parent);
    if (!checks) {
        return false;
    }
    if (!state.ui.askYesNo(VcardImportQuestion(*path), MessageIcon::Exclamation, std::string(CsvConfirmTitle))) {
        return false;
    }
    const VcardImportResult result = ImportWithProgress(state, *file, *checks, parent);
    if (result.stoppedAt != 0) {
        state.ui.message(VcardStoppedReport(result), MessageIcon::Exclamation);
    } else {
        state.ui.message(VcardImportReport(result, state.settings.Captions.kana), MessageIcon::None);
    }
    return true;
}

} // namespace talik
