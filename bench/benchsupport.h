#pragma once
// What the benchmarks share: a user and a clock that never hold a benchmark up, and a temporary
// workspace of generated databases.
#include <deque>
#include <map>
#include <optional>
#include <string>

#include "bench/dbgen.h"
#include "platform/clock.h"
#include "platform/interaction.h"

namespace talik {

// Database n of a size is generated with seed DatabaseSeed + n - 1, so every run sees the same files.
inline constexpr unsigned DatabaseSeed = 20240601;
inline constexpr double DeletedShare = 0.02; // a database in use has some freed slots

// Answers every question Yes and cancels prompts, but remembers that something wanted the user:
// a benchmark that made the program talk did not measure the path it meant to.
class SilentInteraction final : public Interaction
{
public:
    void message(const std::string& text, MessageIcon icon, const std::string& title) override;
    bool askYesNo(const std::string& text, MessageIcon icon, const std::string& title) override;
    std::optional<std::string> promptPassword(const std::string& dbDisplayName) override;
    void setBusy(bool) override {}
    void processEvents() override {}

    // The last thing said to the user; empty while nothing was.
    const std::string& said() const { return m_said; }

private:
    std::string m_said;
};

// A fixed date and time, with real waiting and a real monotonic reading.
class BenchClock final : public Clock
{
public:
    LocalTime now() const override;
    void sleepMs(int ms) override;
    long long monotonicMs() const override;
};

// The records a database of `size` holds. The largest database the store holds uses record numbers
// 2..64000, so "64000" means 63999 records.
int RecordsForSize(int size);

// A temporary folder with one data folder per size, holding databases 1..N of that size. Each
// database is made when a benchmark first asks for it; everything is removed with the workspace.
class Workspace
{
public:
    Workspace();
    ~Workspace();
    Workspace(const Workspace&) = delete;
    Workspace& operator=(const Workspace&) = delete;

    std::string programFolder() const { return m_root + "/"; }

    // The data folder of `size`, holding at least databases 1..`databases` (1..DbTotal); the
    // missing ones are generated first.
    const std::string& dataPath(int size, int databases = 1);
    // What was written into database `dbNo` of `size`, which is generated first if missing.
    const GeneratedDatabase& contents(int size, int dbNo = 1);

private:
    struct Folder
    {
        std::string path;
        std::deque<GeneratedDatabase> made; // database n at n - 1; growing keeps references valid
    };

    Folder& folder(int size, int databases);

    std::string m_root;
    std::map<int, Folder> m_folders;
};

} // namespace talik
