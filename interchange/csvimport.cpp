#include "interchange/csvimport.h"

#include <algorithm>
#include <cstdio>
#include <optional>
#include <span>

#include "interchange/birthdayread.h"
#include "interchange/csvheaders.h"
#include "interchange/importfields.h"
#include "interchange/importmatch.h"
#include "interchange/jointnametext.h"
#include "platform/codec.h"
#include "platform/trim.h"
#include "platform/utf8.h"
#include "store/identity.h"
#include "store/kana.h"
#include "store/messages.h"
#include "store/recordwriter.h"
#include "store/sidestore.h"
#include "store/state.h"

namespace talik {
namespace {

constexpr std::array<std::string_view, CsvSlotTotal> HeaderNames = {
    "カナ名", "漢字名", "E-Mail",         "生年月日", "分類コード", "郵便番号１", "住所１",
    "Tel1",   "Fax1",   "郵便番号２",     "住所２",   "Tel2",       "Fax2",       "会社名",
    "部署名", "備考",   "備考追加データ", "関連情報", "連名",
};

// How often the import reports its progress, in lines.
constexpr int ProgressEveryLines = 256;

std::string_view TrimSpaces(std::string_view text)
{
    return TrimOf(text, " ");
}

std::span<char> SlotField(CsvSlot slot, AddressRecord& rec, ExtraRecord& extra)
{
    switch (slot) {
    case CsvSlot::KanaName:
        return rec.KanaName;
    case CsvSlot::KanjiName:
        return rec.KanjiName;
    case CsvSlot::EMail:
        return rec.EMail;
    case CsvSlot::ClassCode:
        return rec.ClassCode;
    case CsvSlot::PostCode1:
        return rec.PostCode1;
    case CsvSlot::Address1:
        return rec.Address1;
    case CsvSlot::Tel1:
        return rec.Tel1;
    case CsvSlot::Fax1:
        return rec.Fax1;
    case CsvSlot::PostCode2:
        return rec.PostCode2;
    case CsvSlot::Address2:
        return rec.Address2;
    case CsvSlot::Tel2:
        return rec.Tel2;
    case CsvSlot::Fax2:
        return rec.Fax2;
    case CsvSlot::Company:
        return rec.Company;
    case CsvSlot::Department:
        return rec.Department;
    case CsvSlot::Remarks:
        return rec.Remarks;
    case CsvSlot::RemarksExtra:
        return extra.RemarksExtra;
    case CsvSlot::RelatedInfo:
        return extra.RelatedInfo;
    case CsvSlot::Birthday:
    case CsvSlot::JointNames:
        break;
    }
    return {};
}

// Addresses are written as one run of characters; everything else is joined with a blank.
JoinStyle JoinStyleOf(CsvSlot slot)
{
    return slot == CsvSlot::Address1 || slot == CsvSlot::Address2 ? JoinStyle::Packed : JoinStyle::Blank;
}

// Whether the text holds a line break. Two scans of the text for one byte each: a search for any
// of a set of bytes looks the set up once for every byte of the text.
bool HasLineBreak(std::string_view text)
{
    return text.find('\r') != std::string_view::npos || text.find('\n') != std::string_view::npos;
}

// UTF-8 text from outside as CP932. What CP932 lacks becomes "?" and sets `lacking`; the program's
// own escape characters stand for no character outside it, so they count as lacking too.
std::string Utf8ToCp932(std::string_view utf8, bool& lacking)
{
    std::string cleaned;
    cleaned.reserve(utf8.size());
    std::size_t questionMarks = 0;
    for (std::size_t i = 0; i < utf8.size();) {
        std::size_t length = std::max<std::size_t>(Utf8CharLength(utf8.substr(i)), 1);
        std::string_view character = utf8.substr(i, length);
        if (IsByteEscape(character)) {
            cleaned += '?';
            lacking = true;
        } else {
            cleaned.append(character);
            questionMarks += character == "?" ? 1 : 0;
        }
        i += length;
    }
    std::string cp932 = ToCp932(cleaned);
    if (static_cast<std::size_t>(std::count(cp932.begin(), cp932.end(), '?')) > questionMarks) {
        lacking = true;
    }
    return cp932;
}

// One line being made into a record.
class LineReader
{
public:
    LineReader(const std::vector<std::string>& fields, const CsvImportOptions& options, bool utf8)
        : m_fields(fields), m_options(options), m_utf8(utf8)
    {}

