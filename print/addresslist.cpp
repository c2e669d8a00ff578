// The address-list engine: ten framed blocks per A4 page, one record of the main file in each,
// read again by the record numbers the print table holds.
#include <algorithm>
#include <charconv>
#include <cstdio>
#include <string>
#include <string_view>

#include "listwin/appstate.h"
#include "platform/recordfile.h"
#include "print/drawfailure.h"
#include "print/engines.h"
#include "print/primitives.h"
#include "print/printboxes.h"
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
constexpr double TextTop = 26;
constexpr double LinePitch = 3.4;
constexpr double ListPreviewScale = 0.6; // of the scaled page
constexpr int ListFontItem = 9;
constexpr double TitleSize = 24;
constexpr double TextSize = 10;

void UseListFont(PrintJob& job, double sizePoints)
{
    SetListFont(job, job.state.settings.Layout.AddrFontName[ListFontItem], sizePoints);
}

void DrawFrames(PrintJob& job)
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

// A bare field; an empty one prints nothing.
void PutField(PrintJob& job, double x, double y, const std::string& text)
{
    if (!text.empty()) {
        PutListText(job, x, y, text);
    }
}

void DrawNameLine(PrintJob& job, const AddressRecord& rec, double x, double y)
{
    PutListText(job, x, y, "名　前：" + GetText(rec.KanjiName) + "（" + GetText(rec.KanaName) + "）");
    std::int32_t birthday = GetLong(rec.Birthday);
    if (birthday != 0) {
        PutListText(job, x + 90, y, "生年月日：" + FormatBirthday(birthday));
    }
    std::string classCode = GetText(rec.ClassCode);
    if (!classCode.empty()) {
        PutListText(job, x + 135, y, "分類コード：" + classCode);
    }
}

void DrawBlock(PrintJob& job, const AddressRecord& rec, int block)
{
    double x = TextLeft;
    double y = TextTop + BlockHeight * block;
    DrawNameLine(job, rec, x, y);
    PutListText(job, x, y + LinePitch, "住所１：〒" + GetText(rec.PostCode1));
    PutField(job, x + 35, y + LinePitch, GetText(rec.Address1));
    PutField(job, x + 30, y + 2 * LinePitch, GetText(rec.Tel1));
    PutField(job, x + 80, y + 2 * LinePitch, GetText(rec.Fax1));
    PutListText(job, x, y + 3 * LinePitch, "住所２：〒" + GetText(rec.PostCode2));
    PutField(job, x + 35, y + 3 * LinePitch, GetText(rec.Address2));
    PutField(job, x + 30, y + 4 * LinePitch, GetText(rec.Tel2));
    PutField(job, x + 80, y + 4 * LinePitch, GetText(rec.Fax2));
    PutListText(job, x, y + 5 * LinePitch, "会社名：" + GetText(rec.Company) + "　" + GetText(rec.Department));
    PutListText(job, x, y + 6 * LinePitch, "備　考：" + GetText(rec.Remarks));
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
        DrawBlock(job, rec, block);
    }
}

void DrawPage(PrintJob& job, int page)
{
    job.PrintPageCount = (job.table.PrintLineCount + 9) / BlocksPerPage;
    job.pageLabel = std::to_string(page) + " / " + std::to_string(job.PrintPageCount);
    DrawFrames(job);
    DrawHeading(job, page);
    DrawRecords(job, page);
}

} // namespace

bool PrintListPage(PrintJob& job, int page)
{
    BusyCursor busy(job.state.ui);
    // The preview shrinks with the printed page.
    job.target.PreviewScale = ListRatio(job) * ListPreviewScale;
    return DrawOrTell(job, [&] { DrawPage(job, page); });
}

} // namespace talik
