#pragma once
// The journal of a move or copy between two databases. Before the first record is copied, the
// mover writes (and flushes) a journal beside the data naming both databases and, for each record,
// its number and identity in the source and the identity its copy will carry in the target. A run
// that ends before the journal is gone (a kill, a crash, a failed write) is finished by the next
// open of either database: every copy found whole in the target has its source marked deleted, and
// every source record without a whole copy stays, so that no person is in both databases and none
// in neither.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace talik {

struct StoreState;

struct MoveJournalEntry
{
    std::int32_t sourceRecNo = 0;
    std::string sourceIdentity; // "" for a record an older copy wrote without one
    std::string targetIdentity; // the identity its copy is given in the target
};

struct MoveJournal
{
    bool move = false; // false: a copy, which leaves the source as it is
    int sourceDbNo = 0;
    int targetDbNo = 0;
    std::vector<MoveJournalEntry> entries;
};

// ".MRPDAT01.move" in the data folder for a run whose source is database 1.
std::string MoveJournalPath(const std::string& dataPath, int sourceDbNo);

std::string SerialiseMoveJournal(const MoveJournal& journal);
std::optional<MoveJournal> ParseMoveJournal(const std::string& text);

// Writes the journal whole and flushed, its folder entry too. False (errno set) when it could not be.
bool WriteMoveJournal(const std::string& dataPath, const MoveJournal& journal);
// Flushes `files` to the disk, then removes the journal of `sourceDbNo` (the run is over).
void EndMoveJournal(const std::string& dataPath, int sourceDbNo, const std::vector<std::string>& files);

struct FinishedMove
{
    bool move = false;
    int sourceDbNo = 0;
    int targetDbNo = 0;
    std::vector<std::int32_t> copied;      // source records whose copy is whole in the target
    std::vector<std::int32_t> deletedNow;  // of those, the ones this resolution marked deleted
    std::vector<std::int32_t> keptInPlace; // source records that had no whole copy: they stay
};

// Finishes every run left unfinished whose source or target is `dbNo`, and tells the user which
// records it concerned. A run whose databases another process still holds is left to it; a run
// that cannot be finished (a file that cannot be written) keeps its journal for the next open.
std::vector<FinishedMove> FinishInterruptedMoves(StoreState& state, int dbNo);

} // namespace talik
