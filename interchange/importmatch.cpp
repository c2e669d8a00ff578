#include "interchange/importmatch.h"

#include "store/recordmerge.h"
#include "store/recordwriter.h"

namespace talik {

std::optional<ImportMatcher> ImportMatcher::open(StoreState& state, DuplicateAction action, std::size_t lines)
{
    std::optional<std::vector<KeyedPerson>> people = ReadKeyedPeople(state);
    if (!people) {
        return std::nullopt;
    }
    DuplicateIndex index(std::move(*people));
    index.reserve(lines);
    return ImportMatcher(action, std::move(index));
}

ImportOutcome
ImportMatcher::decide(RecordWriter& writer, const AddressRecord& rec, const ExtraRecord& extra, std::int32_t& recNo)
{
    m_decided = KeysOf(rec);
    recNo = m_index.find(m_decided);
    if (recNo == 0) {
        return ImportOutcome::New;
    }
    switch (m_action) {
    case DuplicateAction::Add:
        return ImportOutcome::AddAgain;
    case DuplicateAction::Skip:
        return ImportOutcome::Skip;
    case DuplicateAction::Fill:
        break;
    }
    AddressRecord existing{};
    ExtraRecord existingExtra{};
    if (!writer.read(recNo, existing, existingExtra)) {
        return ImportOutcome::Failed;
    }
    if (!FillEmptyFields(existing, existingExtra, rec, extra, ImportOtherValuesLabel)) {
        return ImportOutcome::Filled;
    }
    if (!writer.update(recNo, existing, existingExtra)) {
        return ImportOutcome::Failed;
    }
    m_index.add(recNo, KeysOf(existing));
    return ImportOutcome::Filled;
}

void ImportMatcher::stored(std::int32_t recNo)
{
    // The identity the record was stored with is no key: the keys of the line stand for it.
    m_index.add(recNo, std::move(m_decided));
    m_decided = {};
}

} // namespace talik
