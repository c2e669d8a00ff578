#pragma once
// Which records are one person twice: a score from the keys two records share, found by comparing
// only the records that share a key (not every pair), and the rule that keeps a household's
// members (one family name, address and home telephone) apart.
#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "store/keyblocks.h"
#include "store/matchkeys.h"

namespace talik {

struct StoreState;

// From this score on a pair is proposed as one person (and an import takes it for one).
inline constexpr int HighConfidenceScore = 70;
// From this score up to the high-confidence one a pair may be one person or two (a shared name and
// reading, say): not proposed, and not guessed about either where a guess would copy or link.
inline constexpr int UncertainScore = 50;

struct MatchScore
{
    int score = 0;             // 0..100
    std::uint16_t reasons = 0; // what they share: a bit for each reason, in the order of their weight
};

MatchScore ScoreMatch(const PersonKeys& a, const PersonKeys& b);
// The pair was held below high confidence as two members of one household: two people.
bool KeptApartAsHousehold(const MatchScore& match);
// "携帯電話・読み・氏名"
std::string ReasonText(const MatchScore& match);

struct DuplicatePair
{
    std::int32_t a = 0; // the lower record number
    std::int32_t b = 0;
    MatchScore match;
};

// The people of a database, their record numbers beside their keys.
struct KeyedPerson
{
    std::int32_t recNo = 0;
    PersonKeys keys;
    std::string identity;
};

// The pairs scoring at least `minScore`, best first (then by record numbers), leaving out the pairs
// `apart` holds (lower number first).
std::vector<DuplicatePair> FindDuplicates(const std::vector<KeyedPerson>& people,
                                          int minScore,
                                          const std::set<std::pair<std::int32_t, std::int32_t>>& apart = {});

// The best match of `incoming` among `people` with a high-confidence score; 0 when there is none.
class DuplicateIndex
{
public:
    explicit DuplicateIndex(std::vector<KeyedPerson> people);
    std::int32_t find(const PersonKeys& incoming) const;
    // The best match of `incoming` whatever its score; recNo 0 when it shares no key with anyone.
    DuplicatePair best(const PersonKeys& incoming) const;
    // A record stored meanwhile is found too.
    void add(std::int32_t recNo, PersonKeys keys);
    // Room for `people` more people (the lines of an import): they are added without moving those
    // already there.
    void reserve(std::size_t people);

private:
    DuplicatePair bestAmong(const PersonKeys& incoming) const;

    void index(std::size_t at);

    std::vector<KeyedPerson> m_people;
    KeyBlocks m_blocks; // each key's people, by place in m_people
};

// Every live record of the open database with its keys; nullopt when it could not be read (told).
std::optional<std::vector<KeyedPerson>> ReadKeyedPeople(StoreState& state);

} // namespace talik
