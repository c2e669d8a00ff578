// The print work file: a list window writes the job into it, the print dialog reads it into the
// print table and deletes it. On disk it is CP932 text with CR LF lines; the full-line form has
// seven fields per line, each in double quotes, a quote inside a field doubled; a recipient with
// joint names has an eighth, which a reader that knows none passes over.
#include "print/printwork.h"

#include "print/jointnames.h"
#include "store/identity.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <span>
#include <vector>

#include "listwin/appstate.h"
#include "platform/atomicfile.h"
#include "platform/codec.h"
#include "platform/paths.h"
#include "platform/recordfile.h"
#include "store/dbfile.h"
#include "store/messages.h"
#include "store/record.h"

namespace talik {
namespace {

constexpr std::string_view LineEnd = "\r\n";
constexpr std::string_view NameEndMark = "!"; // the engines put the honorific in its place

// The digits of a record's print options, counted from the left of the value formatted "00000".
enum class PrintOption
{
    HonorificOnLastName = 1,
    NoHonorific = 2,
    SecondAddress = 3,
    WithCompany = 4,
    WithDepartment = 5,
};

bool OptionSet(int printOptions, PrintOption option)
{
    static constexpr std::array<int, 5> PlaceValue{10000, 1000, 100, 10, 1};
    return printOptions / PlaceValue[static_cast<std::size_t>(option) - 1] % 10 != 0;
}

// --- the lines of a job ----------------------------------------------------------------------------

PrintEntry SenderEntry(const Settings& settings, bool secondSender)
{
    PrintEntry entry;
    entry.PrintPost = CleanFixed(secondSender ? settings.FromPost1 : settings.FromPost);
    entry.PrintAddress = CleanFixed(secondSender ? settings.FromAddr1 : settings.FromAddr);
    entry.PrintName = CleanFixed(secondSender ? settings.FromName1 : settings.FromName);
    return entry;
}

std::string HonorificOf(const AddressRecord& rec, int printOptions)
{
    if (OptionSet(printOptions, PrintOption::NoHonorific)) {
        return {};
    }
    std::string honorific = GetText(rec.Honorific);
    return honorific.empty() ? std::string(DefaultHonorific) : honorific;
}

// Units digit: the honorific only after the last name; tens digit: sender 2.
std::string PrintFlagsOf(const AddressRecord& rec, int printOptions)
{
    const bool secondSender = rec.SenderChoice[0] == '1';
    const bool lastNameOnly = OptionSet(printOptions, PrintOption::HonorificOnLastName);
    return std::to_string((secondSender ? 10 : 0) + (lastNameOnly ? 1 : 0));
}

PrintEntry RecordEntry(const AddressRecord& rec)
{
    const int options = PrintOptionsValue(rec);
    PrintEntry entry;
    if (OptionSet(options, PrintOption::SecondAddress)) {
        entry.PrintPost = GetText(rec.PostCode2);
        entry.PrintAddress = GetText(rec.Address2);
    } else {
        entry.PrintPost = GetText(rec.PostCode1);
        entry.PrintAddress = GetText(rec.Address1);
    }
    if (OptionSet(options, PrintOption::WithCompany)) {
        entry.PrintCompany = GetText(rec.Company);
    }
    if (OptionSet(options, PrintOption::WithDepartment)) {
        entry.PrintDept = GetText(rec.Department);
    }
    entry.PrintName = GetText(rec.KanjiName);
    entry.PrintHonorific = HonorificOf(rec, options);
    entry.PrintFlags = PrintFlagsOf(rec, options);
    return entry;
}

// A field in double quotes. A quote inside is doubled, so that it reads back unchanged (a reader
// that knows no doubling is no worse off than with a lone quote).
void AppendQuoted(std::string& line, std::string_view text)
{
    line += '"';
    for (std::size_t quote; (quote = text.find('"')) != std::string_view::npos; text.remove_prefix(quote + 1)) {
        line.append(text.substr(0, quote + 1));
        line += '"';
    }
    line.append(text);
    line += '"';
}

// The line of an entry in CP932, line end included.
std::string FullLine(const PrintEntry& entry)
{
    std::string line;
    for (const std::string* field : {&entry.PrintPost, &entry.PrintAddress, &entry.PrintCompany, &entry.PrintDept,
                                     &entry.PrintName, &entry.PrintHonorific, &entry.PrintFlags}) {
        if (!line.empty()) {
            line += ',';
        }
        AppendQuoted(line, *field);
    }
    if (!entry.JointNames.empty()) {
        // One field more, which a reader that knows no joint names passes over.
        line += ',';
        AppendQuoted(line, EncodeJointNames(entry.JointNames));
    }
    line += LineEnd;
    return ToCp932(line);
}

// The items of `list` a range asks for, cut to the list.
struct ItemRange
{
    int first;
    int last;
    int count() const { return std::max(0, last - first + 1); }
};

ItemRange ClampRange(const ListModel& list, int first, int last)
{
    return {std::max(first, 0), std::min(last, static_cast<int>(list.size()) - 1)};
}

// Record `recNo` from the mapped records when it lies among them, else read from the file (which
// reads a record past the end as zero bytes).
bool ReadRecord(const RecordFile& file,
                const std::optional<RecordView>& view,
                std::int64_t recNo,
                std::span<unsigned char> out)
{
    if (view && recNo >= 1 && recNo <= view->wholeRecords() && view->record(recNo).size() == out.size()) {
        const auto record = view->record(recNo);
        std::copy(record.begin(), record.end(), out.begin());
        return true;
    }
    return file.read(recNo, out);
}

// The recipient lines, read from the main file by the record numbers of the items' keys.
std::optional<std::string> RecipientLines(AppState& state, const ListModel& list, ItemRange range)
{
    const std::string mainFile = MainFileName(state.DataPath, state.DbNo);
    auto file = OpenDbFile(state, mainFile, OpenMode::Read, MainRecLen);
    if (!file) {
        return std::nullopt;
    }
    std::string lines;
    AddressRecord rec{};
    // Opened once for the whole job: a job of thousands of cards asks it for every one.
    auto side = SideStore::open(state, state.DbNo, SideStore::Access::Read);
    // The records come in list order, from all over the file: mapped, a job of thousands takes
    // them without a read call each (with a record read where the file cannot be mapped).
    const std::optional<RecordView> view = file->view();
    for (int i = range.first; i <= range.last; ++i) {
        if (!ReadRecord(*file, view, RecNoOfKey(list.keyAt(static_cast<std::size_t>(i))), Bytes(rec))) {
            TellAccessError(state, mainFile);
            return std::nullopt;
        }
        PrintEntry entry = RecordEntry(rec);
        if (side) {
            entry.JointNames = side->jointNames(RecordIdentity(rec));
        }
        lines += FullLine(entry);
    }
    return lines;
}

// --- the file --------------------------------------------------------------------------------------

void TellTooLarge(AppState& state, int maxRecords)
{
    state.ui.message("印刷するデータが多すぎます（最大 " + std::to_string(maxRecords) + " 件）。\r\n" +
                         "件数を減らしてから印刷してください。",
                     MessageIcon::Exclamation);
}

void TellWorkWriteFailed(AppState& state, const std::string& path)
{
    state.ui.message("印刷データ（" + path + "）の書き込みに失敗しました。\r\n" +
                         "ディスクの空き容量とアクセス権を確認してください。",
                     MessageIcon::Exclamation);
}

void TellWorkReadFailed(AppState& state, const std::string& path)
{
    state.ui.message("印刷データ（" + path + "）を読み込めません。", MessageIcon::Exclamation);
}

// Refuses (telling the user) a job whose lines would not fit the print table.
bool FitsPrintTable(AppState& state, int headerLines, int records)
{
    if (headerLines + records <= PrintTable::Capacity) {
        return true;
    }
    TellTooLarge(state, PrintTable::Capacity - headerLines);
    return false;
}

bool WriteWorkFile(AppState& state, std::string_view bytes)
{
    const std::string path = PrintWorkFile(state);
    // Written whole, so a failed write (a full disk) leaves no part of a job behind.
    if (WriteFileAtomically(path, bytes)) {
        return true;
    }
    TellWorkWriteFailed(state, path);
    return false;
}

std::optional<std::string> ReadWholeFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (in.bad()) {
        return std::nullopt;
    }
    return bytes;
}

// --- reading the lines back ------------------------------------------------------------------------

// Splits the file into lines of fields (still CP932). No CP932 trail byte is a quote, a comma, a
// blank or a line break, so the bytes split safely before decoding. A quoted field runs to its
// closing quote ("" inside stands for one quote); an unquoted one to the next comma or line end,
// blanks trimmed. Blank lines hold no entry.
class FieldReader
{
public:
    explicit FieldReader(std::string_view bytes) : m_bytes(bytes) {}

