#pragma once
// What the CSV and vCard exports share: the open database's records read in list order or in a given
// order, each turned into text by the format, and the question, the write and the messages around
// the file.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "interchange/csvexport.h"
#include "platform/interaction.h"

namespace talik {

// Appends the text of one record (a CSV line, a card).
using AppendRecordText = std::function<void(std::string& out, const AddressRecord& rec, const ExtraRecord& extra)>;
// The bytes that go ahead of `records` records.
using ExportHead = std::function<std::string(std::size_t records)>;

// Every live record of the open database from one scan of its files, in list order, after the
// head. nullopt when a database file could not be read (the user was told).
std::optional<ExportedText> WholeDatabaseText(StoreState& state,
                                              const AppendRecordText& append,
                                              const ExportHead& head,
                                              const FileProgress& progress);
// The records `recNos`, in that order, after `head`.
std::optional<ExportedText> ListedRecordsText(StoreState& state,
                                              const std::vector<std::int32_t>& recNos,
                                              const AppendRecordText& append,
                                              std::string head,
                                              const FileProgress& progress);

// Where an export goes and how its failure is told.
struct ExportTarget
{
    ExportScope scope = ExportScope::WholeDatabase;
    std::string path;
    bool tellReason = false; // the failure message names the system's reason (talikcli)
};

// Asks before writing, builds the text (never into one of the database's own files), writes the
// whole file or nothing, and tells the count or the failure.
ExportOutcome
WriteExport(StoreState& state, const ExportTarget& target, const std::function<std::optional<ExportedText>()>& build);

// The save dialog of an export: `wholeTitle` for the whole database, "出力先ファイルの設定" for
// listed records; the file and the position of the type picked among `types` (and whether each box
// of `checks` was ticked), nullopt when cancelled.
std::optional<Interaction::SaveChoice> ChooseExportFile(Interaction& ui,
                                                        ExportScope scope,
                                                        const std::string& wholeTitle,
                                                        const std::vector<std::string>& types,
                                                        const std::vector<std::string>& checks = {});

// Writes the records of `job` (a CSV or vCard job) as WriteExport does: the whole database's text
// from `whole()`, or the listed records' from `listed(records)`.
template <class Job, class Whole, class Listed>
ExportOutcome ExportJobToFile(StoreState& state, const Job& job, Whole&& whole, Listed&& listed)
{
    return WriteExport(state, {job.scope, job.path, job.tellReason},
                       [&] { return job.scope == ExportScope::WholeDatabase ? whole() : listed(job.records); });
}

// The flow both formats share: the user chooses the target (nothing happens when cancelled), the
// records are written there, and the outcome is told by the export itself.
template <class Choose, class Export>
ExportOutcome ChooseAndExport(const std::vector<std::int32_t>& records, Choose&& choose, Export&& exportJob)
{
    auto job = choose();
    if (!job) {
        return ExportOutcome::Cancelled;
    }
    job->records = records;
    return exportJob(*job);
}

} // namespace talik
