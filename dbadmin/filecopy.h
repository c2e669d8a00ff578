#pragma once
// Copying database files whole: each copy goes to a temporary file beside its destination and is
// renamed into place only when every file of the set is complete, so a failure leaves every
// destination exactly as it was. Copies keep the source's modification time.
#include <string>
#include <vector>

namespace talik {

class WriteGate;

struct FileCopy
{
    std::string source;
    std::string destination;
};

struct CopyFailure
{
    std::string path; // the file that could not be read or written
    int error = 0;    // errno
};

// Copies every file of `copies` to a temporary file beside its destination, then renames them over
// their destinations in order. Every write passes `gate` (when set) under the destination's path.
// What failed first; an empty path when every file was copied and placed.
CopyFailure CopyFilesWhole(const std::vector<FileCopy>& copies, WriteGate* gate);

// The modification time of a file in nanoseconds since the epoch; -1 when there is no such file.
long long ModificationTimeNs(const std::string& path);

// True when both paths name the same existing folder (device and inode), however spelt.
bool SameFolder(const std::string& a, const std::string& b);

} // namespace talik
