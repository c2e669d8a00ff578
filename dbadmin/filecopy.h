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
    std::string source; // empty: the set has nothing for the destination, which is taken away
    std::string destination;
    bool sideStore = false; // an SQLite file, copied as a consistent snapshot
};

struct CopyFailure
{
    std::string path; // the file that could not be read or written
    int error = 0;    // errno
};

// Copies every file of `copies` (regular files only) to a temporary file beside its destination,
// with the source's permissions, then puts them all in place as one switch (store/pairswitch.h),
// taking away the destinations that have no source.
// Every write passes `gate` (when set) under the destination's path. With `keepSuffix`, the files
// replaced stay beside their destinations under that suffix. What failed first; an empty path when
// every file was copied and placed.
CopyFailure CopyFilesWhole(const std::vector<FileCopy>& copies, WriteGate* gate, const std::string& keepSuffix = {});

// The modification time of a file in nanoseconds since the epoch; -1 when there is no such file.
long long ModificationTimeNs(const std::string& path);

// True when both paths name the same existing folder (device and inode), however spelt.
bool SameFolder(const std::string& a, const std::string& b);

} // namespace talik
