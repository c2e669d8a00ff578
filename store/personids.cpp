#include "store/personids.h"

#include "store/identity.h"
#include "store/recordwriter.h"

namespace talik {

std::optional<PersonIds> IdentitiesOfRecords(StoreState& state, const std::vector<std::int32_t>& recNos)
{
    PersonIds ids;
    std::vector<std::pair<AddressRecord, ExtraRecord>> records(recNos.size());
    bool anyWithout = false;
    for (std::size_t i = 0; i < recNos.size(); ++i) {
        auto& [rec, extra] = records[i];
        // A slot never used reads as zeros; a deleted one carries the deleted mark.
        if (recNos[i] < FirstRecNo || recNos[i] > MaxRecNo || !ReadRecord(state, recNos[i], rec, extra) ||
            IsDeletedSlot(rec) || rec.KanaName[0] == '\0') {
            ids.missing = recNos[i];
            return ids;
        }
        anyWithout = anyWithout || RecordIdentity(rec).empty();
    }
    std::optional<RecordWriter> writer;
    if (anyWithout && !(writer = RecordWriter::hold(state))) {
        return std::nullopt;
    }
    for (std::size_t i = 0; i < recNos.size(); ++i) {
        auto& [rec, extra] = records[i];
        if (RecordIdentity(rec).empty()) {
            // Read again under the lock: another program may have written it meanwhile.
            if (!writer->read(recNos[i], rec, extra)) {
                return std::nullopt;
            }
            if (RecordIdentity(rec).empty()) {
                if (!writer->updateAddress(recNos[i], rec)) {
                    return std::nullopt;
                }
                rec = writer->written();
            }
        }
        ids.identities.push_back(RecordIdentity(rec));
    }
    return ids;
}

} // namespace talik
