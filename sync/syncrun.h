#pragma once
// Two-way sync of the open database with one CardDAV address book, card by card.
//
// A change is a change of content (the hashes in the sync state), not of ETag, so a server that
// re-serialises its cards causes no traffic. The state of each person is committed as soon as the
// server has answered for them: a run killed or cancelled anywhere loses nothing, and the next run
// links what it finds by UID (or by the duplicate matcher) instead of making a second copy.
#include <functional>
#include <map>
#include <string>

#include "sync/carddav.h"
#include "sync/syncsummary.h"

namespace talik {

struct StoreState;

enum class ConflictRule
{
    Skip,   // neither side is changed for that person; they are listed
    Local,  // this address book's version goes to the server
    Server, // the server's version comes here
};

// What a first sync does with a person here and a card there that may be one person or two.
enum class UncertainRule
{
    List,     // neither is copied nor linked; the pair is listed
    Same,     // linked as one person, nothing copied
    Separate, // two people: each is copied to the other side
};

struct SyncOptions
{
    ConflictRule conflict = ConflictRule::Skip;
    UncertainRule uncertain = UncertainRule::List;
    bool dryRun = false;          // count what would be done, change nothing
    bool allowMassDelete = false; // go on even when more than half of one side would go
    std::function<void(std::size_t done, std::size_t total)> progress;
    std::function<bool()> cancelled; // asked between cards
    // What the user chose for single people (by identity), over `conflict`.
    std::map<std::string, ConflictRule> decided;
    // What the user said of single uncertain pairs (by the card's href), over `uncertain`.
    std::map<std::string, UncertainRule> uncertainDecided;
};

// Syncs the open database (its tables loaded) with the address book at `book`.
SyncSummary RunSync(StoreState& state, CardDavClient& client, const std::string& book, const SyncOptions& options);

} // namespace talik
