#include "store/pairswitch.h"

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <sstream>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/fdwrite.h"
#include "platform/leftovers.h"

namespace talik {
namespace {

constexpr std::string_view SwitchJournalMagic = "talik file switch 1";
constexpr int JournalOpenTries = 5;
constexpr int LockWaitSteps = 100;
constexpr useconds_t LockWaitStepUs = 10'000;

struct Entry
{
    bool had = false; // the target existed before the switch
    std::string target;
    std::string temp;  // empty: the set has no new file for the target, which goes
    std::string saved; // where the replaced target waits until every new file is in place
};

struct Journal
{
    bool back = false; // the switch is being taken back
    std::string keepSuffix;
    std::vector<Entry> entries;
};

std::string FolderOf(const std::string& path)
{
    std::string folder = std::filesystem::path(path).parent_path().string();
    return folder.empty() ? "." : folder;
}

std::string BaseOf(const std::string& path)
{
    return std::filesystem::path(path).filename().string();
}

std::string Join(const std::string& folder, const std::string& name)
{
    return folder + "/" + name;
}

bool NameTaken(const std::string& path)
{
    struct stat st
    {
    };
    return ::lstat(path.c_str(), &st) == 0;
}

bool SameInode(const std::string& a, const std::string& b)
{
    struct stat sa
    {
    };
    struct stat sb
    {
    };
    return ::lstat(a.c_str(), &sa) == 0 && ::lstat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev &&
           sa.st_ino == sb.st_ino;
}

void SyncFolder(const std::string& folder)
{
    int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// Names only: every file of a switch lies in the journal's folder, and no name holds a "/".
std::string Serialise(const Journal& journal)
{
    std::string text(SwitchJournalMagic);
    text += journal.back ? "\nback\n" : "\nforward\n";
    text += "keep/" + journal.keepSuffix + "\n";
    for (const Entry& e : journal.entries) {
        text += (e.had ? "1/" : "0/") + BaseOf(e.target) + "/" + BaseOf(e.temp) + "/" + BaseOf(e.saved) + "\n";
    }
    return text;
}

std::vector<std::string> SplitSlash(const std::string& line)
{
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (;;) {
        std::size_t slash = line.find('/', start);
        parts.push_back(line.substr(start, slash - start));
        if (slash == std::string::npos) {
            return parts;
        }
        start = slash + 1;
    }
}

bool Parse(const std::string& text, const std::string& folder, Journal& journal)
{
    std::istringstream in(text);
    std::string line;
    if (!std::getline(in, line) || line != SwitchJournalMagic || !std::getline(in, line)) {
        return false;
    }
    if (line != "forward" && line != "back") {
        return false;
    }
    journal.back = line == "back";
    if (!std::getline(in, line) || line.rfind("keep/", 0) != 0) {
        return false;
    }
    journal.keepSuffix = line.substr(5);
    while (std::getline(in, line)) {
        std::vector<std::string> parts = SplitSlash(line);
        if (parts.size() != 4 || (parts[0] != "0" && parts[0] != "1") || parts[1].empty() || parts[3].empty()) {
            return false;
        }
        std::string temp = parts[2].empty() ? std::string() : Join(folder, parts[2]);
        journal.entries.push_back({parts[0] == "1", Join(folder, parts[1]), temp, Join(folder, parts[3])});
    }
    return !journal.entries.empty();
}

bool ReadAll(int fd, std::string& text)
{
    char buffer[4096];
    for (;;) {
        ssize_t n = ::read(fd, buffer, sizeof(buffer));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            return false;
        }
        if (n == 0) {
            return true;
        }
        text.append(buffer, static_cast<std::size_t>(n));
    }
}

// Writes the journal whole and flushed, locked before it appears under its name so that no other
// process takes a live switch for an abandoned one. The descriptor holding the lock; -1 on failure.
int WriteJournal(const std::string& path, const Journal& journal)
{
    std::string temp = Join(FolderOf(path), "." + BaseOf(path) + "." + std::to_string(::getpid()) + ".tmp");
    ::unlink(temp.c_str());
    int fd = ::open(temp.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0) {
        return -1;
    }
    bool ok = WriteAll(fd, Serialise(journal)) && ::fsync(fd) == 0 && ::flock(fd, LOCK_EX | LOCK_NB) == 0 &&
              std::rename(temp.c_str(), path.c_str()) == 0;
    if (!ok) {
        int error = errno;
        ::close(fd);
        ::unlink(temp.c_str());
        errno = error;
        return -1;
    }
    SyncFolder(FolderOf(path));
    return fd;
}

// Keeps the file a switch replaces under its waiting name: a second link where the file system has
// links (the target stays readable throughout), else the target itself moves there.
bool SaveReplaced(const Entry& e)
{
    struct stat st
    {
    };
    if (!e.had || ::lstat(e.target.c_str(), &st) != 0 || S_ISDIR(st.st_mode)) {
        return true; // nothing to keep, or a folder in the way, which the rename then fails on
    }
    ::unlink(e.saved.c_str());
    if (::link(e.target.c_str(), e.saved.c_str()) == 0) {
        return true;
    }
    if (errno != EPERM && errno != EOPNOTSUPP && errno != ENOSYS && errno != EMLINK && errno != EXDEV) {
        return false;
    }
    return std::rename(e.target.c_str(), e.saved.c_str()) == 0;
}

// Puts the new file in place, or takes the target away (already kept under its waiting name) when
// the set has no new file for it.
bool Place(const Entry& e)
{
    if (!e.temp.empty()) {
        return std::rename(e.temp.c_str(), e.target.c_str()) == 0;
    }
    if (!NameTaken(e.target)) {
        return true;
    }
    if (!SameInode(e.saved, e.target)) {
        errno = EEXIST;
        return false;
    }
    return ::unlink(e.target.c_str()) == 0;
}

bool Placed(const Entry& e)
{
    return e.temp.empty() ? !NameTaken(e.target) : !NameTaken(e.temp);
}

// Every new file in place, then the replaced ones kept or removed. Safe to repeat at any point.
bool RollForward(const Journal& journal, std::string& failedPath)
{
    for (const Entry& e : journal.entries) {
        if (Placed(e)) {
            continue; // placed before
        }
        if ((!NameTaken(e.saved) && NameTaken(e.target) && !SaveReplaced(e)) || !Place(e)) {
            failedPath = e.target;
            return false;
        }
    }
    SyncFolder(FolderOf(journal.entries.front().target));
    for (const Entry& e : journal.entries) {
        if (!NameTaken(e.saved)) {
            continue;
        }
        if (journal.keepSuffix.empty()) {
            ::unlink(e.saved.c_str());
        } else if (std::rename(e.saved.c_str(), (e.target + journal.keepSuffix).c_str()) != 0) {
            failedPath = e.saved;
            return false;
        }
    }
    return true;
}

// Every target as it was before the switch. Safe to repeat at any point.
bool TakeBack(const Journal& journal, std::string& failedPath)
{
    for (const Entry& e : journal.entries) {
        if (NameTaken(e.saved)) {
            bool ok = SameInode(e.saved, e.target) ? ::unlink(e.saved.c_str()) == 0
                                                   : std::rename(e.saved.c_str(), e.target.c_str()) == 0;
            if (!ok) {
                failedPath = e.target;
                return false;
            }
        } else if (!e.had && !e.temp.empty() && !NameTaken(e.temp)) {
            ::unlink(e.target.c_str()); // placed where there was nothing
        }
        if (!e.temp.empty()) {
            ::unlink(e.temp.c_str());
        }
    }
    return true;
}

// A switch holds its journal's lock for the few renames it makes: a reader waits that long, so it
// meets the pair before or after the switch.
bool LockSoon(int fd)
{
    for (int attempt = 0; attempt < LockWaitSteps; ++attempt) {
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
            return true;
        }
        ::usleep(LockWaitStepUs);
    }
    return false;
}

void Step(const SwitchOptions& options, int& step)
{
    if (options.afterStep) {
        options.afterStep(step);
    }
    ++step;
}

void Close(int fd, const std::string& journal, bool removeJournal)
{
    if (removeJournal) {
        ::unlink(journal.c_str());
        SyncFolder(FolderOf(journal));
    }
    ::close(fd);
}

} // namespace