    // The CP932 text of a slot's columns, joined; empty for no column or those past the line's end.
    std::string raw(CsvSlot slot)
    {
        std::string joined;
        const std::string_view columns = columnsText(slot, joined);
        return m_utf8 ? Utf8ToCp932(columns, m_lacking) : std::string(columns);
    }

    // The slot's text as UTF-8, for what is kept outside the record.
    std::string utf8(CsvSlot slot)
    {
        std::string joined;
        const std::string_view columns = columnsText(slot, joined);
        return m_utf8 ? std::string(columns) : FromCp932(columns);
    }

    // A slot's text as stored: trimmed, line breaks kept only in the remarks extra data.
    std::string text(CsvSlot slot)
    {
        std::string value = raw(slot);
        if (slot != CsvSlot::RemarksExtra && HasLineBreak(value)) {
            value = StripLineBreaks(value);
        }
        // Trimmed where it lies: most values have nothing to trim and are not copied again.
        const std::string_view trimmed = TrimSpaces(value);
        if (trimmed.size() != value.size()) {
            value = std::string(trimmed);
        }
        return value;
    }

    std::string reading()
    {
        std::string value = text(CsvSlot::KanaName);
        if (m_options.halfKana && !value.empty()) {
            value = std::string(TrimSpaces(ToCp932(ToHalfKana(FromCp932(value)))));
        }
        return value.substr(0, value.find('\0'));
    }

    bool lacking() const { return m_lacking; }

private:
    // The slot's columns as the file holds them, joined into `joined`; a single column is taken as
    // it stands, where it lies.
    std::string_view columnsText(CsvSlot slot, std::string& joined) const
    {
        const CsvColumns& columns = m_options.map[static_cast<int>(slot)];
        // Most slots take one column or none: those need no list of parts.
        const auto taken = std::count_if(columns.begin(), columns.end(), [](int column) { return column > 0; });
        if (taken <= 1) {
            auto column = std::find_if(columns.begin(), columns.end(), [](int c) { return c > 0; });
            const bool inLine = column != columns.end() && *column <= static_cast<int>(m_fields.size());
            return inLine ? std::string_view(m_fields[static_cast<std::size_t>(*column - 1)]) : std::string_view();
        }
        std::vector<std::string> parts;
        for (int column : ColumnsOf(columns)) {
            if (column <= static_cast<int>(m_fields.size())) {
                parts.push_back(m_fields[static_cast<std::size_t>(column - 1)]);
            }
        }
        joined = parts.size() == 1 ? parts[0] : JoinParts(parts, JoinStyleOf(slot));
        return joined;
    }

