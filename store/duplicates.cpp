#include "store/duplicates.h"

#include <algorithm>
#include <array>
#include <string_view>
#include <unordered_map>

#include "store/dbfile.h"
#include "store/identity.h"
#include "store/liverecords.h"
#include "store/state.h"

namespace talik {
namespace {

// What each shared key weighs. A reading or a name is shared by namesakes, a home telephone by
// everyone in the house: each alone stays below the proposal.
constexpr int ReadingWeight = 35;
constexpr int NameWeight = 30;
constexpr int EmailWeight = 40;
constexpr int MobileWeight = 40;
constexpr int OtherNumberWeight = 25;
constexpr int HomeWeight = 10;
constexpr int BirthdayWeight = 20;
constexpr int OtherBirthdayPenalty = 50;
constexpr int AddressWeight = 10;

// A key shared by more people than this names no one (an office's number, a shared mailbox): it
// finds no pairs.
constexpr std::size_t LargestBlock = 400;

// A reading, a name and a telephone number or a mail address.
constexpr std::size_t KeysAPersonHasMostly = 3;

bool SameText(const std::string& a, const std::string& b)
{
    return !a.empty() && a == b;
}

bool ShareAny(const std::vector<std::string>& a, const std::vector<std::string>& b)
{
    for (const std::string& x : a) {
        if (std::find(b.begin(), b.end(), x) != b.end()) {
            return true;
        }
    }
    return false;
}

bool Differ(const std::string& a, const std::string& b)
{
    return !a.empty() && !b.empty() && a != b;
}

// Two people of one household: one family name, the same address or home telephone, and given
// names or readings that differ.
bool Household(const PersonKeys& a, const PersonKeys& b)
{
    bool sameFamily = SameText(a.family, b.family) || SameText(a.readingFamily, b.readingFamily);
    bool sameHouse = SameText(a.address, b.address) || SameText(a.home, b.home);
    bool otherPerson = Differ(a.given, b.given) || Differ(a.readingGiven, b.readingGiven) ||
                       Differ(a.reading, b.reading) || Differ(a.name, b.name);
    return sameFamily && sameHouse && otherPerson;
}

// Calls `visit` with each key a person is found by (its kind letter and its text): each pair
// compared shares at least one.
template <typename Visit> void ForEachBlockKey(const PersonKeys& keys, Visit visit)
{
    if (!keys.reading.empty()) {
        visit('r', keys.reading);
    }
    if (!keys.name.empty()) {
        visit('n', keys.name);
    }
    for (const std::string& mail : keys.emails) {
        visit('e', mail);
    }
    for (const std::string& number : keys.mobiles) {
        visit('t', number);
    }
    for (const std::string& number : keys.others) {
        visit('t', number);
    }
}

// The same keys each as one text: the kind letter, then the text.
std::vector<std::string> BlockKeys(const PersonKeys& keys)
{
    std::vector<std::string> blocks;
    ForEachBlockKey(keys, [&blocks](char kind, std::string_view text) {
        std::string key(1, kind);
        key += text;
        blocks.push_back(std::move(key));
    });
    return blocks;
}

// The reasons, by their bit in MatchScore::reasons.
constexpr std::array<std::string_view, 10> Reasons = {"メール",         "携帯電話",        "読み",     "氏名",
                                                      "電話番号",       "生年月日",        "自宅電話", "住所",
                                                      "生年月日が違う", "同じ世帯の別の人"};

bool Better(const DuplicatePair& x, const DuplicatePair& y)
{
    if (x.match.score != y.match.score) {
        return x.match.score > y.match.score;
    }
    return std::pair(x.a, x.b) < std::pair(y.a, y.b);
}

} // namespace

MatchScore ScoreMatch(const PersonKeys& a, const PersonKeys& b)
{
    MatchScore match;
    int bit = 0;
    auto add = [&](bool shared, int weight) {
        if (shared) {
            match.score += weight;
            match.reasons |= static_cast<std::uint16_t>(1u << bit);
        }
        ++bit;
    };
    add(ShareAny(a.emails, b.emails), EmailWeight);
    add(ShareAny(a.mobiles, b.mobiles), MobileWeight);
    add(SameText(a.reading, b.reading), ReadingWeight);
    add(SameText(a.name, b.name), NameWeight);
    add(ShareAny(a.others, b.others), OtherNumberWeight);
    add(a.birthday != 0 && a.birthday == b.birthday, BirthdayWeight);
    add(SameText(a.home, b.home), HomeWeight);
    add(SameText(a.address, b.address), AddressWeight);
    add(a.birthday != 0 && b.birthday != 0 && a.birthday != b.birthday, -OtherBirthdayPenalty);
    add(match.score >= HighConfidenceScore && Household(a, b), 0);
    if (match.reasons & (1u << (bit - 1))) {
        match.score = HighConfidenceScore - 1;
    }
    match.score = std::clamp(match.score, 0, 100);
    return match;
}

bool KeptApartAsHousehold(const MatchScore& match)
{
    return (match.reasons & (1u << (Reasons.size() - 1))) != 0;
}

std::string ReasonText(const MatchScore& match)
{
    std::string text;
    for (std::size_t bit = 0; bit < Reasons.size(); ++bit) {
        if (match.reasons & (1u << bit)) {
            text += (text.empty() ? "" : "・") + std::string(Reasons[bit]);
        }
    }
    return text;
}

std::vector<DuplicatePair> FindDuplicates(const std::vector<KeyedPerson>& people,
                                          int minScore,
                                          const std::set<std::pair<std::int32_t, std::int32_t>>& apart)
{
    std::unordered_map<std::string, std::vector<std::uint32_t>> blocks;
    blocks.reserve(people.size() * 3);
    std::vector<std::vector<std::string>> keysOf(people.size());
    for (std::size_t i = 0; i < people.size(); ++i) {
        keysOf[i] = BlockKeys(people[i].keys);
        for (const std::string& key : keysOf[i]) {
            blocks[key].push_back(static_cast<std::uint32_t>(i));
        }
    }
    std::vector<DuplicatePair> pairs;
    std::vector<std::uint32_t> seenBy(people.size(), UINT32_MAX);
    for (std::size_t i = 0; i < people.size(); ++i) {
        for (const std::string& key : keysOf[i]) {
            const std::vector<std::uint32_t>& block = blocks[key];
            if (block.size() > LargestBlock) {
                continue;
            }
            // Each pair is scored once, from its first member.
            for (std::uint32_t j : block) {
                if (j <= i || seenBy[j] == i) {
                    continue;
                }
                seenBy[j] = static_cast<std::uint32_t>(i);
                DuplicatePair pair{
                    std::min(people[i].recNo, people[j].recNo), std::max(people[i].recNo, people[j].recNo), {}};
                if (apart.contains({pair.a, pair.b})) {
                    continue;
                }
                pair.match = ScoreMatch(people[i].keys, people[j].keys);
                if (pair.match.score >= minScore) {
                    pairs.push_back(std::move(pair));
                }
            }
        }
    }
    std::sort(pairs.begin(), pairs.end(), Better);
    return pairs;
}

DuplicateIndex::DuplicateIndex(std::vector<KeyedPerson> people)
    : m_people(std::move(people)), m_blocks(m_people.size() * KeysAPersonHasMostly * 2)
{
    for (std::size_t i = 0; i < m_people.size(); ++i) {
        index(i);
    }
}

void DuplicateIndex::index(std::size_t at)
{
    ForEachBlockKey(m_people[at].keys, [this, at](char kind, std::string_view text) {
        m_blocks.file(kind, text, static_cast<std::uint32_t>(at));
    });
}

void DuplicateIndex::add(std::int32_t recNo, PersonKeys keys)
{
    m_people.push_back({recNo, std::move(keys), {}});
    index(m_people.size() - 1);
}

void DuplicateIndex::reserve(std::size_t people)
{
    m_people.reserve(m_people.size() + people);
    m_blocks.reserve(people * KeysAPersonHasMostly);
}

std::int32_t DuplicateIndex::find(const PersonKeys& incoming) const
{
    DuplicatePair found = bestAmong(incoming);
    return found.match.score >= HighConfidenceScore ? found.b : 0;
}

DuplicatePair DuplicateIndex::best(const PersonKeys& incoming) const
{
    return bestAmong(incoming);
}

// A person found by several keys (a reading and a name, say) is scored once.
DuplicatePair DuplicateIndex::bestAmong(const PersonKeys& incoming) const
{
    std::vector<std::uint32_t> candidates;
    ForEachBlockKey(incoming, [this, &candidates](char kind, std::string_view text) {
        // Each key lists its people in the order they were filed: merged, not sorted.
        const auto merged = static_cast<std::ptrdiff_t>(candidates.size());
        if (m_blocks.appendMembers(kind, text, candidates)) {
            std::inplace_merge(candidates.begin(), candidates.begin() + merged, candidates.end());
        }
    });
    candidates.erase(std::unique(candidates.begin(), candidates.end()), candidates.end());
    DuplicatePair found; // `b` holds the record found
    found.match.score = -1;
    for (std::uint32_t at : candidates) {
        const KeyedPerson& person = m_people[at];
        MatchScore match = ScoreMatch(incoming, person.keys);
        if (match.score > found.match.score || (match.score == found.match.score && person.recNo < found.b)) {
            found.b = person.recNo;
            found.match = match;
        }
    }
    if (found.b == 0) {
        found.match = {};
    }
    return found;
}

std::optional<std::vector<KeyedPerson>> ReadKeyedPeople(StoreState& state)
{
    const std::string path = MainFileName(state.DataPath, state.DbNo);
    auto main = OpenDbFile(state, path, OpenMode::Read, MainRecLen);
    if (!main) {
        return std::nullopt;
    }
    std::vector<KeyedPerson> people;
    people.reserve(static_cast<std::size_t>(std::max<std::int64_t>(main->recordCount() - 1, 0)));
    bool read = ScanLiveRecords(state, {&*main, path}, {},
                                [&](std::int32_t recNo, const AddressRecord& rec, const ExtraRecord*) {
                                    people.push_back({recNo, KeysOf(rec), RecordIdentity(rec)});
                                });
    if (!read) {
        return std::nullopt;
    }
    return people;
}

} // namespace talik
