#pragma once
// An import meeting a person the database already holds: the line is stored anyway, skipped, or
// fills what the stored record lacks.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "interchange/csvimport.h"
#include "store/duplicates.h"
#include "store/record.h"

namespace talik {

class RecordWriter;
struct StoreState;

enum class ImportOutcome
{
    New,      // no one like it: to be stored as a new record
    AddAgain, // someone like it, to be stored as a new record all the same
    Skip,     // someone like it: not stored
    Filled,   // someone like it: that record's empty fields were filled (`recNo`)
    Failed,   // the existing record could not be rewritten (the user was told)
};

class ImportMatcher
{
public:
    // The people of the open database as the import starts, with room for about `lines` more;
    // nullopt when they cannot be read.
    static std::optional<ImportMatcher> open(StoreState& state, DuplicateAction action, std::size_t lines = 0);

    // What to do with a line made into `rec`; with Fill, the existing record is rewritten through
    // `writer` and its number left in `recNo`.
    ImportOutcome decide(RecordWriter& writer, const AddressRecord& rec, const ExtraRecord& extra, std::int32_t& recNo);
    // The line last decided on, stored as record `recNo` (its values as decided, with an identity
    // of its own): a later line of the same person finds it.
    void stored(std::int32_t recNo);

private:
    ImportMatcher(DuplicateAction action, DuplicateIndex index) : m_action(action), m_index(std::move(index)) {}
    DuplicateAction m_action;
    DuplicateIndex m_index;
    PersonKeys m_decided; // the keys of the line last decided on: worked out once per line
};

} // namespace talik
