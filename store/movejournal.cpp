#include "store/movejournal.h"

#include <cstdio>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>
#include <unordered_set>

#include "platform/atomicfile.h"
#include "platform/paths.h"
#include "platform/recordfile.h"
#include "store/identity.h"
#include "store/messages.h"
#include "store/record.h"
#include "store/sidestore.h"
#include "store/state.h"

namespace talik {
namespace {

constexpr std::string_view MoveJournalMagic = "talik record move 1";
constexpr std::size_t ScanChunk = 1024;  // target records read at a time
constexpr std::size_t NumbersShown = 50; // record numbers named in a message before "ほか"

void SyncPath(const std::string& path, int flags)
{
    int fd = ::open(path.c_str(), flags | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

bool FileExists(const std::string& path)
{
    struct stat st
    {
    };
    return ::stat(path.c_str(), &st) == 0;
}

std::optional<std::string> ReadSmallFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

bool ValidDbNo(int dbNo)
{
    return dbNo >= 1 && dbNo <= DbTotal;
}

std::string DbName(const StoreState& state, int dbNo)
{
    const std::string& name = state.settings.AddrDBName[dbNo - 1];
    return name.empty() ? "データベース" + std::to_string(dbNo) : name;
}

std::string Numbers(const std::vector<std::int32_t>& recNos)
{
    std::string text;
    for (std::size_t i = 0; i < recNos.size() && i < NumbersShown; ++i) {
        text += (i == 0 ? "" : ", ") + std::to_string(recNos[i]);
    }
    if (recNos.size() > NumbersShown) {
        text += " ほか" + std::to_string(recNos.size() - NumbersShown) + "件";
    }
    return text;
}

void Tell(StoreState& state, const FinishedMove& done)
{
    std::string text = "データベース「" + DbName(state, done.sourceDbNo) + "」から「" + DbName(state, done.targetDbNo) +
                       "」への" + (done.move ? "移動" : "複写") + "が途中で終わっていました。";
    if (done.copied.empty()) {
        text += "\n写し終えた記録はありません。";
    } else if (done.move) {
        text += "\n写し終えていた" + std::to_string(done.copied.size()) +
                "件は移動を済ませ、元のデータベースから削除しました（記録番号 " + Numbers(done.copied) + "）。";
    } else {
        text += "\n複写できたのは" + std::to_string(done.copied.size()) + "件です（記録番号 " + Numbers(done.copied) +
                "）。";
    }
    if (!done.keptInPlace.empty()) {
        text += "\n残りの" + std::to_string(done.keptInPlace.size()) +
                "件は元のデータベースにそのまま残っています（記録番号 " + Numbers(done.keptInPlace) + "）。";
    }
    state.ui.message(text, MessageIcon::Exclamation);
}

// Opens a database's main file for writing, taking its lock once: a run another process still
// makes holds it, and is left to that process.
std::optional<RecordFile> HoldMain(StoreState& state, const std::string& path)
{
    RecordFile file;
    if (file.open(path, OpenMode::Write, MainRecLen) != OpenError::None) {
        return std::nullopt;
    }
    file.setWriteGate(state.writeGate);
    return file;
}

// The identities among `wanted` that a live record of the target's used range carries. A record
// past the header's last number is not part of the database (an add cut short before its header).
std::unordered_set<std::string> WholeCopies(const RecordFile& target, const std::unordered_set<std::string>& wanted)
{
    std::unordered_set<std::string> found;
    MainHeader header{};
    target.read(1, Bytes(header));
    std::int32_t last = SaneLastRecNo(GetLong(header.LastRecNo), target.recordCount(), MaxRecNo);
    std::vector<AddressRecord> chunk(ScanChunk);
    for (std::int32_t first = FirstRecNo; first <= last; first += static_cast<std::int32_t>(ScanChunk)) {
        std::size_t count = std::min<std::size_t>(ScanChunk, static_cast<std::size_t>(last - first + 1));
        target.readMany(first, count,
                        std::span<unsigned char>(reinterpret_cast<unsigned char*>(chunk.data()), count * MainRecLen));
        for (std::size_t i = 0; i < count; ++i) {
            const AddressRecord& rec = chunk[i];
            if (IsDeletedSlot(rec) || IsNeverUsedSlot(rec)) {
                continue;
            }
            std::string identity = RecordIdentity(rec);
            if (wanted.count(identity) != 0) {
                found.insert(identity);
            }
        }
    }
    return found;
}

// The side data of a person whose copy was made before it followed them.
void CarrySideData(StoreState& state, const MoveJournal& journal, const std::vector<const MoveJournalEntry*>& copied)
{
    std::optional<SideStore> source = SideStore::open(state, journal.sourceDbNo, SideStore::Access::Read);
    if (!source) {
        return;
    }
    std::optional<SideStore> target;
    for (const MoveJournalEntry* entry : copied) {
        if (entry->sourceIdentity.empty()) {
            continue;
        }
        PersonSideData data = source->personData(entry->sourceIdentity);
        if (data.empty()) {
            continue;
        }
        if (!target) {
            target = SideStore::open(state, journal.targetDbNo, SideStore::Access::Write);
        }
        if (target && target->personData(entry->targetIdentity).empty()) {
            target->setPersonData(entry->targetIdentity, data);
        }
    }
}

enum class Outcome
{
    Finished,
    LeftToItsRun, // the databases are held: the run is still going
    Failed,       // a write failed (the user was told): the journal stays
};

Outcome Finish(StoreState& state, const MoveJournal& journal, FinishedMove& done)
{
    const std::string sourcePath = ResolvePathNoCase(MainFileName(state.DataPath, journal.sourceDbNo));
    const std::string targetPath = ResolvePathNoCase(MainFileName(state.DataPath, journal.targetDbNo));
    std::optional<RecordFile> source = HoldMain(state, sourcePath);
    if (!source) {
        return Outcome::LeftToItsRun;
    }
    std::unordered_set<std::string> wanted;
    for (const MoveJournalEntry& entry : journal.entries) {
        wanted.insert(entry.targetIdentity);
    }
    std::unordered_set<std::string> found;
    if (FileExists(targetPath)) {
        std::optional<RecordFile> target = HoldMain(state, targetPath);
        if (!target) {
            return Outcome::LeftToItsRun;
        }
        found = WholeCopies(*target, wanted);
    }
    std::vector<const MoveJournalEntry*> copied;
    for (const MoveJournalEntry& entry : journal.entries) {
        AddressRecord rec{};
        source->read(entry.sourceRecNo, Bytes(rec));
        bool sourceLive = !IsDeletedSlot(rec) && !IsNeverUsedSlot(rec) && RecordIdentity(rec) == entry.sourceIdentity;
        if (found.count(entry.targetIdentity) == 0) {
            if (sourceLive) {
                done.keptInPlace.push_back(entry.sourceRecNo);
            }
            continue;
        }
        copied.push_back(&entry);
        done.copied.push_back(entry.sourceRecNo);
        if (journal.move && sourceLive) {
            MarkDeleted(rec);
            if (!source->write(entry.sourceRecNo, Bytes(rec))) {
                TellWriteFailed(state, sourcePath);
                return Outcome::Failed;
            }
            done.deletedNow.push_back(entry.sourceRecNo);
        }
    }
    CarrySideData(state, journal, copied);
    return Outcome::Finished;
}

} // namespace

std::string MoveJournalPath(const std::string& dataPath, int sourceDbNo)
{
    char name[32];
    std::snprintf(name, sizeof(name), "/.MRPDAT%02d.move", sourceDbNo);
    return dataPath + name;
}

std::string SerialiseMoveJournal(const MoveJournal& journal)
{
    std::string text(MoveJournalMagic);
    text += journal.move ? "\nmove\n" : "\ncopy\n";
    text += std::to_string(journal.sourceDbNo) + " " + std::to_string(journal.targetDbNo) + "\n";
    for (const MoveJournalEntry& e : journal.entries) {
        text += std::to_string(e.sourceRecNo) + " " + e.targetIdentity + " " + e.sourceIdentity + "\n";
    }
    // The last line tells a whole journal from one cut short.
    text += "end " + std::to_string(journal.entries.size()) + "\n";
    return text;
}

std::optional<MoveJournal> ParseMoveJournal(const std::string& text)
{
    std::istringstream in(text);
    std::string line;
    MoveJournal journal;
    if (!std::getline(in, line) || line != MoveJournalMagic || !std::getline(in, line) ||
        (line != "move" && line != "copy")) {
        return std::nullopt;
    }
    journal.move = line == "move";
    if (!std::getline(in, line) || std::sscanf(line.c_str(), "%d %d", &journal.sourceDbNo, &journal.targetDbNo) != 2 ||
        !ValidDbNo(journal.sourceDbNo) || !ValidDbNo(journal.targetDbNo) || journal.sourceDbNo == journal.targetDbNo) {
        return std::nullopt;
    }
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string first;
        fields >> first;
        if (first == "end") {
            std::size_t count = 0;
            fields >> count;
            return count == journal.entries.size() ? std::optional<MoveJournal>(journal) : std::nullopt;
        }
        MoveJournalEntry entry;
        entry.sourceRecNo = static_cast<std::int32_t>(std::atol(first.c_str()));
        fields >> entry.targetIdentity >> entry.sourceIdentity;
        if (entry.sourceRecNo < FirstRecNo || entry.sourceRecNo > MaxRecNo ||
            entry.targetIdentity.size() != IdentityLength) {
            return std::nullopt;
        }
        journal.entries.push_back(std::move(entry));
    }
    return std::nullopt;
}

bool WriteMoveJournal(const std::string& dataPath, const MoveJournal& journal)
{
    if (!WriteFileAtomically(MoveJournalPath(dataPath, journal.sourceDbNo), SerialiseMoveJournal(journal))) {
        return false;
    }
    SyncPath(dataPath, O_RDONLY | O_DIRECTORY); // the journal's name, not only its bytes
    return true;
}

void EndMoveJournal(const std::string& dataPath, int sourceDbNo, const std::vector<std::string>& files)
{
    // What the run wrote reaches the disk before the journal that would finish it goes.
    for (const std::string& file : files) {
        SyncPath(file, O_RDONLY);
    }
    ::unlink(MoveJournalPath(dataPath, sourceDbNo).c_str());
    SyncPath(dataPath, O_RDONLY | O_DIRECTORY);
}

std::vector<FinishedMove> FinishInterruptedMoves(StoreState& state, int dbNo)
{
    std::vector<FinishedMove> finished;
    for (int sourceDbNo = 1; sourceDbNo <= DbTotal; ++sourceDbNo) {
        const std::string path = MoveJournalPath(state.DataPath, sourceDbNo);
        std::optional<std::string> text = ReadSmallFile(path);
        if (!text) {
            continue;
        }
        std::optional<MoveJournal> journal = ParseMoveJournal(*text);
        if (!journal || journal->sourceDbNo != sourceDbNo) {
            ::unlink(path.c_str()); // written whole or not at all: this is none of ours
            continue;
        }
        if (journal->sourceDbNo != dbNo && journal->targetDbNo != dbNo) {
            continue;
        }
        FinishedMove done;
        done.move = journal->move;
        done.sourceDbNo = journal->sourceDbNo;
        done.targetDbNo = journal->targetDbNo;
        if (Finish(state, *journal, done) != Outcome::Finished) {
            continue;
        }
        EndMoveJournal(state.DataPath, sourceDbNo,
                       {ResolvePathNoCase(MainFileName(state.DataPath, journal->sourceDbNo)),
                        ResolvePathNoCase(MainFileName(state.DataPath, journal->targetDbNo))});
        Tell(state, done);
        finished.push_back(std::move(done));
    }
    return finished;
}

} // namespace talik