    bool atEnd() const { return m_pos >= m_bytes.size(); }

    std::vector<std::string> nextLine()
    {
        std::vector<std::string> fields;
        if (!atLineEnd()) {
            fields.push_back(nextField());
            while (!atEnd() && m_bytes[m_pos] == ',') {
                ++m_pos;
                fields.push_back(nextField());
            }
        }
        skipLineEnd();
        return fields;
    }

private:
    bool atLineEnd() const { return atEnd() || m_bytes[m_pos] == '\r' || m_bytes[m_pos] == '\n'; }
    bool atDelimiter() const { return atLineEnd() || m_bytes[m_pos] == ','; }

    void skipBlanks()
    {
        while (!atEnd() && (m_bytes[m_pos] == ' ' || m_bytes[m_pos] == '\t')) {
            ++m_pos;
        }
    }

    void skipLineEnd()
    {
        if (!atEnd() && m_bytes[m_pos] == '\r') {
            ++m_pos;
        }
        if (!atEnd() && m_bytes[m_pos] == '\n') {
            ++m_pos;
        }
    }

    std::string nextField()
    {
        skipBlanks();
        if (!atEnd() && m_bytes[m_pos] == '"') {
            return quotedField();
        }
        const std::size_t start = m_pos;
        while (!atDelimiter()) {
            ++m_pos;
        }
        std::string field(m_bytes.substr(start, m_pos - start));
        field.erase(field.find_last_not_of(" \t") + 1);
        return field;
    }