std::string SwitchJournalPath(const std::string& anyFile)
{
    std::string stem = std::filesystem::path(anyFile).stem().string();
    for (char& c : stem) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return Join(FolderOf(anyFile), "." + stem + ".switch");
}

SwitchFailure SwitchFiles(const std::vector<FilePlacement>& files, const SwitchOptions& options)
{
    if (files.empty()) {
        return {};
    }
    const std::string journalPath = SwitchJournalPath(files.front().target);
    if (!FinishPendingSwitch(journalPath) || NameTaken(journalPath)) {
        return {journalPath, EBUSY};
    }
    Journal journal;
    journal.keepSuffix = options.keepSuffix;
    for (const FilePlacement& f : files) {
        if (f.temp.empty() && !NameTaken(f.target)) {
            continue; // nothing to take away
        }
        std::string saved =
            Join(FolderOf(f.target), "." + BaseOf(f.target) + "." + std::to_string(::getpid()) + ".old");
        journal.entries.push_back({NameTaken(f.target), f.target, f.temp, saved});
    }
    if (journal.entries.empty()) {
        return {};
    }
    int fd = WriteJournal(journalPath, journal);
    if (fd < 0) {
        return {journalPath, errno};
    }
    int step = 0;
    Step(options, step);
    std::string failedPath;
    for (const Entry& e : journal.entries) {
        if (!SaveReplaced(e)) {
            int error = errno;
            TakeBack(journal, failedPath);
            Close(fd, journalPath, true);
            return {e.target, error};
        }
    }
    Step(options, step);
    for (const Entry& e : journal.entries) {
        if (!Place(e)) {
            int error = errno;
            journal.back = true;
            int backFd = WriteJournal(journalPath, journal);
            bool takenBack = TakeBack(journal, failedPath);
            Close(fd, journalPath, takenBack);
            if (backFd >= 0) {
                ::close(backFd);
            }
            return {e.target, error};
        }
        Step(options, step);
    }
    if (!RollForward(journal, failedPath)) {
        // Every new file is in place, so the switch is made; only keeping or removing the replaced
        // files failed. The journal stays and the next open tries that again.
        ::close(fd);
        return {};
    }
    Step(options, step);
    Close(fd, journalPath, true);
    return {};
}

