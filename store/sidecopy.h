#pragma once
// The side store as a file that travels with its pair: copied as one consistent snapshot, and kept
// still while it is replaced.
#include <string>

struct sqlite3;

namespace talik {

// The name of database n's side store, in the data folder and in a backup folder alike ("MRPDAT03.db").
std::string SideStoreFileName(int dbNo);

struct SnapshotResult
{
    enum class Kind
    {
        Copied,
        NotADatabase, // the source is no SQLite database: nothing was written
        Failed,       // `error` says why (an errno value)
    };
    Kind kind = Kind::Copied;
    int error = 0;
};

// Writes into the new file `to` what the SQLite file `from` holds committed, as one snapshot taken
// under its read lock (a writer's half-made change never comes along), flushed to the disk.
SnapshotResult SnapshotSideStore(const std::string& from, const std::string& to);

// Holds a side store's exclusive lock while its file is replaced: no other program is part way
// through a change of it (whose journal would then be played into the new file), and none starts
// one. A missing file, or one that is no database, needs no hold.
class SideStoreHold
{
public:
    explicit SideStoreHold(const std::string& path);
    SideStoreHold(const SideStoreHold&) = delete;
    SideStoreHold& operator=(const SideStoreHold&) = delete;
    ~SideStoreHold();
    // False when another program kept the store past the usual waiting.
    bool ok() const { return !m_locked; }

private:
    sqlite3* m_db = nullptr;
    bool m_locked = false;
};

} // namespace talik
