#pragma once
// The checks a database's pair passes before it is copied over another (backup or restore): what
// is not a database - a cut file, a text file, a device, a link to something else - is refused
// before anything is replaced.
#include <string>

namespace talik {

struct PairProblem
{
    std::string path;   // the file at fault; empty when the pair may be copied
    std::string reason; // why, for the user
};

// Both files regular (a link counts as its target), the main file a whole number of 600-byte
// records starting with a header of the current or the earlier layout whose highest record number
// lies inside the file, the extra file a whole number of 512-byte records.
PairProblem CheckDatabasePair(const std::string& mainPath, const std::string& extraPath);

} // namespace talik