    const std::vector<std::string>& m_fields;
    const CsvImportOptions& m_options;
    bool m_utf8;
    bool m_lacking = false;
};

// Fills the record buffers from a line, starting from a clean record. False when the line has no
// reading that can be stored (none, or one whose first byte would mark the record deleted).
bool FillRecord(AddressRecord& rec, ExtraRecord& extra, LineReader& line, const CsvImportOptions& options)
{
    std::string reading = line.reading();
    if (reading.empty() || IsDeletedFirstByte(static_cast<unsigned char>(reading[0]))) {
        return false;
    }
    ClearRecord(rec);
    ClearRecord(extra);
    std::copy(options.checkItems.begin(), options.checkItems.end(), rec.CheckItems);
    PutBytes(rec.KanaName, reading);
    for (int s = 1; s < CsvSlotTotal; ++s) {
        auto slot = static_cast<CsvSlot>(s);
        if (slot == CsvSlot::JointNames) {
            continue;
        }
        if (slot == CsvSlot::Birthday) {
            SetLong(rec.Birthday, ReadBirthday(line.raw(slot)).value);
        } else {
            PutBytes(SlotField(slot, rec, extra), line.text(slot));
        }
    }
    MarkFaxNumbers(rec);
    return true;
}

} // namespace

namespace {

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

int TwoDigits(std::string_view text, std::size_t at)
{
    return (text[at] - '0') * 10 + (text[at + 1] - '0');
}

} // namespace

CsvMap DefaultCsvMap()
{
    CsvMap map{};
    for (int i = 0; i < CsvExportSlotTotal; ++i) {
        map[i] = {i + 1};
    }
    return map;
}

CsvMap SingleColumnMap(const std::vector<int>& columns)
{
    CsvMap map{};
    for (std::size_t i = 0; i < columns.size() && i < map.size(); ++i) {
        map[i] = {columns[i]};
    }
    return map;
}

std::string_view CsvHeaderName(int slot)
{
    return HeaderNames[static_cast<std::size_t>(slot)];
}

std::string CsvHeaderLine()
{
    std::string line;
    for (std::string_view name : std::span(HeaderNames).first(CsvExportSlotTotal)) {
        line += (line.empty() ? "\"" : ",\"") + std::string(name) + "\"";
    }
    return line;
}

CsvPreview PreviewCsv(std::string_view file, CsvFileEncoding encoding)
{
    CsvReader reader(WithoutBom(file));
    std::string_view first = reader.readLine();
    CsvPreview preview;
    // A file may say UTF-8 (a BOM) and still hold bytes that are none: they show as U+FFFD.
    preview.line = encoding == CsvFileEncoding::Utf8 ? ReplaceInvalidUtf8(first) : FromCp932(first);
    preview.fields = SplitCsvLine(preview.line);
    preview.isExportHeader = preview.line == CsvHeaderLine();
    preview.guessed = GuessCsvMap(preview.fields);
    return preview;
}

std::int32_t ParseCsvBirthday(std::string_view cp932)
{
    if (cp932.size() != 10) {
        return 0;
    }
    for (std::size_t i : {0, 1, 2, 3, 5, 6, 8, 9}) {
        if (!IsDigit(cp932[i])) {
            return 0;
        }
    }
    int year = std::stoi(std::string(cp932.substr(0, 4)));
    int month = TwoDigits(cp932, 5);
    int day = TwoDigits(cp932, 8);
    if (month > 12 || day > 31) {
        return 0;
    }
    return year * 10000 + month * 100 + day;
}

namespace {

// The side data of a line: its joint names, for a record just stored or just filled.
void StoreJointNames(StoreState& state,
                     std::optional<SideStore>& side,
                     const std::string& identity,
                     const std::vector<JointName>& names,
                     bool onlyWhenNone)
{
    if (names.empty() || identity.empty()) {
        return;
    }
    if (!side) {
        side = SideStore::open(state, state.DbNo, SideStore::Access::Write);
    }
    if (side && (!onlyWhenNone || side->jointNames(identity).empty())) {
        side->setJointNames(identity, names);
    }
}

// Counts what became of a line whose person the database held.
void CountDuplicate(ImportOutcome outcome, int at, ImportCounts& result)
{
    if (outcome == ImportOutcome::Skip) {
        result.skippedDuplicates.note(at);
    } else if (outcome == ImportOutcome::Filled) {
        result.filledDuplicates.note(at);
    } else if (outcome == ImportOutcome::AddAgain) {
        result.addedDuplicates.note(at);
    }
}

// New records are written this many at a time: each file takes them in one write.
constexpr std::size_t RecordsWrittenTogether = 512;

// What became of a line. It is counted once its record, and those of the lines before it, are in
// the files: a line whose record could not be written is where the import stopped.
struct LineOutcome
{
    int at = 0;     // the line in the file
    int lineNo = 0; // the lines read up to it, the skipped first line not counted
    bool readable = true;
    ImportOutcome outcome = ImportOutcome::Failed;
    std::int32_t recNo = 0;
    std::string identity; // of the record its joint names go with
    std::vector<JointName> joint;
    bool lacking = false;
    bool unreadBirthday = false;
    bool filled = false;
};

class ImportRun
{
public:
    // `lines`: about how many lines the file has.
    ImportRun(StoreState& state, const CsvImportOptions& options, ImportMatcher& matcher, std::size_t lines)
        : m_state(state), m_options(options), m_matcher(matcher), m_lines(lines)
    {}

    // One line of the file; false when the import stops at it (or at a line before it).
    bool take(LineOutcome line, const AddressRecord& rec, const ExtraRecord& extra, LineReader& reader);
    // Counts the lines taken; false when the import stopped at one of them.
    bool settle();
    const ImportCounts& counts() const { return m_result; }

private:
    bool store(LineOutcome& line, const AddressRecord& rec, const ExtraRecord& extra, LineReader& reader);
    bool count(LineOutcome& line, std::int32_t firstUnstored);

