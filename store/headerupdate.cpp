#include "store/headerupdate.h"

#include <span>
#include <string>

#include "store/dbfile.h"
#include "store/messages.h"
#include "store/state.h"

namespace talik {

std::optional<MainHeader>
UpdateMainHeader(StoreState& state, const std::function<void(MainHeader&)>& change, std::size_t first, std::size_t end)
{
    const std::string path = MainFileName(state.DataPath, state.DbNo);
    auto main = OpenDbFile(state, path, OpenMode::Write, MainRecLen);
    if (!main) {
        return std::nullopt;
    }
    MainHeader header{};
    if (!main->read(1, Bytes(header))) {
        TellAccessError(state, path);
        return std::nullopt;
    }
    change(header);
    if (!main->writePart(1, first, Bytes(header).subspan(first, end - first))) {
        TellWriteFailed(state, path);
        return std::nullopt;
    }
    return header;
}

} // namespace talik
