#include "editor/remarkstext.h"

#include "platform/codec.h"
#include "platform/interaction.h"

namespace talik {

std::string RemarksForDisplay(std::string_view stored)
{
    std::string shown;
    for (std::size_t i = 0; i < stored.size(); ++i) {
        if (stored[i] == '\r') {
            shown += '\n';
            if (i + 1 < stored.size() && stored[i + 1] == '\n') {
                ++i;
            }
        } else {
            shown += stored[i];
        }
    }
    return shown;
}

std::string RemarksForStorage(std::string_view shown)
{
    std::string stored;
    for (char c : RemarksForDisplay(shown)) {
        if (c == '\n') {
            stored += "\r\n";
        } else {
            stored += c;
        }
    }
    return stored;
}

std::string CutRemarks(std::string_view text, std::size_t bytes)
{
    std::string kept;
    std::size_t used = 0;
    for (std::size_t pos = 0; pos < text.size();) {
        std::size_t length = std::max<std::size_t>(Utf8CharLength(text.substr(pos)), 1);
        if (text.substr(pos, 2) == "\r\n") {
            length = 2; // a line break goes whole or not at all
        }
        std::string_view ch = text.substr(pos, length);
        std::size_t size = ToCp932(ch).size();
        if (used + size > bytes) {
            break;
        }
        kept += ch;
        used += size;
        pos += length;
    }
    return kept;
}

RemarksOutcome StoreRemarks(ExtraRecord& extra, Interaction& ui, std::string_view opened, std::string_view shown)
{
    if (RemarksForDisplay(shown) == RemarksForDisplay(opened)) {
        return RemarksOutcome::Unchanged;
    }
    std::string stored = RemarksForStorage(shown);
    auto length = static_cast<std::size_t>(AnsiLen(stored));
    if (length > RemarksExtraBytes) {
        std::string question = "追加データが " + std::to_string(RemarksExtraBytes) + " バイトを超えています（" +
                               std::to_string(length) + " バイト）。\n超えた部分を切り捨てて保存しますか？";
        if (!ui.askYesNo(question, MessageIcon::Question, "確認")) {
            return RemarksOutcome::KeepOpen;
        }
        stored = CutRemarks(stored, RemarksExtraBytes);
    }
    SetText(extra.RemarksExtra, stored);
    return RemarksOutcome::Stored;
}

} // namespace talik
