// The address-list engine: ten framed blocks per A4 page, one record of the main file in each,
// read again by the record numbers the print table holds.
#include <algorithm>
#include <charconv>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "listwin/appstate.h"
#include "platform/recordfile.h"
#include "print/drawfailure.h"
#include "print/engines.h"
#include "print/postcardlayout.h"
#include "print/primitives.h"
#include "print/printboxes.h"
#include "print/printwork.h"
#include "store/dbfile.h"
#include "store/record.h"
#include "store/tables.h"

namespace talik {
namespace {

constexpr int BlocksPerPage = 10;
// A block's frame and the first line of its text, millimetres before scaling.
constexpr double BlockLeft = 15;
constexpr double BlockTop = 25;
constexpr double BlockWidth = 180;
constexpr double BlockHeight = 25;
constexpr double TextLeft = 16;
constexpr double BlockMargin = 1;        // text keeps this far from the block's rules
constexpr double LineSpacing = 1.25;     // a line's height and a quarter of it as the gap
constexpr double ListPreviewScale = 0.6; // of the scaled page
constexpr int ListFontItem = 9;
constexpr double TitleSize = 24;
constexpr double TextSize = 10;

void UseListFont(PrintJob& job, double sizePoints)
{
    SetListFont(job, job.state.settings.Layout.AddrFontName[ListFontItem], sizePoints);
}

void DrawListFrames(PrintJob& job)
{
    double ratio = ListRatio(job);
    const Settings& settings = job.state.settings;
    for (int k = 0; k < BlocksPerPage; ++k) {
        Box block{BlockLeft, BlockTop + BlockHeight * k, BlockWidth, BlockHeight};
        PrinterBox(job, {ratio * block.x + settings.AddrDispXL, ratio * block.y + settings.AddrDispYL,
                         ratio * block.width, ratio * block.height});
        PreviewBox(job, block);
    }
}

std::string TwoDigits(int value)
{
    char text[16];
    std::snprintf(text, sizeof text, "%02d", value);
    return text;
}

// "yyyy年mm月dd日" of today.
std::string TodayText(const Clock& clock)
{
    LocalTime today = clock.now();
    return std::to_string(today.year) + "年" + TwoDigits(today.month) + "月" + TwoDigits(today.day) + "日";
}

void DrawHeading(PrintJob& job, int page)
{
    UseListFont(job, TitleSize);
    PutListText(job, 55, 10, "住　所　録　一　覧　表");
    UseListFont(job, TextSize);
    PutListText(job, 155, 21, "作成日：" + TodayText(job.state.clock));
    PutListText(job, 190, 8, std::to_string(page) + "/" + std::to_string(job.PrintPageCount));
}

// The record number an entry holds: its leading digits, as the number parser reads them.
std::int32_t RecordNumberOf(const PrintEntry& entry)
{
    std::string_view text = entry.PrintPost;
    text.remove_prefix(std::min(text.find_first_not_of(' '), text.size()));
    std::int32_t recNo = 0;
    std::from_chars(text.data(), text.data() + text.size(), recNo);
    return recNo;
}

AddressRecord ReadRecord(const RecordFile& main, std::int32_t recNo)
{
    AddressRecord rec{};
    if (recNo < FirstRecNo || recNo > MaxRecNo || !main.read(recNo, Bytes(rec))) {
        throw DrawingFailure{};
    }
    return rec;
}

// The width of a text on the unscaled page at the font in force.
double ListTextWidth(PrintJob& job, std::string_view text)
{
    if (job.target.preview != nullptr && job.target.PreviewScale > 0) {
        return job.target.preview->textWidth(text) / job.target.PreviewScale;
    }
    const double ratio = ListRatio(job);
    return job.target.printer != nullptr && ratio > 0 ? job.target.printer->textWidth(text) / ratio : 0.0;
}

// The text cut so that it ends before `right`: a long remark stays off the block's rule.
std::string FitBefore(PrintJob& job, std::string_view text, double x, double right)
{
    std::string shown;
    for (const std::string& ch : SplitChars(text)) {
        if (x + ListTextWidth(job, shown + ch) > right) {
            break;
        }
        shown += ch;
    }
    return shown;
}

// A piece of a block's line: where it starts across and what it reads.
struct ListPiece
{
    double dx;
    std::string text;
};
using ListLine = std::vector<ListPiece>;

std::vector<ListLine> BlockLines(const AddressRecord& rec)
{
    std::vector<ListLine> lines;
    ListLine name{{0, "名　前：" + GetText(rec.KanjiName) + "（" + GetText(rec.KanaName) + "）"}};
    if (std::int32_t birthday = GetLong(rec.Birthday); birthday != 0) {
        name.push_back({90, "生年月日：" + FormatBirthday(birthday)});
    }
    if (std::string classCode = GetText(rec.ClassCode); !classCode.empty()) {
        name.push_back({135, "分類コード：" + classCode});
    }
    lines.push_back(name);
    auto address = [&](std::string_view caption, const std::string& post, const std::string& text,
                       const std::string& tel, const std::string& fax) {
        if (!post.empty() || !text.empty()) {
            lines.push_back({{0, std::string(caption) + post}, {35, text}});
        }
        if (!tel.empty() || !fax.empty()) {
            lines.push_back({{30, tel}, {80, fax}});
        }
    };
    address("住所１：〒", GetText(rec.PostCode1), GetText(rec.Address1), GetText(rec.Tel1), GetText(rec.Fax1));
    address("住所２：〒", GetText(rec.PostCode2), GetText(rec.Address2), GetText(rec.Tel2), GetText(rec.Fax2));
    lines.push_back({{0, "会社名：" + GetText(rec.Company) + "　" + GetText(rec.Department)}});
    lines.push_back({{0, "備　考：" + GetText(rec.Remarks)}});
    return lines;
}

// The block's lines a line's height and a quarter apart, inside the block's rules; a block of
// many lines takes a smaller font rather than print on its rules.
void DrawListBlock(PrintJob& job, const AddressRecord& rec, int block)
{
    const std::vector<ListLine> lines = BlockLines(rec);
    const double room = BlockHeight - 2 * BlockMargin;
    double size = TextSize;
    double pitch = FontHeight(size) * LineSpacing;
    if (pitch * static_cast<double>(lines.size()) > room) {
        pitch = room / static_cast<double>(lines.size());
        size = pitch / LineSpacing / FontHeight(1);
    }
    UseListFont(job, size);
    const double right = BlockLeft + BlockWidth - BlockMargin;
    double y = BlockTop + BlockHeight * block + BlockMargin;
    for (const ListLine& line : lines) {
        for (const ListPiece& piece : line) {
            const std::string shown = FitBefore(job, piece.text, TextLeft + piece.dx, right);
            if (!shown.empty()) {
                PutListText(job, TextLeft + piece.dx, y, shown);
            }
        }
        y += pitch;
    }
    UseListFont(job, TextSize);
}

// The page's records, read from the main file into a buffer of their own (the shared record
// buffers stay as the caller left them).
void DrawRecords(PrintJob& job, int page)
{
    auto main = OpenDbFile(job.state, MainFileName(job.state.DataPath, job.state.DbNo), OpenMode::Read, MainRecLen);
    if (!main) {
        return; // the user was told why
    }
    int lastEntry = std::min(job.table.PrintLineCount, static_cast<int>(job.table.entries.size()));
    for (int block = 0; block < BlocksPerPage; ++block) {
        int entry = (page - 1) * BlocksPerPage + block + 1;
        if (entry > lastEntry) {
            break;
        }
        AddressRecord rec = ReadRecord(*main, RecordNumberOf(job.table.line(entry)));
        DrawListBlock(job, rec, block);
    }
}

void DrawListPage(PrintJob& job, int page)
{
    job.PrintPageCount = (job.table.PrintLineCount + 9) / BlocksPerPage;
    job.pageLabel = std::to_string(page) + " / " + std::to_string(job.PrintPageCount);
    DrawListFrames(job);
    DrawHeading(job, page);
    DrawRecords(job, page);
}

} // namespace

bool PrintListPage(PrintJob& job, int page)
{
    BusyCursor busy(job.state.ui);
    // The preview shrinks with the printed page.
    job.target.PreviewScale = ListRatio(job) * ListPreviewScale;
    return DrawOrTell(job, [&] { DrawListPage(job, page); });
}

} // namespace talik
