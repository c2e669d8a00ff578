#include "interchange/importprogress.h"

#include "platform/installpaths.h"
#include "postal/postalentry.h"
#include "postal/postalrecord.h"

#include <QProgressDialog>

#include "interchange/csvimport.h"
#include "interchange/importsource.h"
#include "listwin/appstate.h"

namespace talik {
namespace {

// Runs taking longer than this show their progress.
constexpr int ProgressAfterMs = 500;
constexpr int ProgressSteps = 1000;

} // namespace

std::optional<std::string> ReadImportFile(AppState& state,
                                          const std::string& path,
                                          const std::function<bool(const std::string& bytes)>& accepts,
                                          std::string_view refusal)
{
    std::string bytes;
    ImportFileError error = ReadImportBytes(path, bytes);
    if (error == ImportFileError::Unreadable) {
        state.ui.message(std::string(CsvReadErrorMessage), MessageIcon::Critical);
        return std::nullopt;
    }
    if (error != ImportFileError::None) {
        state.ui.message(ImportFileMessage(error, path, 0), MessageIcon::Exclamation);
        return std::nullopt;
    }
    if (!accepts(bytes)) {
        state.ui.message(std::string(refusal), MessageIcon::Exclamation);
        return std::nullopt;
    }
    return bytes;
}

void RunWithImportProgress(AppState& state,
                           const char* label,
                           const char* objectName,
                           QWidget* parent,
                           const std::function<void(const ImportStep& step)>& import)
{
    QProgressDialog progress(label, QString(), 0, ProgressSteps, parent);
    progress.setObjectName(objectName);
    progress.setWindowModality(Qt::WindowModal);
    progress.setCancelButton(nullptr);
    progress.setMinimumDuration(ProgressAfterMs);
    progress.setAutoClose(false);
    progress.setValue(0);
    BusyCursor busy(state.ui);
    import([&](std::size_t done, std::size_t total) {
        progress.setValue(total == 0 ? ProgressSteps : static_cast<int>(done * ProgressSteps / total));
    state.ui.processEvents();
});
progress.close();
} // namespace talik

ImportRecordFill PostalFillFor(AppState& state, std::optional<PostalIndex>& index)
{
    std::string error;
    std::string path = FindPostalIndex(state.ProgramFolder, InstalledDataFolder(state.ProgramFolder));
    index = path.empty() ? std::nullopt : PostalIndex::Open(path, error);
    if (!index) {
        state.ui.message(std::string(NoPostalIndexMessage), MessageIcon::Exclamation);
        return {};
    }
    return [&index](AddressRecord& rec) { return FillRecordPostal(*index, rec); };
}

} // namespace talik
