#pragma once
// A person as the card the server keeps, and back. Uploads are vCard 3.0 in UTF-8 with the reading
// in X-PHONETIC-* (and N;SORT-AS): what phones and most clients keep. An update replaces only the
// properties this address book owns and keeps the rest of the server's card (a photo, a URL, other
// clients' X- properties) as it was.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "interchange/vcardwrite.h"
#include "store/record.h"
#include "store/sidestore.h"

namespace talik {

struct Person
{
    AddressRecord rec{};
    ExtraRecord extra{};
    std::vector<JointName> joint;
};

// A hash of what a person holds (not their identity, so a re-read card compares equal).
std::string PersonHash(const Person& person);

// The card to upload for `person`: the owned properties from the record, everything else from
// `serverCard` (the server's last card; empty for a new one), with UID `uid`.
std::string CardForPerson(const Person& person,
                          const CheckItemNameList& checkNames,
                          const std::string& uid,
                          std::string_view serverCard);

// The person a server card describes; nullopt when it is no card or gives no reading (a record
// needs one).
std::optional<Person> PersonFromCard(std::string_view card, const CheckItemNameList& checkNames);
// The card's UID; empty when it has none.
std::string CardUid(std::string_view card);

// Whether this address book writes property `name` (upper case, no group).
bool OwnedProperty(std::string_view name);

} // namespace talik