bool FinishPendingSwitch(const std::string& journalPath)
{
    for (int attempt = 0; attempt < JournalOpenTries; ++attempt) {
        int fd = ::open(journalPath.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) {
            return errno == ENOENT;
        }
        if (!LockSoon(fd)) {
            ::close(fd);
            return true; // its process is still at it and not done within a second: read as it is
        }
        struct stat held
        {
        };
        struct stat named
        {
        };
        if (::fstat(fd, &held) != 0 || ::stat(journalPath.c_str(), &named) != 0 || held.st_ino != named.st_ino ||
            held.st_dev != named.st_dev) {
            ::close(fd); // replaced or finished while we waited for it: look again
            continue;
        }
        std::string text;
        Journal journal;
        std::string failedPath;
        bool ok = ReadAll(fd, text) && Parse(text, FolderOf(journalPath), journal) &&
                  (journal.back ? TakeBack(journal, failedPath) : RollForward(journal, failedPath));
        Close(fd, journalPath, ok);
        return ok;
    }
    return false;
}

bool FinishPendingSwitchOf(const std::string& databaseFile)
{
    return FinishPendingSwitch(SwitchJournalPath(databaseFile));
}

void TidyFolder(const std::string& folder)
{
    std::error_code ec;
    std::vector<std::string> journals;
    for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
        std::string name = entry.path().filename().string();
        if (name.size() > 8 && name.front() == '.' && name.ends_with(".switch")) {
            journals.push_back(entry.path().string());
        }
    }
    for (const std::string& journal : journals) {
        FinishPendingSwitch(journal);
    }
    RemoveLeftoverTemporaries(folder);
}

} // namespace talik
