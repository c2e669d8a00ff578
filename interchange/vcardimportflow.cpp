#include "interchange/vcardimportflow.h"

#include <optional>

#include "editor/TALIKCHI.h"
#include "interchange/csvimport.h"
#include "interchange/importprogress.h"
#include "interchange/importsource.h"
#include "interchange/vcardimport.h"
#include "listwin/appstate.h"
#include "ui/qtinteraction.h"

namespace talik {
namespace {

struct CardChoices
{
    std::array<char, 15> checks{};
    bool fillPostal = false;
};

// The check items every imported record gets, and whether the postal code list fills what the
// cards lack; nullopt when cancelled.
std::optional<CardChoices> ChooseCheckItems(AppState& state, QWidget* parent)
{
    TALIKCHI checks(state, parent);
    checks.setMessage(Qs(ImportCheckItemsMessage), ImportCheckItemsColour);
    checks.offerOption(PostalFillCaption, "FillPostal");
    checks.exec();
    if (state.EditStatus == ' ') {
        return std::nullopt;
    }
    CardChoices choices;
    std::copy(state.Rec.CheckItems, state.Rec.CheckItems + 15, choices.checks.begin());
    choices.fillPostal = checks.optionChosen();
    return choices;
}

VcardImportResult ImportVcardWithProgress(AppState& state,
                                          const std::string& file,
                                          const std::array<char, 15>& checks,
                                          const ImportRecordFill& fill,
                                          QWidget* parent)
{
    VcardImportResult result;
    RunWithImportProgress(state, "vCardデータを取込んでいます．．．", "VcardImportProgress", parent,
                          [&](const ImportStep& step) { result = ImportVcardFile(state, file, checks, step, fill); });
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
    std::optional<CardChoices> choices = ChooseCheckItems(state, parent);
    if (!choices) {
        return false;
    }
    if (!state.ui.askYesNo(VcardImportQuestion(*path), MessageIcon::Exclamation, std::string(ImportConfirmTitle))) {
        return false;
    }
    // The postal code list, when asked for, is opened before anything is stored.
    std::optional<PostalIndex> postal;
    ImportRecordFill fill;
    if (choices->fillPostal && !(fill = PostalFillFor(state, postal))) {
        return false;
    }
    VcardImportResult result;
    if (ImportRanOutOfMemory(state,
                             [&] { result = ImportVcardWithProgress(state, *file, choices->checks, fill, parent); })) {
        return true;
    }
    if (result.stoppedAt != 0) {
        state.ui.message(VcardStoppedReport(result), MessageIcon::Exclamation);
    } else {
        state.ui.message(VcardImportReport(result, state.settings.Captions.kana), MessageIcon::None);
    }
    return true;
}

} // namespace talik
