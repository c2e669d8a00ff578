#include "interchange/vcardimportflow.h"

#include <optional>

#include "editor/TALIKCHI.h"
#include "interchange/csvimport.h"
#include "interchange/importprogress.h"
#include "interchange/vcardimport.h"
#include "listwin/appstate.h"
#include "ui/qtinteraction.h"

namespace talik {
namespace {

// The check items every imported record gets; nullopt when cancelled.
std::optional<std::array<char, 15>> ChooseCheckItems(AppState& state, QWidget* parent)
{
    TALIKCHI checks(state, parent);
    checks.setMessage(Qs(ImportCheckItemsMessage), ImportCheckItemsColour);
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
    VcardImportResult result;
    RunWithImportProgress(state, "vCardデータを取込んでいます．．．", "VcardImportProgress", parent,
                          [&](const ImportStep& step) { result = ImportVcardFile(state, file, checks, step); });
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
    std::optional<std::string> file = ReadImportFile(
        state, *path, [](const std::string& bytes) { return LooksLikeVcard(bytes); }, VcardNotVcardMessage);
    if (!file) {
        return false;
    }
    std::optional<std::array<char, 15>> checks = ChooseCheckItems(state, parent);
    if (!checks) {
        return false;
    }
    if (!state.ui.askYesNo(VcardImportQuestion(*path), MessageIcon::Exclamation, std::string(ImportConfirmTitle))) {
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
