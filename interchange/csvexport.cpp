#include "interchange/csvexport.h"

#include <array>
#include <cstring>
#include <sys/stat.h>

#include "interchange/exportfiles.h"
#include "interchange/formulasafe.h"
#include "platform/codec.h"
#include "platform/interaction.h"
#include "platform/paths.h"
#include "store/dbfile.h"
#include "store/state.h"

namespace talik {
namespace {

constexpr std::array<std::string_view, CsvFieldCount> ExportHeaderNames = {
    "カナ名",     "漢字名", "E-Mail", "生年月日", "分類コード", "郵便番号１", "住所１", "Tel1",           "Fax1",
    "郵便番号２", "住所２", "Tel2",   "Fax2",     "会社名",     "部署名",     "備考",   "備考追加データ", "関連情報",
};

constexpr std::string_view LineEnd = "\r\n";

// The save dialog's file types; the second one writes UTF-8.
const std::vector<std::string> FileTypes = {"ＣＳＶ (*.CSV)", "ＣＳＶ UTF-8 (*.csv *.CSV)", "すべて(*.*)"};
constexpr std::size_t Utf8Type = 1;

template <std::size_t N> std::string_view Field(const char (&field)[N])
{
    return {field, N};
}

// The field's bytes as CleanFixedBytes leaves them (cut at the first NUL, blanks trimmed), with
// the long blank padding of the wide fields skipped eight bytes at a time.
std::string_view CleanField(std::string_view stored)
{
    const void* nul = std::memchr(stored.data(), '\0', stored.size());
    std::size_t end =
        nul != nullptr ? static_cast<std::size_t>(static_cast<const char*>(nul) - stored.data()) : stored.size();
    while (end >= 8 && std::memcmp(stored.data() + end - 8, "        ", 8) == 0) {
        end -= 8;
    }
    while (end > 0 && stored[end - 1] == ' ') {
        --end;
    }
    std::size_t begin = 0;
    while (begin < end && stored[begin] == ' ') {
        ++begin;
    }
    return stored.substr(begin, end - begin);
}

// The stored bytes of a field as they go between the quotes: cleaned, CR and LF removed, every
// quote doubled. Neither byte can be the second byte of a double-byte character.
void AppendQuotedBytes(std::string& out, std::string_view stored)
{
    const std::string_view field = CleanField(stored);
    std::size_t plain = 0; // start of the bytes not yet copied
    for (std::size_t i = 0; i < field.size(); ++i) {
        const char c = field[i];
        if (c == '"' || c == '\r' || c == '\n') {
            out.append(field.substr(plain, i - plain));
            if (c == '"') {
                out += "\"\"";
            }
            plain = i + 1;
        }
    }
    out.append(field.substr(plain));
}

// The escape characters U+F780..U+F7FF (EF 9E xx and EF 9F xx in UTF-8) that stand for stored bytes
// which do not decode become U+FFFD (EF BF BD), of the same length.
void ReplaceEscapes(std::string& text, std::size_t from)
{
    for (std::size_t i = text.find('\xEF', from); i != std::string::npos && i + 2 < text.size();
         i = text.find('\xEF', i + 1)) {
        if (text[i + 1] == '\x9E' || text[i + 1] == '\x9F') {
            text[i + 1] = '\xBF';
            text[i + 2] = '\xBD';
        }
    }
}

class LineWriter
{
public:
    LineWriter(std::string& out, CsvWriteEncoding encoding, bool formulaSafe)
        : m_out(out), m_encoding(encoding), m_formulaSafe(formulaSafe)
    {}

    void text(std::string_view stored)
    {
        open();
        // A leading quote makes a spreadsheet show the cell as text instead of evaluating it.
        if (m_formulaSafe && SpreadsheetWouldEvaluate(CleanField(stored))) {
            m_out += '\'';
        }
        if (m_encoding == CsvWriteEncoding::Cp932) {
            AppendQuotedBytes(m_out, stored);
        } else {
            m_bytes.clear();
            AppendQuotedBytes(m_bytes, stored);
            const std::size_t from = m_out.size();
            AppendFromCp932(m_out, m_bytes);
            ReplaceEscapes(m_out, from);
        }
        m_out += '"';
    }
    void ascii(std::string_view text)
    {
        open();
        m_out += text;
        m_out += '"';
    }
    void end() { m_out += LineEnd; }

private:
    void open()
    {
        if (m_fields++ > 0) {
            m_out += ',';
        }
        m_out += '"';
    }

