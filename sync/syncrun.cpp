#include "sync/syncrun.h"

#include <map>
#include <optional>
#include <set>
#include <vector>

#include "store/checkitems.h"
#include "store/duplicates.h"
#include "store/identity.h"
#include "store/liverecords.h"
#include "store/matchkeys.h"
#include "store/recordwriter.h"
#include "store/sidestore.h"
#include "store/sidesync.h"
#include "store/state.h"
#include "sync/cardmap.h"

namespace talik {
namespace {

// The local hash of a card remembered before its record was stored.
constexpr const char* PendingHash = "pending";

struct LocalPerson
{
    std::int32_t recNo = 0;
    Person person;
    std::string hash;
};

enum class Action
{
    Upload,  // update the server's card from ours
    Create,  // a new card on the server
    Apply,   // the server's card over ours
    AddHere, // a new record from the server's card
    DeleteHere,
    DeleteThere,
    Link,    // the same person on both sides: remember, copy nothing
    Forget,  // gone on both sides
    Refresh, // the server re-wrote the card without changing it: keep its ETag
    Conflict,
};

struct Step
{
    Action action;
    std::string identity; // empty for a card new from the server
    std::string href;
};

// What the planning of cards new from the server keeps from one card to the next.
struct NewCardMatching
{
    std::set<std::string> unlinked; // people here not linked to a card yet
    std::set<std::string> held;     // people here in an uncertain pair: not sent to the server
    std::map<std::int32_t, std::string> identityOfRecNo;
    std::optional<DuplicateIndex> index; // made for the first card that needs it
};

class SyncRun
{
public:
    SyncRun(StoreState& state, CardDavClient& client, const std::string& book, const SyncOptions& options)
        : m_state(state), m_client(client), m_book(book), m_options(options), m_names(CheckItemCaptions(state))
    {}
    SyncSummary run();

private:
    bool readLocal();
    bool takeSyncedBook();
    bool listServer();
    void plan();
    void planKnown(const std::string& identity, const SyncedCard& row);
    void planNewCards();
    void planNewCard(const std::string& href, const ServerCard& card, NewCardMatching& matching);
    std::vector<KeyedPerson> matchablePeople(std::map<std::int32_t, std::string>& identityOfRecNo) const;
    void holdUncertain(const std::string& identity,
                       const std::string& href,
                       const std::string& cardName,
                       const MatchScore& match);
    bool massDelete() const;
    void execute(const Step& step);
    void upload(const std::string& identity, bool create);
    void uploadAgain(const std::string& identity, const ServerCard& now);
    void applyHere(const std::string& identity, const std::string& href, bool add);
    void link(const std::string& identity, const std::string& href);
    void deleteHere(const std::string& identity);
    void deleteThere(const std::string& identity);
    void conflict(const std::string& identity);
    void leaveConflict(const std::string& identity, const std::string& href);
    void remember(const std::string& identity, const SyncedCard& row);
    std::optional<ServerCard> refetch(const std::string& href);
    std::string serverHash(const std::string& card);
    std::string nameOf(const std::string& identity);
    void fail(const std::string& what);

