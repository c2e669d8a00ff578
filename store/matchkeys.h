#pragma once
// The keys two records of one person share however each was typed: the reading in one form of
// half-width kana, the name with its kanji variants folded, e-mail addresses and telephone
// numbers in one spelling.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "store/record.h"

namespace talik {

// A person's keys, every text UTF-8.
struct PersonKeys
{
    std::string reading; // whole, without blanks
    std::string readingFamily, readingGiven;
    std::string name; // whole, without blanks
    std::string family, given;
    std::vector<std::string> emails;
    std::vector<std::string> mobiles; // numbers of one person: mobile telephones, PHS, pagers
    std::vector<std::string> others;  // numbers beside the home address's (work, second address)
    std::string home;                 // the first address's telephone, shared by a household
    std::int32_t birthday = 0;
    std::string address; // the first address, without blanks
};

PersonKeys KeysOf(const AddressRecord& rec);

// Half-width katakana (hiragana and full-width katakana converted), blanks and "・" removed,
// ヴ written one way and small kana as their full-size forms.
std::string NormaliseReading(std::string_view utf8);
// 髙 as 高, 﨑 as 崎, 邊 and 邉 as 辺, 齋 and 齊 as 斎, and the other variants family names are
// written with; blanks (half- and full-width) removed.
std::string FoldKanjiVariants(std::string_view utf8);
// Digits only (full-width ones folded), a leading +81 as 0; empty when fewer than six digits.
std::string NormaliseNumber(std::string_view utf8);
// The address with its domain in lower case; empty when it has no "@".
std::string NormaliseEmail(std::string_view utf8);

} // namespace talik