    std::string& m_out;
    CsvWriteEncoding m_encoding;
    bool m_formulaSafe;
    std::string m_bytes;
    int m_fields = 0;
};

std::string Start(CsvWriteEncoding encoding)
{
    return encoding == CsvWriteEncoding::Utf8 ? std::string(Utf8Bom) : std::string();
}

bool SameFile(const struct stat& a, const std::string& path)
{
    struct stat b
    {
    };
    return ::stat(path.c_str(), &b) == 0 && a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

} // namespace

std::string CsvHeaderLine(CsvWriteEncoding encoding)
{
    std::string line;
    for (std::string_view name : ExportHeaderNames) {
        line += (line.empty() ? "\"" : ",\"") + std::string(name) + "\"";
    }
    line += LineEnd;
    return encoding == CsvWriteEncoding::Cp932 ? ToCp932(line) : line;
}

void AppendCsvLine(
    std::string& out, const AddressRecord& rec, const ExtraRecord& extra, CsvWriteEncoding encoding, bool formulaSafe)
{
    LineWriter line(out, encoding, formulaSafe);
    line.text(Field(rec.KanaName));
    line.text(Field(rec.KanjiName));
    line.text(Field(rec.EMail));
    line.ascii(FormatBirthday(GetLong(rec.Birthday)));
    line.text(Field(rec.ClassCode));
    line.text(Field(rec.PostCode1));
    line.text(Field(rec.Address1));
    line.text(Field(rec.Tel1));
    line.text(Field(rec.Fax1));
    line.text(Field(rec.PostCode2));
    line.text(Field(rec.Address2));
    line.text(Field(rec.Tel2));
    line.text(Field(rec.Fax2));
    line.text(Field(rec.Company));
    line.text(Field(rec.Department));
    line.text(Field(rec.Remarks));
    line.text(Field(extra.RemarksExtra));
    line.text(Field(extra.RelatedInfo));
    line.end();
}

std::optional<ExportedText>
WholeDatabaseCsv(StoreState& state, CsvWriteEncoding encoding, const FileProgress& progress, bool formulaSafe)
{
    auto append = [encoding, formulaSafe](std::string& out, const AddressRecord& rec, const ExtraRecord& extra) {
        AppendCsvLine(out, rec, extra, encoding, formulaSafe);
    };
    // The header goes ahead of the first record: an empty database gives no line at all.
    auto head = [encoding](std::size_t records) {
        return records > 0 ? Start(encoding) + CsvHeaderLine(encoding) : Start(encoding);
    };
    return WholeDatabaseText(state, append, head, progress);
}

std::optional<ExportedText> ListedRecordsCsv(StoreState& state,
                                             const std::vector<std::int32_t>& recNos,
                                             CsvWriteEncoding encoding,
                                             const FileProgress& progress,
                                             bool formulaSafe)
{
    auto append = [encoding, formulaSafe](std::string& out, const AddressRecord& rec, const ExtraRecord& extra) {
        AppendCsvLine(out, rec, extra, encoding, formulaSafe);
    };
    return ListedRecordsText(state, recNos, append, Start(encoding) + CsvHeaderLine(encoding), progress);
}

bool IsOwnDatabaseFile(const StoreState& state, const std::string& path)
{
    struct stat target
    {
    };
    if (::stat(path.c_str(), &target) != 0) {
        return false; // nothing there yet: it cannot be a database file
    }
    return SameFile(target, ResolvePathNoCase(MainFileName(state.DataPath, state.DbNo))) ||
           SameFile(target, ResolvePathNoCase(ExtraFileName(state.DataPath, state.DbNo)));
}

std::optional<CsvExportJob> ChooseCsvTarget(Interaction& ui, ExportScope scope)
{
    auto choice = ChooseExportFile(ui, scope, "出力ＣＳＶファイルの設定", FileTypes, {std::string(FormulaSafeCaption)});
    if (!choice) {
        return std::nullopt;
    }
    CsvExportJob job;
    job.scope = scope;
    job.path = choice->path;
    job.form = choice->type == Utf8Type ? CsvWriteEncoding::Utf8 : CsvWriteEncoding::Cp932;
    job.formulaSafe = !choice->checks.empty() && choice->checks[0];
    return job;
}

ExportOutcome ExportCsv(StoreState& state, const CsvExportJob& job, const FileProgress& progress)
{
    return ExportJobToFile(
        state, job, [&] { return WholeDatabaseCsv(state, job.form, progress, job.formulaSafe); },
        [&](const auto& records) { return ListedRecordsCsv(state, records, job.form, progress, job.formulaSafe); });
}

ExportOutcome RunCsvExport(StoreState& state,
                           ExportScope scope,
                           const std::vector<std::int32_t>& records,
                           const FileProgress& progress)
{
    return ChooseAndExport(
        records, [&] { return ChooseCsvTarget(state.ui, scope); },
        [&](const auto& job) { return ExportCsv(state, job, progress); });
}

} // namespace talik