    StoreState& m_state;
    CardDavClient& m_client;
    std::string m_book;
    const SyncOptions& m_options;
    CheckItemNameList m_names;
    std::optional<RecordWriter> m_writer;
    std::optional<SideStore> m_side;
    std::map<std::string, SyncedCard> m_synced;
    std::map<std::string, LocalPerson> m_local;
    std::map<std::string, std::string> m_identityOfHref;
    ServerListing m_listing;
    std::set<std::string> m_gone;              // hrefs no longer on the server
    std::map<std::string, ServerCard> m_cards; // fetched cards by href
    std::vector<Step> m_steps;
    SyncSummary m_summary;
    bool m_failed = false;
    bool m_holdToken = false; // a card was left unseen on purpose: the next run must list it again
};

// One person or two: the matcher cannot tell (two members of one household are two).
bool Uncertain(const DuplicatePair& match)
{
    return match.b != 0 && match.match.score >= UncertainScore && !KeptApartAsHousehold(match.match);
}

std::string SyncRun::serverHash(const std::string& card)
{
    std::optional<Person> person = PersonFromCard(card, m_names);
    return person ? PersonHash(*person) : std::string("-");
}

std::string SyncRun::nameOf(const std::string& identity)
{
    auto found = m_local.find(identity);
    return found == m_local.end() ? identity : GetText(found->second.person.rec.KanjiName);
}

void SyncRun::fail(const std::string& what)
{
    m_summary.notes.push_back(what);
    m_failed = true;
}

bool SyncRun::readLocal()
{
    m_writer = RecordWriter::hold(m_state);
    if (!m_writer) {
        m_summary.error = "データベースに書き込めません。";
        return false;
    }
    // Another copy of the program may have added people since this one read the header: the scan
    // covers the file as it is now, or they would count as deleted here and go from the server.
    MainHeader onDisk{};
    if (m_writer->mainFile().read(1, Bytes(onDisk)) && GetLong(onDisk.LastRecNo) > GetLong(m_state.Header.LastRecNo)) {
        SetLong(m_state.Header.LastRecNo, GetLong(onDisk.LastRecNo));
    }
    m_side =
        SideStore::open(m_state, m_state.DbNo, m_options.dryRun ? SideStore::Access::Read : SideStore::Access::Write);
    if (m_side) {
        m_synced = ReadSyncedCards(*m_side);
        if (!takeSyncedBook()) {
            m_summary.error = "補助データのファイルに書き込めません。";
            return false;
        }
    } else if (!m_options.dryRun) {
        m_summary.error = "補助データのファイルを使えません。";
        return false;
    }
    std::vector<std::int32_t> unnamed;
    bool read = ScanLiveRecords(m_state, {&m_writer->mainFile(), m_writer->mainPath()},
                                {&m_writer->extraFile(), m_writer->extraPath()},
                                [&](std::int32_t recNo, const AddressRecord& rec, const ExtraRecord* extra) {
                                    std::string identity = RecordIdentity(rec);
                                    if (identity.empty()) {
                                        unnamed.push_back(recNo);
                                        return;
                                    }
                                    LocalPerson& local = m_local[identity];
                                    local.recNo = recNo;
                                    local.person.rec = rec;
                                    local.person.extra = *extra;
                                });
    if (!read) {
        m_summary.error = "データベースを読めません。";
        return false;
    }
    // A record from an older copy of the program has no identity yet: the sync needs one to follow it.
    for (std::int32_t recNo : unnamed) {
        LocalPerson local{recNo, {}, {}};
        if (m_options.dryRun || !m_writer->read(recNo, local.person.rec, local.person.extra) ||
            !m_writer->update(recNo, local.person.rec, local.person.extra)) {
            continue;
        }
        local.person.rec = m_writer->written();
        m_local[RecordIdentity(local.person.rec)] = local;
    }
    for (auto& [identity, local] : m_local) {
        if (m_side) {
            local.person.joint = m_side->jointNames(identity);
        }
        local.hash = PersonHash(local.person);
    }
    for (const auto& [identity, row] : m_synced) {
        m_identityOfHref[row.href] = identity;
    }
    return true;
}

// The people's sync state is of one address book. When the account has moved to another book, the
// state of the old one goes and this run is a first sync with the new one: its cards are linked by
// UID and by the duplicate matching, and no one counts as deleted for not being there. State kept
// before the book was written down is taken to be of the book synced now.
bool SyncRun::takeSyncedBook()
{
    const std::optional<std::string> book = ReadSyncedBook(*m_side);
    if (book == m_book) {
        return true;
    }
    const bool otherBook = book.has_value();
    if (otherBook) {
        m_synced.clear();
    }
    return m_options.dryRun || StartSyncedBook(*m_side, m_book, otherBook);
}

bool SyncRun::listServer()
{
    std::string token;
    if (m_side) {
        token = ReadSyncToken(*m_side, m_book).value_or("");
    }
    if (m_synced.empty()) {
        token.clear(); // nothing known: every card is new
    }
    std::string error;
    std::optional<ServerListing> listing = m_client.list(m_book, token, error);
    if (!listing) {
        m_summary.error = "サーバーの一覧を取得できません: " + error;
        return false;
    }
    m_listing = *listing;
    if (m_listing.complete) {
        for (const auto& [href, identity] : m_identityOfHref) {
            if (!m_listing.etags.contains(href)) {
                m_gone.insert(href);
            }
        }
    } else {
        m_gone.insert(m_listing.removed.begin(), m_listing.removed.end());
    }
    std::vector<std::string> wanted;
    for (const auto& [href, etag] : m_listing.etags) {
        auto known = m_identityOfHref.find(href);
        if (known == m_identityOfHref.end() || m_synced[known->second].etag != etag ||
            m_synced[known->second].localHash == PendingHash) {
            wanted.push_back(href);
        }
    }
    std::optional<std::map<std::string, ServerCard>> cards = m_client.fetch(m_book, wanted, error);
    if (!cards) {
        m_summary.error = "サーバーからカードを取得できません: " + error;
        return false;
    }
    m_cards = std::move(*cards);
    return true;
}

void SyncRun::planKnown(const std::string& identity, const SyncedCard& row)
{
    auto local = m_local.find(identity);
    bool here = local != m_local.end();
    bool there = !m_gone.contains(row.href);
    auto card = m_cards.find(row.href);
    bool changedThere = there && card != m_cards.end() && serverHash(card->second.text) != row.serverHash;
    bool changedHere = here && local->second.hash != row.localHash;
    if (row.localHash == PendingHash) {
        // A run ended between remembering a card and storing its record: finish what it began.
        m_steps.push_back({!there ? Action::Forget : here ? Action::Link : Action::AddHere, identity, row.href});
    } else if (!here && !there) {
        m_steps.push_back({Action::Forget, identity, row.href});
    } else if (!here) {
        m_steps.push_back({changedThere ? Action::AddHere : Action::DeleteThere, identity, row.href});
    } else if (!there) {
        m_steps.push_back({changedHere ? Action::Create : Action::DeleteHere, identity, row.href});
    } else if (changedHere && changedThere) {
        m_steps.push_back({Action::Conflict, identity, row.href});
    } else if (changedHere) {
        m_steps.push_back({Action::Upload, identity, row.href});
    } else if (changedThere) {
        m_steps.push_back({Action::Apply, identity, row.href});
    } else if (card != m_cards.end()) {
        m_steps.push_back({Action::Refresh, identity, row.href});
    }
}

void SyncRun::planNewCards()
{
    NewCardMatching matching;
    for (const auto& [identity, local] : m_local) {
        if (!m_synced.contains(identity)) {
            matching.unlinked.insert(identity);
        }
    }
    for (const auto& [href, card] : m_cards) {
        if (!m_identityOfHref.contains(href)) {
            planNewCard(href, card, matching);
        }
    }
    for (const std::string& identity : matching.unlinked) {
        if (!matching.held.contains(identity)) {
            m_steps.push_back({Action::Create, identity, ""});
        }
    }
}

// The same person on both sides: by UID first (the cards this address book made carry the record's
// identity), then by the duplicate matcher; else someone new here.
void SyncRun::planNewCard(const std::string& href, const ServerCard& card, NewCardMatching& matching)
{
    std::string uid = CardUid(card.text);
    if (matching.unlinked.erase(uid) == 1) {
        m_steps.push_back({Action::Link, uid, href});
        return;
    }
    std::optional<Person> person = PersonFromCard(card.text, m_names);
    if (!person) {
        m_summary.notes.push_back("読みのないカードは取込みませんでした: " + href);
        return;
    }
    if (!matching.index) {
        matching.index.emplace(matchablePeople(matching.identityOfRecNo));
    }
    DuplicatePair match = matching.index->best(KeysOf(person->rec));
    auto said = m_options.uncertainDecided.find(href);
    UncertainRule rule = said == m_options.uncertainDecided.end() ? m_options.uncertain : said->second;
    bool surely = match.match.score >= HighConfidenceScore;
    if (!surely && !(Uncertain(match) && rule != UncertainRule::Separate)) {
        m_steps.push_back({Action::AddHere, "", href});
        return;
    }
    const std::string& identity = matching.identityOfRecNo[match.b];
    if (!surely && rule == UncertainRule::List) {
        holdUncertain(identity, href, GetText(person->rec.KanjiName), match.match);
        matching.held.insert(identity);
    } else if (matching.unlinked.erase(identity) == 1) {
        m_steps.push_back({Action::Link, identity, href});
    } else {
        // A second card for someone already linked: which one it is, the user decides. The token
        // stays, so the card is told of again until then.
        m_summary.notes.push_back("同じ人と見られるカードが複数あります (取込みませんでした): " + href);
        m_holdToken = true;
    }
}

// Neither side is copied for the pair: it is listed, and the sync token stays where it was, so the
// card is listed again by the next runs until the user has said what the pair is.
void SyncRun::holdUncertain(const std::string& identity,
                            const std::string& href,
                            const std::string& cardName,
                            const MatchScore& match)
{
    const LocalPerson& local = m_local[identity];
    m_summary.uncertainPairs.push_back(
        {local.recNo, GetText(local.person.rec.KanjiName), href, cardName, match.score, ReasonText(match)});
    m_holdToken = true;
}

// Everyone here a card new from the server may be (those linked already too, so that a second card
// for one of them is not taken for someone new); not those this run deletes here.
std::vector<KeyedPerson> SyncRun::matchablePeople(std::map<std::int32_t, std::string>& identityOfRecNo) const
{
    std::set<std::string> leaving;
    for (const Step& step : m_steps) {
        if (step.action == Action::DeleteHere) {
            leaving.insert(step.identity);
        }
    }
    std::vector<KeyedPerson> people;
    for (const auto& [identity, local] : m_local) {
        if (!leaving.contains(identity)) {
            people.push_back({local.recNo, KeysOf(local.person.rec), identity});
            identityOfRecNo[local.recNo] = identity;
        }
    }
    return people;
}

void SyncRun::plan()
{
    for (const auto& [identity, row] : m_synced) {
        planKnown(identity, row);
    }
    planNewCards();
}

bool SyncRun::massDelete() const
{
    std::size_t here = 0;
    std::size_t there = 0;
    for (const Step& step : m_steps) {
        here += step.action == Action::DeleteHere;
        there += step.action == Action::DeleteThere;
    }
    std::size_t serverCount = m_synced.size() - m_gone.size();
    for (const Step& step : m_steps) {
        serverCount += step.action == Action::AddHere || step.action == Action::Link;
    }
    return here * 2 > m_local.size() || there * 2 > serverCount;
}

SyncSummary SyncRun::run()
{
    if (!readLocal()) {
        return m_summary;
    }
    if (!listServer()) {
        m_summary.certificate = m_client.certificateProblem();
        m_summary.credentialsRefused = m_client.credentialsRefused();
        return m_summary;
    }
    plan();
    if (massDelete() && !m_options.allowMassDelete) {
        m_summary.massDeleteStop = true;
        m_summary.error = "片側の半数を超える削除になるため、同期を止めました。確かめてから --allow-mass-delete "
                          "で実行してください。";
        return m_summary;
    }
    for (std::size_t i = 0; i < m_steps.size(); ++i) {
        if (m_options.cancelled && m_options.cancelled()) {
            m_summary.cancelled = true;
            m_failed = true;
            break;
        }
        execute(m_steps[i]);
        if (m_options.progress) {
            m_options.progress(i + 1, m_steps.size());
        }
    }
    m_writer->publish();
    // The token moves on only when every change it covers was taken; else the next run asks again.
    if (!m_failed && !m_holdToken && !m_options.dryRun && m_side && !m_listing.token.empty()) {
        StoreSyncToken(*m_side, m_book, m_listing.token);
    }
    if (m_failed && m_summary.error.empty() && !m_summary.cancelled) {
        m_summary.error = "一部のカードを同期できませんでした。";
    }
    return m_summary;
}

void SyncRun::execute(const Step& step)
{
    bool dry = m_options.dryRun;
    switch (step.action) {
    case Action::Upload:
        dry ? void(++m_summary.serverUpdated) : upload(step.identity, false);
        break;
    case Action::Create:
        dry ? void(++m_summary.serverAdded) : upload(step.identity, true);
        break;
    case Action::Apply:
        dry ? void(++m_summary.localUpdated) : applyHere(step.identity, step.href, false);
        break;
    case Action::AddHere:
        dry ? void(++m_summary.localAdded) : applyHere(step.identity, step.href, true);
        break;
    case Action::DeleteHere:
        dry ? void(++m_summary.localDeleted) : deleteHere(step.identity);
        break;
    case Action::DeleteThere:
        dry ? void(++m_summary.serverDeleted) : deleteThere(step.identity);
        break;
    case Action::Link:
        if (!dry) {
            link(step.identity, step.href);
        }
        break;
    case Action::Forget:
        if (!dry) {
            ForgetSyncedCard(*m_side, step.identity);
        }
        break;
    case Action::Refresh:
        if (!dry) {
            SyncedCard row = m_synced[step.identity];
            row.etag = m_cards[step.href].etag;
            row.card = m_cards[step.href].text;
            remember(step.identity, row);
        }
        break;
    case Action::Conflict:
        conflict(step.identity);
        break;
    }
}

void SyncRun::remember(const std::string& identity, const SyncedCard& row)
{
    if (!StoreSyncedCard(*m_side, identity, row)) {
        fail("同期の状態を保存できません: " + nameOf(identity));
        return;
    }
    m_synced[identity] = row;
}

std::optional<ServerCard> SyncRun::refetch(const std::string& href)
{
    std::string error;
    std::optional<std::map<std::string, ServerCard>> cards = m_client.fetch(m_book, {href}, error);
    if (!cards || cards->empty()) {
        return std::nullopt;
    }
    return cards->begin()->second;
}

void SyncRun::upload(const std::string& identity, bool create)
{
    const LocalPerson& local = m_local[identity];
    SyncedCard row = m_synced.contains(identity) ? m_synced[identity] : SyncedCard{identity, "", "", "", "", ""};
    if (create) {
        row.href = NewCardHref(UrlPath(m_book), row.uid);
        row.card.clear();
        row.etag.clear();
    } else if (auto fetched = m_cards.find(row.href); fetched != m_cards.end()) {
        // The server re-wrote the card without changing it: build on what it has now.
        row.card = fetched->second.text;
        row.etag = fetched->second.etag;
    }
    std::string card = CardForPerson(local.person, m_names, row.uid, row.card);
    WriteResult result =
        create ? m_client.create(m_book, row.href, card) : m_client.update(m_book, row.href, row.etag, card);
    if (result.status == 412) {
        std::optional<ServerCard> now = refetch(row.href);
        if (now && !create) {
            uploadAgain(identity, *now);
        } else if (now && CardUid(now->text) == row.uid) {
            // Our own card from a run that ended before it was remembered.
            link(identity, row.href);
        } else {
            fail("サーバーに書き込めません (" + result.error + "): " + nameOf(identity));
        }
        return;
    }
    if (!result.ok()) {
        fail("サーバーに書き込めません (" + result.error + "): " + nameOf(identity));
        return;
    }
    row.etag = result.etag;
    row.card = card;
    if (row.etag.empty()) {
        // No ETag in the answer: the server may have changed what it stored; read it back.
        if (std::optional<ServerCard> now = refetch(row.href)) {
            row.etag = now->etag;
            row.card = now->text;
        }
    }
    row.localHash = local.hash;
    row.serverHash = serverHash(row.card);
    remember(identity, row);
    ++(create ? m_summary.serverAdded : m_summary.serverUpdated);
    m_identityOfHref[row.href] = identity;
}

void SyncRun::uploadAgain(const std::string& identity, const ServerCard& now)
{
    // The card changed on the server since it was listed. When only its bytes changed, write over
    // it; when its content changed too, both sides changed: the conflict rule decides.
    SyncedCard& row = m_synced[identity];
    m_cards[row.href] = now;
    if (serverHash(now.text) == row.serverHash) {
        upload(identity, false);
    } else {
        conflict(identity);
    }
}

void SyncRun::applyHere(const std::string& identity, const std::string& href, bool add)
{
    const ServerCard& card = m_cards[href];
    std::optional<Person> person = PersonFromCard(card.text, m_names);
    if (!person) {
        m_summary.notes.push_back("読みのないカードは取込みませんでした: " + href);
        return;
    }
    std::string id = identity.empty() ? NewIdentity() : identity;
    std::string uid = CardUid(card.text);
    SyncedCard row{uid.empty() ? id : uid, href, card.etag, PersonHash(*person), PersonHash(*person), card.text};
    if (add) {
        // The card is remembered first, marked pending, under the identity the record will get: a
        // run killed between the two finds the record by it (or adds it then), never a second one.
        SyncedCard pending = row;
        pending.localHash = PendingHash;
        if (!StoreSyncedCard(*m_side, id, pending)) {
            fail("同期の状態を保存できません: " + href);
            return;
        }
        std::int32_t recNo = m_writer->add(person->rec, person->extra, id);
        if (recNo == 0) {
            fail("この住所録に登録できません: " + href);
            return;
        }
        m_local[id] = {recNo, *person, PersonHash(*person)};
    } else {
        LocalPerson& local = m_local[identity];
        SetIdentity(person->rec, identity);
        if (!m_writer->update(local.recNo, person->rec, person->extra)) {
            fail("この住所録を更新できません: " + nameOf(identity));
            return;
        }
        local.person = *person;
        local.hash = PersonHash(*person);
    }
    if (!m_side->setJointNames(id, person->joint)) {
        fail("連名を保存できません: " + href);
    }
    remember(id, row);
    m_identityOfHref[href] = id;
    ++(add ? m_summary.localAdded : m_summary.localUpdated);
}

void SyncRun::link(const std::string& identity, const std::string& href)
{
    std::optional<ServerCard> card = m_cards.contains(href) ? std::optional(m_cards[href]) : refetch(href);
    if (!card) {
        fail("サーバーのカードを読めません: " + href);
        return;
    }
    std::string uid = CardUid(card->text);
    remember(identity, {uid.empty() ? identity : uid, href, card->etag, m_local[identity].hash, serverHash(card->text),
                        card->text});
    m_identityOfHref[href] = identity;
}

void SyncRun::deleteHere(const std::string& identity)
{
    if (!m_writer->remove(m_local[identity].recNo)) {
        fail("この住所録から削除できません: " + nameOf(identity));
        return;
    }
    m_local.erase(identity);
    if (ForgetSyncedCard(*m_side, identity)) {
        m_synced.erase(identity);
    }
    ++m_summary.localDeleted;
}

void SyncRun::deleteThere(const std::string& identity)
{
    const SyncedCard& row = m_synced[identity];
    WriteResult result = m_client.remove(m_book, row.href, row.etag);
    if (result.status == 412) {
        // Changed there meanwhile: the changed one is kept, and comes back here next run.
        m_summary.notes.push_back("サーバーで変更されたため削除しませんでした: " + row.href);
        m_failed = true;
        return;
    }
    if (!result.ok()) {
        fail("サーバーから削除できません (" + result.error + "): " + row.href);
        return;
    }
    if (ForgetSyncedCard(*m_side, identity)) {
        m_synced.erase(identity);
    }
    ++m_summary.serverDeleted;
}

// Both versions of a person left alone, for the window to ask about.
void SyncRun::leaveConflict(const std::string& identity, const std::string& href)
{
    auto card = m_cards.find(href);
    auto local = m_local.find(identity);
    if (card == m_cards.end() || local == m_local.end()) {
        return;
    }
    std::optional<Person> theirs = PersonFromCard(card->second.text, m_names);
    if (!theirs) {
        return;
    }
    SetIdentity(theirs->rec, identity);
    m_summary.conflictsLeft.push_back({identity, nameOf(identity), local->second.recNo, local->second.person.rec,
                                       local->second.person.extra, theirs->rec, theirs->extra});
}

void SyncRun::conflict(const std::string& identity)
{
    const SyncedCard& row = m_synced[identity];
    auto decided = m_options.decided.find(identity);
    switch (decided == m_options.decided.end() ? m_options.conflict : decided->second) {
    case ConflictRule::Local:
        if (m_options.dryRun) {
            ++m_summary.serverUpdated;
        } else {
            m_cards.erase(row.href);
            if (std::optional<ServerCard> now = refetch(row.href)) {
                m_synced[identity].etag = now->etag;
                m_synced[identity].card = now->text;
            }
            upload(identity, false);
        }
        return;
    case ConflictRule::Server:
        if (m_options.dryRun) {
            ++m_summary.localUpdated;
        } else {
            if (std::optional<ServerCard> now = refetch(row.href)) {
                m_cards[row.href] = *now;
            }
            applyHere(identity, row.href, false);
        }
        return;
    case ConflictRule::Skip:
        ++m_summary.conflicts;
        m_summary.notes.push_back("競合 (両方で変更): " + nameOf(identity));
        leaveConflict(identity, row.href);
        m_failed = true; // the token stays: the conflict is seen again next run
        return;
    }
}

} // namespace

SyncSummary RunSync(StoreState& state, CardDavClient& client, const std::string& book, const SyncOptions& options)
{
    return SyncRun(state, client, book, options).run();
}

} // namespace talik
