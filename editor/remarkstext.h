#pragma once
// The remarks extra data: a free text of up to 400 bytes, stored with CR LF line breaks.
#include <string>
#include <string_view>

#include "store/record.h"

namespace talik {

class Interaction;

inline constexpr std::size_t RemarksExtraBytes = 400;

// The stored text as the box shows it: every CR LF (and lone CR) becomes LF.
std::string RemarksForDisplay(std::string_view stored);
// The box's text as stored: every line break becomes CR LF.
std::string RemarksForStorage(std::string_view shown);
// `text` cut to at most `bytes` CP932 bytes on a character boundary, never between CR and LF.
std::string CutRemarks(std::string_view text, std::size_t bytes);

enum class RemarksOutcome
{
    Unchanged, // the text is as it was: the field is left alone
    Stored,    // the text went into the field (cut when the user agreed)
    KeepOpen,  // too long and the user declined the cut: the dialog stays open
};
// Stores the box's text `shown` (the dialog opened with `opened`) into the field, asking before a
// text over 400 bytes is cut.
RemarksOutcome StoreRemarks(ExtraRecord& extra, Interaction& ui, std::string_view opened, std::string_view shown);

} // namespace talik
