#include "listwin/clipboardcopy.h"

#include <cstring>

#include "listwin/appstate.h"
#include "listwin/listwindow.h"
#include "platform/codec.h"
#include "store/database.h"

namespace talik {
namespace {

// The two-digit number at `pos`, or -1 when those two characters are not digits.
int TwoDigitsAt(std::string_view text, std::size_t pos)
{
    if (pos + 2 > text.size()) {
        return -1;
    }
    char high = text[pos];
    char low = text[pos + 1];
    if (high < '0' || high > '9' || low < '0' || low > '9') {
        return -1;
    }
    return (high - '0') * 10 + (low - '0');
}

std::string Separator(int code)
{
    switch (code) {
    case 1:
        return " ";
    case 2:
        return "\r\n";
    default:
        return {};
    }
}

// The text of item `code` (1..18); nullopt for a code that names no item.
std::optional<std::string> ItemText(const AddressRecord& rec, const ExtraRecord& extra, int code)
{
    switch (code) {
    case 1:
        return GetText(rec.KanaName);
    case 2:
        return GetText(rec.KanjiName);
    case 3:
        return GetText(rec.EMail);
    case 4:
        return FormatBirthday(GetLong(rec.Birthday));
    case 5:
        return GetText(rec.ClassCode);
    case 6:
        return GetText(rec.PostCode1);
    case 7:
        return GetText(rec.Address1);
    case 8:
        return GetText(rec.Tel1);
    case 9:
        return GetText(rec.Fax1);
    case 10:
        return GetText(rec.PostCode2);
    case 11:
        return GetText(rec.Address2);
    case 12:
        return GetText(rec.Tel2);
    case 13:
        return GetText(rec.Fax2);
    case 14:
        return GetText(rec.Company);
    case 15:
        return GetText(rec.Department);
    case 16:
        return GetText(rec.Remarks);
    case 17:
        return GetText(extra.RemarksExtra);
    case 18:
        return GetText(extra.RelatedInfo);
    default:
        return std::nullopt;
    }
}

std::string TwoDigitText(int value)
{
    char digits[3] = {static_cast<char>('0' + value / 10 % 10), static_cast<char>('0' + value % 10), '\0'};
    return digits;
}

} // namespace

CopyDefinition ParseCopyDefinition(std::string_view parm)
{
    CopyDefinition def;
    int separator = TwoDigitsAt(parm, 0);
    def.separator = (separator >= 0 && separator <= 2) ? separator : -1;
    for (std::size_t pos = 2; pos + 2 <= parm.size() && def.items.size() < CopyItemTotal; pos += 2) {
        def.items.push_back(TwoDigitsAt(parm, pos));
    }
    return def;
}

std::string CopyDefinitionText(int separator, const std::vector<int>& items)
{
    std::string text = TwoDigitText(separator < 0 ? 0 : separator);
    for (int item : items) {
        if (item > 0) {
            text += TwoDigitText(item);
        }
    }
    return text;
}

std::optional<std::string> CopyText(const AddressRecord& rec, const ExtraRecord& extra, std::string_view parm)
{
    if (parm.size() <= 2) {
        return std::nullopt;
    }
    CopyDefinition def = ParseCopyDefinition(parm);
    const std::string separator = Separator(def.separator);
    std::string text;
    for (int code : def.items) {
        if (std::optional<std::string> item = ItemText(rec, extra, code)) {
            text += *item + separator;
        }
    }
    return CleanFixed(text);
}

std::string ForClipboard(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t pos = 0; pos < text.size();) {
        std::size_t length = std::max<std::size_t>(Utf8CharLength(text.substr(pos)), 1);
        std::string_view ch = text.substr(pos, length);
        // The escape range U+F780..U+F7FF is EF 9E 80 .. EF 9F BF in UTF-8.
        bool escaped = ch.size() == 3 && static_cast<unsigned char>(ch[0]) == 0xEF &&
                       (static_cast<unsigned char>(ch[1]) == 0x9E || static_cast<unsigned char>(ch[1]) == 0x9F);
        out += escaped ? std::string_view("\xEF\xBF\xBD") : ch;
        pos += length;
    }
    return out;
}

std::optional<std::string> CopySelectedRecord(AppState& state, const ListModel& list, int setting)
{
    if (setting < 0 || setting >= CopySettingTotal || state.settings.Copy[setting].parm.size() <= 2) {
        return std::nullopt;
    }
    if (!ReadSelectedRecord(state, list)) {
        return std::nullopt;
    }
    std::optional<std::string> text = CopyText(state.Rec, state.Extra, state.settings.Copy[setting].parm);
    if (!text) {
        return std::nullopt;
    }
    return ForClipboard(*text);
}

std::array<std::string, CopyItemTotal> CopyItemCaptions(const FieldCaptions& c)
{
    return {c.kana,     c.name,     c.email,      c.birthday,  c.classCode,  c.postCode1,
            c.address1, "ＴＥＬ１", "ＦＡＸ１",   c.postCode2, c.address2,   "ＴＥＬ２",
            "ＦＡＸ２", c.company,  c.department, c.remarks,   "追加データ", "関連情報"};
}

std::string FitCopyTitle(std::string_view title)
{
    std::string bytes = ToCp932(title);
    if (bytes.size() <= CopyTitleBytes) {
        return std::string(title);
    }
    // Cut whole characters only: a half double-byte character would decode to an escape.
    std::string kept;
    for (std::size_t pos = 0; pos < title.size();) {
        std::size_t length = std::max<std::size_t>(Utf8CharLength(title.substr(pos)), 1);
        std::string candidate = kept + std::string(title.substr(pos, length));
        if (static_cast<std::size_t>(AnsiLen(candidate)) > CopyTitleBytes) {
            break;
        }
        kept = std::move(candidate);
        pos += length;
    }
    return kept;
}

} // namespace talik
