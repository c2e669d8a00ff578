#pragma once
// The side store: what the fixed records have no room for, in one SQLite file per database beside
// its pair (MRPDATnn.db), keyed by record identity. Older copies never see it. Data whose identity
// no record holds any more is kept as it is (it comes back with the identity, after a restore) and
// is never shown for another person: every lookup goes by identity.
//
// A side store that cannot be read never stops the address book: it is told once, the database
// is used without its side data, and nothing is written to it until it is rebuilt (the damaged
// file kept beside it).
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "store/record.h"
#include "store/season.h"

struct sqlite3;

namespace talik {

struct StoreState;

inline constexpr int MaxJointNames = 4;
// The schema version from which a store surely has the card season's tables.
inline constexpr int SeasonSchema = 3;

// A further person of a record (連名): a given name, a family name when it differs from the main
// name's, and an honorific.
struct JointName
{
    std::string family;
    std::string given;
    std::string honorific = std::string(DefaultHonorific);
    bool operator==(const JointName&) const = default;
};

// Everything the side store keeps of one person, carried with them to another database.
struct PersonSideData
{
    std::vector<JointName> joint;
    SeasonHistory season;
    bool empty() const { return joint.empty() && season == SeasonHistory{}; }
};

std::string SideStorePath(const std::string& dataPath, int dbNo);
// Where a damaged side store is kept when it is rebuilt.
std::string DamagedSideStorePath(const std::string& dataPath, int dbNo);

enum class SideHealth
{
    Absent, // no side store yet: nothing to show
    Good,
    Damaged, // not a database, or one that fails its check
    Locked,  // another program held it past the usual waiting
};

// What the program learnt of side stores this run: the damaged ones are told once.
struct SideStoreNotes
{
    std::set<std::string> told;    // paths told as damaged or locked
    std::set<std::string> checked; // paths whose integrity was checked
};

class SideStore
{
public:
    enum class Access
    {
        Read,  // an existing file only, never created, opened read-only
        Write, // created when missing
    };
    // The side store of database `dbNo` of the data folder. nullopt when there is none to read, or
    // it cannot be used (damaged or locked: told once).
    static std::optional<SideStore> open(StoreState& state, int dbNo, Access access);
    // Looks without telling.
    static SideHealth probe(StoreState& state, int dbNo);

    SideStore(SideStore&& other) noexcept;
    SideStore& operator=(SideStore&& other) noexcept;
    SideStore(const SideStore&) = delete;
    SideStore& operator=(const SideStore&) = delete;
    ~SideStore();

    std::vector<JointName> jointNames(const std::string& identity);
    // Replaces the person's joint names (at most MaxJointNames) in one transaction.
    bool setJointNames(const std::string& identity, const std::vector<JointName>& names);
    PersonSideData personData(const std::string& identity);
    // Stores what `data` holds for the person (an empty part leaves that part as it is).
    bool setPersonData(const std::string& identity, const PersonSideData& data);

    SeasonHistory seasonHistory(const std::string& identity);
    SeasonYear seasonYear(int year);
    bool markSeason(const std::vector<std::string>& identities,
                    int year,
                    SeasonMark mark,
                    bool on,
                    const std::optional<std::string>& note);
    bool setSeasonHistory(const std::string& identity, const SeasonHistory& history);

    // Every row of the store.
    bool clear();
    // Removes what no identity of `live` holds; how many people's data went.
    int removeOrphans(const std::set<std::string>& live);
    // Identities that have data here.
    std::set<std::string> identities();
    // The people with a joint name whose given name contains `given` and whose family name contains
    // `family` (an empty text holds for any).
    std::set<std::string> identitiesWithJointName(const std::string& family, const std::string& given);
    // The open file, for the tables kept beside the joint names.
    sqlite3* handle() { return m_db; }

private:
    SideStore(StoreState& state, sqlite3* db, std::string path, int schema)
        : m_state(&state), m_db(db), m_path(std::move(path)), m_schema(schema)
    {}
    bool execute(const char* sql);
    // Runs `work` in one transaction: committed when it returns SQLITE_OK, else rolled back and told.
    template <class Work> bool inTransaction(Work work);
    // The tables that hold data per person (keyed by identity), as far as this store has them.
    std::vector<std::string> personTables() const;
    bool failed(int code);

    StoreState* m_state;
    sqlite3* m_db;
    std::string m_path;
    int m_schema; // the version its tables are at: a store opened only to read may be older
};

// Keeps the damaged side store beside the pair and starts an empty one. False when it could not.
bool RebuildSideStore(StoreState& state, int dbNo);

// Empties the side store of database `dbNo`, when it has one.
void ClearSideStore(StoreState& state, int dbNo);

// The identities every live record of the open database holds (for the clean-up of the side store).
std::set<std::string> LiveIdentities(StoreState& state);
// Removes the side data no live record holds any more; how many people's data went, or nullopt
// when the side store could not be used.
std::optional<int> CleanSideStore(StoreState& state);

// The joint names of a person of the open database (none when the side store is absent or unusable).
std::vector<JointName> ReadJointNames(StoreState& state, const std::string& identity);
// The people of the open database with, for each of `wanted`, a joint name containing its family
// and given texts (the editor's search conditions). Empty when the side store is absent or unusable.
std::set<std::string> PeopleWithJointNames(StoreState& state, const std::vector<JointName>& wanted);
// Stores them; true when stored, or when there is nothing to store and no side store.
bool WriteJointNames(StoreState& state, const std::string& identity, const std::vector<JointName>& names);

} // namespace talik
