#pragma once
// The card season in printing: which of a job's people get a card this year, and the sent mark for
// the people a print that went through in full reached.
#include <cstdint>
#include <string>
#include <vector>

namespace talik {

struct AppState;

inline constexpr const char* SeasonOnlyCaption = "今年の宛先だけ";

// The record numbers of `recNos` whose person gets a card in `year` (not in mourning, not stopped,
// not yet sent), in the order given. A record without an identity yet has no marks, so it is one.
std::vector<std::int32_t> ToSendRecords(AppState& state, const std::vector<std::int32_t>& recNos, int year);

// "印刷した N 件を YYYY 年の「送」にしますか？"
std::string MarkSentQuestion(std::size_t count, int year);

// Marks the people of `recNos` sent in `year`, in one transaction. False (the user told) when a
// record is gone or the marks could not be written; nothing is marked then.
bool MarkRecordsSent(AppState& state, const std::vector<std::int32_t>& recNos, int year);

} // namespace talik
