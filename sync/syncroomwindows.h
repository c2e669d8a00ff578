#pragma once
// The sync room with its windows: the account dialog and the run window, with the passwords of the
// desktop's secret store (or a store the caller gives), which it keeps, with the passwords kept
// for this session only, as long as it lives.
#include <memory>

#include "sync/syncroom.h"

namespace talik {

std::unique_ptr<SyncRoom> MakeSyncRoom();

} // namespace talik