    StoreState& m_state;
    const CsvImportOptions& m_options;
    ImportMatcher& m_matcher;
    std::size_t m_lines;
    // The files are held, with their lock, from the first record to the last; the tables and the
    // windows learn of the new records when the writer goes.
    std::optional<RecordWriter> m_writer;
    std::optional<SideStore> m_side; // opened for the first line with joint names
    std::vector<LineOutcome> m_taken;
    ImportCounts m_result;
};

bool ImportRun::take(LineOutcome line, const AddressRecord& rec, const ExtraRecord& extra, LineReader& reader)
{
    if (!line.readable) {
        m_taken.push_back(std::move(line));
        return true;
    }
    if (!m_writer) {
        m_writer = RecordWriter::hold(m_state);
        if (m_writer) {
            m_writer->holdBackAdds(RecordsWrittenTogether);
            m_writer->expectAdds(m_lines);
        }
    }
    // Filling reads and rewrites stored records: those go to the files as they stand.
    if (m_options.onDuplicate == DuplicateAction::Fill && !settle()) {
        return false;
    }
    const bool stored = store(line, rec, extra, reader);
    m_taken.push_back(std::move(line));
    if (!stored || (m_writer && m_writer->holdingFull())) {
        return settle() && stored;
    }
    return true;
}

// Decides the line and stores or fills its record; false when that failed.
bool ImportRun::store(LineOutcome& line, const AddressRecord& rec, const ExtraRecord& extra, LineReader& reader)
{
    std::int32_t recNo = 0;
    line.outcome = m_writer ? m_matcher.decide(*m_writer, rec, extra, recNo) : ImportOutcome::Failed;
    if (line.outcome == ImportOutcome::New || line.outcome == ImportOutcome::AddAgain) {
        recNo = m_writer->add(rec, extra);
    }
    if (line.outcome == ImportOutcome::Failed || recNo == 0) {
        line.outcome = ImportOutcome::Failed;
        return false;
    }
    line.recNo = recNo;
    if (line.outcome == ImportOutcome::Skip) {
        return true;
    }
    line.joint = ParseJointNames(reader.utf8(CsvSlot::JointNames));
    if (line.outcome == ImportOutcome::Filled) {
        AddressRecord existing{};
        ExtraRecord existingExtra{};
        if (!line.joint.empty() && m_writer->read(recNo, existing, existingExtra)) {
            line.identity = RecordIdentity(existing);
        }
        return true;
    }
    m_matcher.stored(recNo);
    line.identity = RecordIdentity(m_writer->written());
    line.lacking = reader.lacking();
    line.unreadBirthday = !ReadBirthday(reader.raw(CsvSlot::Birthday)).readable;
    return true;
}

bool ImportRun::settle()
{
    const std::int32_t firstUnstored = m_writer ? (m_writer->writeHeldBack(), m_writer->firstUnstored()) : 0;
    bool going = true;
    for (LineOutcome& line : m_taken) {
        if (!count(line, firstUnstored)) {
            going = false;
            break;
        }
    }
    m_taken.clear();
    return going;
}

// Counts one line whose record, if it has one, is written or known lost.
bool ImportRun::count(LineOutcome& line, std::int32_t firstUnstored)
{
    m_result.lines = line.lineNo;
    if (!line.readable) {
        ++m_result.failures;
        m_result.skippedLines.note(line.at);
        return true;
    }
    const bool added = line.outcome == ImportOutcome::New || line.outcome == ImportOutcome::AddAgain;
    if (line.outcome == ImportOutcome::Failed || (added && firstUnstored != 0 && line.recNo >= firstUnstored)) {
        m_result.stoppedAt = line.lineNo;
        return false;
    }
    CountDuplicate(line.outcome, line.at, m_result);
    if (line.outcome == ImportOutcome::Skip) {
        return true;
    }
    StoreJointNames(m_state, m_side, line.identity, line.joint, line.outcome == ImportOutcome::Filled);
    if (line.outcome == ImportOutcome::Filled) {
        return true;
    }
    m_result.lackingLines += line.lacking ? 1 : 0;
    if (line.lacking) {
        m_result.lackingAt.note(line.at);
    }
    if (line.unreadBirthday) {
        m_result.unreadBirthdays.note(line.at);
    }
    m_result.filledLines += line.filled ? 1 : 0;
    return true;
}

} // namespace

ImportCounts
ImportCsvFile(StoreState& state, std::string_view file, const CsvImportOptions& options, const FileProgress& progress)
{
    bool utf8 = ChooseCsvEncoding(file, options.encoding) == CsvFileEncoding::Utf8;
    std::string_view text = WithoutBom(file);
    CsvReader reader(text);
    std::vector<std::string> fields;
    if (options.skipFirst) {
        reader.readRecord(fields);
    }
    // The people already stored, to be met again by the lines of the file.
    const auto lineCount = static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) + 1;
    std::optional<ImportMatcher> matcher = ImportMatcher::open(state, options.onDuplicate, lineCount);
    if (!matcher) {
        ImportCounts result;
        result.stoppedAt = 1;
        return result;
    }
    ImportRun run(state, options, *matcher, lineCount);
    AddressRecord rec{};
    ExtraRecord extra{};
    FileLineCounter lines(text);
    int lineNo = 0;
    for (int at = lines.lineAt(reader.position()); reader.readRecord(fields); at = lines.lineAt(reader.position())) {
        ++lineNo;
        if (progress && lineNo % ProgressEveryLines == 0) {
            progress(reader.position(), text.size());
        }
        LineReader line(fields, options, utf8);
        LineOutcome outcome;
        outcome.at = at;
        outcome.lineNo = lineNo;
        outcome.readable = FillRecord(rec, extra, line, options);
        outcome.filled = outcome.readable && options.fill && options.fill(rec);
        if (!run.take(std::move(outcome), rec, extra, line)) {
            return run.counts();
        }
    }
    run.settle();
    return run.counts();
}