    std::string quotedField()
    {
        std::string field;
        ++m_pos; // the opening quote
        // Copied a run at a time, up to the next quote: a job of thousands of cards has tens of
        // thousands of fields.
        while (!atEnd()) {
            const std::size_t quote = std::min(m_bytes.find('"', m_pos), m_bytes.size());
            field.append(m_bytes.substr(m_pos, quote - m_pos));
            m_pos = quote;
            if (atEnd()) {
                break; // no closing quote: the field runs to the end
            }
            ++m_pos;
            if (atEnd() || m_bytes[m_pos] != '"') {
                break; // the closing quote
            }
            field += '"';
            ++m_pos;
        }
        while (!atDelimiter()) { // whatever stands between the closing quote and the delimiter
            ++m_pos;
        }
        return field;
    }

    std::string_view m_bytes;
    std::size_t m_pos = 0;
};

PrintEntry EntryOfFields(const std::vector<std::string>& fields, bool recordNumberForm)
{
    auto field = [&](std::size_t i) { return i < fields.size() ? FromCp932(fields[i]) : std::string(); };
    PrintEntry entry;
    entry.PrintPost = field(0);
    if (recordNumberForm) {
        return entry;
    }
    entry.PrintAddress = field(1);
    entry.PrintCompany = field(2);
    entry.PrintDept = field(3);
    entry.PrintName = field(4) + std::string(NameEndMark);
    entry.PrintHonorific = field(5);
    entry.PrintFlags = field(6);
    entry.JointNames = DecodeJointNames(field(7));
    return entry;
}

} // namespace

std::string PrintWorkFile(const AppState& state)
{
    const std::string folder =
        state.WritableFolder.empty() ? WritableProgramFolder(state.ProgramFolder) : state.WritableFolder;
    return ResolveNoCase(WithoutTrailingSlash(folder), std::string(PrintWorkFileName));
}

