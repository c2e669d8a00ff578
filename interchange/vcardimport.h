#pragma once
// vCard import: every card of a file becomes a new address of the open database, stored one by one
// through the data store as the CSV import stores its lines.
//
// A card needs a reading (X-PHONETIC-*, SORT-STRING, SOUND;X-IRMC-N or N;SORT-AS), which is stored
// in half-width katakana. Numbers, e-mail addresses and addresses that find no field of their own
// go into the remarks extra data as "TEL: …", "E-Mail: …" and "住所: …" lines.
#include <array>
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "interchange/importfill.h"
#include "interchange/vcardread.h"
#include "interchange/vcardwrite.h"
#include "store/record.h"
#include "store/sidestore.h"

namespace talik {

struct StoreState;

// What became of one card.
struct VcardFill
{
    bool hasReading = false;
    bool overflow = false;        // something went into the remarks extra data
    bool lacking = false;         // characters CP932 lacks became "?"
    std::string name;             // how the card calls the person, for the report
    std::vector<JointName> joint; // its joint names, kept in the side store
    SeasonHistory season;         // its card season, kept there too
};

// The record buffers from one card, starting from clean records: the check items `checks` and
// those whose names (`checkNames`) are among the card's categories are set.
VcardFill FillFromVcard(const VcardCard& card,
                        const CheckItemNameList& checkNames,
                        const std::array<char, 15>& checks,
                        AddressRecord& rec,
                        ExtraRecord& extra);

// The reading a card gives, in half-width katakana; empty when it gives none.
std::string VcardReading(const VcardCard& card);
// A BDAY value as yyyymmdd (year 0 for a date without one); 0 when it is none of the date forms.
std::int32_t ParseVcardBirthday(std::string_view value);

inline constexpr std::size_t VcardNamesReported = 10;

struct VcardImportResult
{
    int cards = 0;                   // cards read
    int failures = 0;                // cards without a reading, not stored
    int lackingCards = 0;            // cards stored with "?" for characters CP932 lacks
    int overflowCards = 0;           // cards with something put into the remarks extra data
    int stoppedAt = 0;               // the card at which storing failed; 0 when the import ran to the end
    int filledCards = 0;             // cards stored with a postal code or address filled in
    std::vector<std::string> unread; // the names of the first cards without a reading
};

using VcardProgress = std::function<void(std::size_t done, std::size_t total)>;

// Stores every card of `file` as a new record of the open database (the tables loaded); the file
// must look like a vCard file (LooksLikeVcard).
VcardImportResult ImportVcardFile(StoreState& state,
                                  std::string_view file,
                                  const std::array<char, 15>& checks,
                                  const VcardProgress& progress = {},
                                  const ImportRecordFill& fillRecord = {});

// The report after an import that ran to the end; `readingCaption` is the reading field's caption.
std::string VcardImportReport(const VcardImportResult& result, std::string_view readingCaption);
// What follows the store's own message when an import stopped early.
std::string VcardStoppedReport(const VcardImportResult& result);

std::string VcardImportQuestion(const std::string& path);
inline constexpr std::string_view VcardNotVcardMessage =
    "vCardファイルではありません。\r\n(BEGIN:VCARD の行がないため、何も取込みませんでした。)";
inline constexpr std::string_view VcardOpenTitle = "入力vCardファイル設定";
inline constexpr std::string_view VcardOpenFilter = "vCard (*.vcf *.VCF *.vcard);;すべて(*.*) (*)";
inline constexpr std::string_view VcardOverflowReport = " 件は一部の項目を備考追加データに入れました。";

} // namespace talik
