#pragma once
// Temporary files of writes that never finished. Every whole-file write of the programs goes
// through ".NAME.<process id>.tmp" beside its target; a process that is killed or crashes leaves
// it behind, whatever its id.
#include <string>
#include <string_view>

namespace talik {

// The process id in a temporary file's name of the form above; -1 for any other name.
long TemporaryOwner(std::string_view fileName);

// Removes from `folder` every temporary file of that form whose process no longer runs (or is this
// process, which holds none while it calls this). How many were removed.
int RemoveLeftoverTemporaries(const std::string& folder);

} // namespace talik
