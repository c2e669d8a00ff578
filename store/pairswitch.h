#pragma once
// Putting a set of finished files (a database's main and extra file) in place so that a reader
// never sees some of them new and the others old. A journal beside them, flushed before the first
// rename, lists the set; a run that ends before the journal is gone is completed (or, after a failed
// rename, taken back) by the next open of that database. The files replaced are kept until every
// new file is in place.
#include <functional>
#include <string>
#include <vector>

namespace talik {

struct FilePlacement
{
    std::string temp;   // the finished new file, in the target's folder; empty: the target is taken away
    std::string target; // the file it replaces (or creates, or takes away)
};

struct SwitchFailure
{
    std::string path; // the file that could not be placed; empty when the switch was made
    int error = 0;    // errno
};

struct SwitchOptions
{
    // Non-empty: each replaced file is kept beside its target under the target's name plus this
    // suffix ("MRPDAT01.QX1.prev"), replacing the one a previous switch kept. Empty: they are removed.
    std::string keepSuffix;
    // Called after each step of a switch (0, 1, ...): the seam through which tests end the program
    // between two renames.
    std::function<void(int step)> afterStep;
};

// The journal of the set `anyFile` belongs to: ".MRPDAT01.switch" in its folder for
// "MRPDAT01.QX1" and "MRPDAT01.qx2" alike.
std::string SwitchJournalPath(const std::string& anyFile);

// Places every temporary file over its target, all in one folder, as one step for readers. On a
// failed rename the files already placed are taken back and the temporary files removed.
SwitchFailure SwitchFiles(const std::vector<FilePlacement>& files, const SwitchOptions& options = {});

// Completes a switch that a process ended before finishing (or takes back one that was being
// taken back). A switch still being made is waited for up to a second, then left to its process.
// False when a journal is left because a step failed.
bool FinishPendingSwitch(const std::string& journal);
// The same for the set a database file belongs to.
bool FinishPendingSwitchOf(const std::string& databaseFile);
// The same for every journal in `folder`, then the temporary files that runs ended by a crash or a
// kill left there (see platform/leftovers.h). Called before new files are written into a folder.
void TidyFolder(const std::string& folder);

} // namespace talik
