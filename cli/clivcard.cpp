#include "cli/clivcard.h"

#include <cstdio>

#include "cli/cliapp.h"
#include "cli/clidatabase.h"
#include "interchange/importsource.h"
#include "interchange/vcardexport.h"
#include "interchange/vcardimport.h"
#include "listwin/appstate.h"
#include "platform/interaction.h"

namespace talik {

std::optional<VcardVersion> ParseVcardVersion(const std::string& text)
{
    if (text == "3") {
        return VcardVersion::V3;
    }
    if (text == "4") {
        return VcardVersion::V4;
    }
    return std::nullopt;
}

int ExportVcardFile(AppState& state,
                    const std::string& path,
                    VcardVersion version,
                    const std::optional<std::vector<std::int32_t>>& records)
{
    VcardExportJob job;
    job.path = path;
    job.form = version;
    job.tellReason = true;
    if (records) {
        if (!LoadForReading(state)) {
            return ExitRefused;
        }
        for (std::int32_t recNo : *records) {
            if (state.tables.usedFlag(recNo) != '1') {
                std::fprintf(stderr, "レコード %d は登録されていません。\n", static_cast<int>(recNo));
                return ExitRefused;
            }
        }
        job.scope = ExportScope::Listed;
        job.records = *records;
    } else if (!OpenForReading(state)) {
        return ExitRefused;
    }
    return ExportVcard(state, job) == ExportOutcome::Written ? ExitDone : ExitRefused;
}

int ImportVcardBytes(AppState& state,
                     const std::string& path,
                     const std::string& bytes,
                     const std::array<char, 15>& checks,
                     const ImportRecordFill& fill)
{
    if (!LooksLikeVcard(bytes)) {
        state.ui.message(std::string(VcardNotVcardMessage), MessageIcon::Exclamation);
        return ExitRefused;
    }
    if (!LoadForChanging(state)) {
        return ExitRefused;
    }
    // The command itself is the user's yes to the question the window would ask (and it is shown).
    state.ui.askYesNo(VcardImportQuestion(path), MessageIcon::Exclamation, "確認");
    VcardImportResult result;
    if (ImportRanOutOfMemory(state, [&] { result = ImportVcardFile(state, bytes, checks, {}, fill); })) {
        return ExitRefused;
    }
    if (result.stoppedAt != 0) {
        state.ui.message(VcardStoppedReport(result), MessageIcon::Exclamation);
        return ExitRefused;
    }
    state.ui.message(VcardImportReport(result, state.settings.Captions.kana), MessageIcon::Exclamation);
    return ExitDone;
}

} // namespace talik
