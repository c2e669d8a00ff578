#include "cli/clilist.h"

#include <algorithm>
#include <cstdint>

#include "cli/listlines.h"
#include "listwin/appstate.h"
#include "store/dbfile.h"

namespace talik {

std::optional<std::string> ListAllLive(AppState& state, const std::function<bool(const AddressRecord&)>& keep)
{
    const std::string path = MainFileName(state.DataPath, state.DbNo);
    auto main = OpenDbFile(state, path, OpenMode::Read, MainRecLen);
    if (!main) {
        return std::nullopt;
    }
    ListLines lines(static_cast<std::size_t>(std::max<std::int64_t>(main->recordCount() - 1, 0)));
    auto visit = [&lines, &keep](std::int32_t recNo, const AddressRecord& rec, const ExtraRecord*) {
        if (!keep || keep(rec)) {
            lines.add(recNo, rec);
        }
    };
    if (!ScanLiveRecords(state, {&*main, path}, {}, visit)) {
        return std::nullopt;
    }
    return lines.text();
}

} // namespace talik
