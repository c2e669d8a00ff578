#pragma once
// What a sync run did, as the window and talikcli tell it.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "store/record.h"
#include "sync/certificate.h"

namespace talik {

// A person changed on both sides and left alone (the rule 確認する): both versions, for the user to
// choose from.
struct SyncConflict
{
    std::string identity;
    std::string name;
    std::int32_t recNo = 0;
    AddressRecord oursRec{};
    ExtraRecord oursExtra{};
    AddressRecord theirsRec{}; // the server's card as this address book would take it
    ExtraRecord theirsExtra{};
};

// On a first sync, a person here and a card there that may be one person or two: neither is
// copied to the other side nor linked until the user says which.
struct UncertainPair
{
    std::int32_t recNo = 0;
    std::string name; // ours
    std::string href;
    std::string cardName; // the card's FN
    int score = 0;
    std::string reasons;
};

struct SyncSummary
{
    int localAdded = 0;
    int localUpdated = 0;
    int localDeleted = 0;
    int serverAdded = 0;
    int serverUpdated = 0;
    int serverDeleted = 0;
    int conflicts = 0;
    bool massDeleteStop = false; // nothing was done: the run would have emptied too much of one side
    bool cancelled = false;
    std::string error;              // why the run stopped early; empty when it ran to the end
    std::vector<std::string> notes; // conflicts left alone, uncertain pairs, cards not taken, failures
    std::vector<SyncConflict> conflictsLeft;
    std::vector<UncertainPair> uncertainPairs;
    // Set when the run could not start because the server's certificate was not trusted.
    std::optional<CertificateProblem> certificate;
    // Set when the run could not start because the server refused the user name and password.
    bool credentialsRefused = false;
};

// "この住所録: 追加 a・更新 u・削除 d／サーバー: 追加 a・更新 u・削除 d／競合 c"
std::string SummaryLine(const SyncSummary& summary);
// The uncertain pairs, one a line: "recNo<TAB>name<TAB>href<TAB>card name<TAB>score<TAB>reasons".
std::string UncertainPairLines(const SyncSummary& summary);

} // namespace talik