std::optional<std::string> PrintWorkBytes(AppState& state, const ListModel& list, int first, int last)
{
    const ItemRange range = ClampRange(list, first, last);
    const bool postcards = state.PrintKind == PrintPostcards;
    if (!FitsPrintTable(state, postcards ? 2 : 1, range.count())) {
        return std::nullopt;
    }
    auto recipients = RecipientLines(state, list, range);
    if (!recipients) {
        return std::nullopt;
    }
    std::string bytes = FullLine(SenderEntry(state.settings, false));
    if (postcards) {
        bytes += FullLine(SenderEntry(state.settings, true));
    }
    bytes += *recipients;
    return bytes;
}

std::optional<std::string> PrintRecNoBytes(AppState& state, const ListModel& list, int first, int last)
{
    const ItemRange range = ClampRange(list, first, last);
    if (!FitsPrintTable(state, 0, range.count())) {
        return std::nullopt;
    }
    std::string bytes;
    for (int i = range.first; i <= range.last; ++i) {
        bytes += std::to_string(RecNoOfKey(list.keyAt(static_cast<std::size_t>(i))));
        bytes += LineEnd;
    }
    return bytes;
}

bool WritePrintWork(AppState& state, const ListModel& list, int first, int last)
{
    auto bytes = PrintWorkBytes(state, list, first, last);
    return bytes && WriteWorkFile(state, *bytes);
}

bool WritePrintRecNos(AppState& state, const ListModel& list, int first, int last)
{
    auto bytes = PrintRecNoBytes(state, list, first, last);
    return bytes && WriteWorkFile(state, *bytes);
}

PrintTable ParsePrintWork(std::string_view bytes, bool recordNumberForm)
{
    PrintTable table;
    // Room for every line at once: the entries are not moved again as the table grows.
    const auto lines = static_cast<std::size_t>(std::count(bytes.begin(), bytes.end(), '\n')) + 1;
    table.entries.reserve(std::min<std::size_t>(lines, PrintTable::Capacity));
    FieldReader reader(bytes);
    // A file longer than the table (written by another copy that does not refuse such jobs) is cut.
    while (!reader.atEnd() && table.PrintLineCount < PrintTable::Capacity) {
        auto fields = reader.nextLine();
        if (fields.empty()) {
            continue;
        }
        table.entries.push_back(EntryOfFields(fields, recordNumberForm));
        ++table.PrintLineCount;
    }
    return table;
}

std::optional<PrintTable> LoadPrintWork(AppState& state, bool recordNumberForm)
{
    const std::string path = PrintWorkFile(state);
    const auto bytes = ReadWholeFile(path);
    if (!bytes) {
        TellWorkReadFailed(state, path);
        return std::nullopt;
    }
    std::remove(path.c_str());
    return ParsePrintWork(*bytes, recordNumberForm);
}

// --- characters the engines convert --------------------------------------------------------------

