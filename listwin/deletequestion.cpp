#include "listwin/deletequestion.h"

#include "listwin/appstate.h"
#include "platform/codec.h"
#include "platform/recordfile.h"
#include "platform/trim.h"
#include "store/database.h"
#include "store/record.h"

namespace talik {
namespace {

// The stored name of record `recNo`, read without a lock (a question changes nothing); empty when
// it cannot be read.
std::string StoredName(const AppState& state, std::int32_t recNo)
{
    RecordFile main;
    if (recNo < 2 ||
        main.open(MainFileName(state.DataPath, state.DbNo), OpenMode::Read, MainRecLen) != OpenError::None) {
        return {};
    }
    AddressRecord rec{};
    if (!main.read(recNo, Bytes(rec)) || IsDeletedSlot(rec)) {
        return {};
    }
    return GetText(rec.KanjiName);
}

} // namespace

std::string DeleteQuestion(const AppState& state, const std::string& key, const std::string& reading)
{
    const std::string name = StoredName(state, RecNoOfKey(key));
    const std::string shown = name.empty() ? reading : name + "（" + reading + "）";
    return shown + "\nこのデータを削除してもよろしいですか？";
}

} // namespace talik