std::string ImportReport(const ImportCounts& result, std::string_view readingCaption)
{
    // The first number is what was stored as new records; the lines without a reading, the people
    // skipped and those that filled a stored record are not among them.
    int stored = result.lines - result.failures - result.skippedDuplicates.count - result.filledDuplicates.count;
    std::string report = std::to_string(stored) + " 件のデータを取込みました。";
    report += ReportLine("", result.failures, std::string(TrimSpaces(readingCaption)) + "なしで取込めませんでした。",
                         result.skippedLines);
    report += ReportLine("内 ", result.lackingLines, " Shift-JIS にない文字を「?」に置き換えて取込みました。",
                         result.lackingAt);
    report += ReportLine("内 ", result.unreadBirthdays.count, "生年月日を読めませんでした。", result.unreadBirthdays);
    report += ReportLine("内 ", result.filledLines, PostalFilledReport, {});
    report += ReportLine("内 ", result.addedDuplicates.count, DuplicateAddedReport, result.addedDuplicates);
    report += ReportLine("", result.skippedDuplicates.count, DuplicateSkippedReport, result.skippedDuplicates);
    report += ReportLine("", result.filledDuplicates.count, DuplicateFilledReport, result.filledDuplicates);
    return report;
}

std::string ImportStoppedReport(const ImportCounts& result)
{
    int stored =
        result.stoppedAt - 1 - result.failures - result.skippedDuplicates.count - result.filledDuplicates.count;
    return std::to_string(std::max(stored, 0)) + " 件のデータを取込みました。\r\n" + std::to_string(result.stoppedAt) +
           " 件目で中断しました。以降のデータは取込まれていません。";
}

std::string CsvSlotCaption(const FieldCaptions& captions, int slot)
{
    switch (static_cast<CsvSlot>(slot)) {
    case CsvSlot::KanaName:
        return captions.kana;
    case CsvSlot::KanjiName:
        return captions.name;
    case CsvSlot::EMail:
        return captions.email;
    case CsvSlot::Birthday:
        return captions.birthday;
    case CsvSlot::ClassCode:
        return captions.classCode;
    case CsvSlot::PostCode1:
        return captions.postCode1;
    case CsvSlot::Address1:
        return captions.address1;
    case CsvSlot::PostCode2:
        return captions.postCode2;
    case CsvSlot::Address2:
        return captions.address2;
    case CsvSlot::Company:
        return captions.company;
    case CsvSlot::Department:
        return captions.department;
    case CsvSlot::Remarks:
        return captions.remarks;
    case CsvSlot::Tel1:
    case CsvSlot::Tel2:
        return "ＴＥＬ";
    case CsvSlot::Fax1:
    case CsvSlot::Fax2:
        return "ＦＡＸ";
    case CsvSlot::RemarksExtra:
        return "追加データ";
    case CsvSlot::RelatedInfo:
        return "関連情報";
    case CsvSlot::JointNames:
        return "連名";
    }
    return {};
}

std::string CsvReadingRequiredMessage(const FieldCaptions& captions)
{
    return std::string(TrimSpaces(captions.kana)) + "のフィールドは必須です。";
}

std::string CsvImportQuestion(const std::string& path)
{
    return path + " から\rＣＳＶデータを取込んでもよろしいですか？";
}

} // namespace talik