namespace {

constexpr char32_t HalfKanaFirst = 0xFF61;  // "｡"
constexpr char32_t HalfKanaA = 0xFF71;      // "ｱ"
constexpr char32_t HalfKanaN = 0xFF9D;      // "ﾝ"
constexpr char32_t HalfVoiced = 0xFF9E;     // "ﾞ"
constexpr char32_t HalfSemiVoiced = 0xFF9F; // "ﾟ"

// The full-width forms of "｡" .. "ﾟ".
constexpr std::array<char32_t, 63> FullKana{
    0x3002, 0x300C, 0x300D, 0x3001, 0x30FB, 0x30F2, 0x30A1, 0x30A3, 0x30A5, 0x30A7, 0x30A9, 0x30E3, 0x30E5,
    0x30E7, 0x30C3, 0x30FC, 0x30A2, 0x30A4, 0x30A6, 0x30A8, 0x30AA, 0x30AB, 0x30AD, 0x30AF, 0x30B1, 0x30B3,
    0x30B5, 0x30B7, 0x30B9, 0x30BB, 0x30BD, 0x30BF, 0x30C1, 0x30C4, 0x30C6, 0x30C8, 0x30CA, 0x30CB, 0x30CC,
    0x30CD, 0x30CE, 0x30CF, 0x30D2, 0x30D5, 0x30D8, 0x30DB, 0x30DE, 0x30DF, 0x30E0, 0x30E1, 0x30E2, 0x30E4,
    0x30E6, 0x30E8, 0x30E9, 0x30EA, 0x30EB, 0x30EC, 0x30ED, 0x30EF, 0x30F3, 0x309B, 0x309C,
};

constexpr char32_t Invalid = 0xFFFFFFFF;

// The code point of a text holding exactly one character; Invalid otherwise.
char32_t SingleCodePoint(std::string_view utf8)
{
    const std::size_t length = Utf8CharLength(utf8);
    if (length == 0 || length != utf8.size()) {
        return Invalid;
    }
    const auto lead = static_cast<unsigned char>(utf8[0]);
    if (length == 1) {
        return lead < 0x80 ? lead : Invalid;
    }
    char32_t code = lead & (0x7F >> length);
    for (std::size_t i = 1; i < length; ++i) {
        code = (code << 6) | (static_cast<unsigned char>(utf8[i]) & 0x3F);
    }
    return code;
}

std::string Utf8Of(char32_t code)
{
    std::string out;
    AppendUtf8(out, code);
    return out;
}

// The full-width form of a printable ASCII character, as the Japanese code page widens it (the
// quotes become typographic ones and the backslash the yen sign that it shows as there).
char32_t WideAscii(char32_t c)
{
    switch (c) {
    case ' ':
        return 0x3000;
    case '"':
        return 0x201D;
    case '\'':
        return 0x2019;
    case '\\':
        return 0xFFE5;
    default:
        return c - 0x21 + 0xFF01; // "!" .. "~" -> "！" .. "～"; "-" -> "－"
    }
}

// The single full-width katakana of a half-width one with its mark, or Invalid when there is none
// in the code page (then the kana and the mark are widened one by one).
char32_t VoicedKana(char32_t kana, char32_t mark)
{
    const char32_t full = FullKana[kana - HalfKanaFirst];
    const bool kaToTo = kana >= 0xFF76 && kana <= 0xFF84; // "ｶ" .. "ﾄ"
    const bool haToHo = kana >= 0xFF8A && kana <= 0xFF8E; // "ﾊ" .. "ﾎ"
    if (mark == HalfVoiced && kana == 0xFF73) {           // "ｳﾞ"
        return 0x30F4;
    }
    if (mark == HalfVoiced && (kaToTo || haToHo)) {
        return full + 1;
    }
    if (mark == HalfSemiVoiced && haToHo) {
        return full + 2;
    }
    return Invalid;
}

std::string WideKana(char32_t kana, char32_t mark)
{
    const char32_t voiced = VoicedKana(kana, mark);
    if (voiced != Invalid) {
        return Utf8Of(voiced);
    }
    return Utf8Of(FullKana[kana - HalfKanaFirst]) + Utf8Of(FullKana[mark - HalfKanaFirst]);
}

} // namespace

std::string KanjiDigit(std::string_view ch)
{
    static constexpr std::array<std::string_view, 10> Kanji{"〇", "一", "二", "三", "四", "五", "六", "七", "八", "九"};
    const char32_t code = SingleCodePoint(ch);
    if (code >= 0xFF10 && code <= 0xFF19) { // "０" .. "９"
        return std::string(Kanji[code - 0xFF10]);
    }
    return std::string(ch);
}

std::string WideKanaChar(std::string_view ch, std::string_view next, bool* joinedMark)
{
    if (joinedMark != nullptr) {
        *joinedMark = false;
    }
    const char32_t code = SingleCodePoint(ch);
    if (code >= 0x20 && code < 0x7F) {
        return Utf8Of(WideAscii(code));
    }
    if (code < HalfKanaFirst || code > HalfSemiVoiced) {
        return std::string(ch);
    }
    const char32_t mark = SingleCodePoint(next);
    if (code >= HalfKanaA && code <= HalfKanaN && (mark == HalfVoiced || mark == HalfSemiVoiced)) {
        if (joinedMark != nullptr) {
            *joinedMark = true;
        }
        return WideKana(code, mark);
    }
    return Utf8Of(FullKana[code - HalfKanaFirst]);
}

} // namespace talik
