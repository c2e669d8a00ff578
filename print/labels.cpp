// The label-sheet engine: one A4 page of equal cells, filled row by row from the start cell, one
// recipient (entries 2 and on of the print table) per cell, horizontal writing.
#include <algorithm>
#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "listwin/appstate.h"
#include "print/drawfailure.h"
#include "print/engines.h"
#include "print/postcardlayout.h"
#include "print/primitives.h"
#include "print/printboxes.h"
#include "print/printwork.h"

namespace talik {
namespace {

// The usable area of the sheet and where the grid begins, millimetres.
constexpr double SheetWidth = 200;
constexpr double SheetHeight = 272;
constexpr double GridOrigin = 5;
constexpr double TextOrigin = 6;
// Cells smaller than this are raised to it (and the setting with them).
constexpr float MinCellWidth = 50;
constexpr float MinCellHeight = 25;
constexpr int FirstRecipient = 2; // entry 1 is the sender

constexpr std::string_view StartRowTooLarge =
    "開始マス目の行設定が最大行数を越えています。\r開始マス目行を１に戻します。";
constexpr std::string_view StartColumnTooLarge =
    "開始マス目の列設定が最大列数を越えています。\r開始マス目列を１に戻します。";

// The label fonts: postal code, address, company, department, name - font items 10 to 14.
enum LabelFont
{
    PostFont,
    AddressFont,
    CompanyFont,
    DeptFont,
    NameFont,
    LabelFontTotal
};
constexpr int FirstLabelFontItem = 10;
constexpr std::array<int, LabelFontTotal> DefaultFontSizes{8, 8, 8, 8, 12};

struct FontChoice
{
    std::string name;
    double size = 0;
    double height = 0; // line pitch and character advance
};

using LabelFonts = std::array<FontChoice, LabelFontTotal>;

struct Grid
{
    double cellWidth = 0, cellHeight = 0;
    double pitchX = 0, pitchY = 0; // cell size plus gap
    int columns = 0, rows = 0;

    int cells() const { return columns * rows; }
};

// Where a page's first recipient goes.
struct PageStart
{
    int row = 0, column = 0;
    int entry = FirstRecipient;
};

LabelFonts ReadLabelFonts(const PrintLayout& layout)
{
    LabelFonts fonts;
    for (int i = 0; i < LabelFontTotal; ++i) {
        auto item = static_cast<std::size_t>(FirstLabelFontItem + i);
        int stored = layout.AddrFontSize[item];
        auto& font = fonts[static_cast<std::size_t>(i)];
        font.name = layout.AddrFontName[item];
        font.size = stored != 0 ? stored : DefaultFontSizes[static_cast<std::size_t>(i)];
        font.height = FontHeight(font.size);
    }
    return fonts;
}

// Raises the cell size to its minimums, keeping the raised values as the settings.
Grid MakeGrid(PrintLayout& layout)
{
    layout.AddrBoxWidth = std::max(layout.AddrBoxWidth, MinCellWidth);
    layout.AddrBoxHeight = std::max(layout.AddrBoxHeight, MinCellHeight);
    Grid grid;
    grid.cellWidth = layout.AddrBoxWidth;
    grid.cellHeight = layout.AddrBoxHeight;
    grid.pitchX = grid.cellWidth + layout.AddrGapH;
    grid.pitchY = grid.cellHeight + layout.AddrGapV;
    if (grid.pitchX <= 0 || grid.pitchY <= 0) {
        throw DrawingFailure{}; // a gap that swallows the cell leaves no grid
    }
    grid.columns = static_cast<int>((SheetWidth + layout.AddrGapH) / grid.pitchX);
    grid.rows = static_cast<int>((SheetHeight + layout.AddrGapV) / grid.pitchY);
    if (grid.cells() < 1) {
        throw DrawingFailure{};
    }
    return grid;
}

// Brings a start cell that lies outside the grid back to row or column 1, telling the user.
void FitStartCell(PrintJob& job, const Grid& grid)
{
    if (grid.rows < job.label.startRow) {
        job.state.ui.message(std::string(StartRowTooLarge), MessageIcon::None);
        job.label.startRow = 1;
    }
    if (grid.columns < job.label.startColumn) {
        job.state.ui.message(std::string(StartColumnTooLarge), MessageIcon::None);
        job.label.startColumn = 1;
    }
}

// The 1-based number of the start cell in page 1, counted row by row.
int StartIndex(const LabelOptions& label, const Grid& grid)
{
    int index = label.startColumn + grid.columns * (label.startRow - 1);
    return grid.cells() < index ? 1 : index;
}

// Pages needed for the recipients (PrintLineCount - 1 of them) beginning at the start cell.
int PageCount(const Grid& grid, int startIndex, int lineCount)
{
    return (grid.cells() + startIndex + lineCount - 3) / grid.cells();
}

PageStart StartOfPage(const Grid& grid, int startIndex, int page)
{
    if (page <= 1) {
        return {(startIndex - 1) / grid.columns, (startIndex - 1) % grid.columns, FirstRecipient};
    }
    return {0, 0, (page - 1) * grid.cells() - startIndex + 3};
}

Box CellFrame(const Grid& grid, int row, int column)
{
    return {GridOrigin + column * grid.pitchX, GridOrigin + row * grid.pitchY, grid.cellWidth, grid.cellHeight};
}

// Every cell frame of the page: on the preview always, on paper only when asked for.
void DrawFrames(PrintJob& job, const Grid& grid)
{
    for (int row = 0; row < grid.rows; ++row) {
        for (int column = 0; column < grid.columns; ++column) {
            Box frame = CellFrame(grid, row, column);
            if (job.label.frames) {
                PrinterBox(job, frame);
            }
            PreviewBox(job, frame);
        }
    }
}

bool IsVoicingMark(std::string_view ch)
{
    return ch == "ﾞ" || ch == "ﾟ";
}

// The character following position `i`, or none.
std::string_view NextChar(const std::vector<std::string>& chars, std::size_t i)
{
    return i + 1 < chars.size() ? std::string_view(chars[i + 1]) : std::string_view();
}

// Where the lines of one field of a cell go and how they wrap.
struct TextSection
{
    double firstX = 0;    // the first line
    double lineX = 0;     // the lines after a break
    double rightEdge = 0; // a line ends before a character would reach it
    double pitch = 0;     // the font's height: character advance and line pitch
    bool yenBreaks = true;
};

// Draws a field from (section.firstX, y): a "\" or "￥" (where the section allows it) or reaching the
// cell's right edge continues on the next line. Returns the y of the last line.
double DrawWrapped(PrintJob& job, std::string_view text, const TextSection& section, double y)
{
    const std::vector<std::string> chars = SplitChars(text);
    double x = section.firstX;
    for (std::size_t i = 0; i < chars.size(); ++i) {
        if (IsVoicingMark(chars[i])) {
            continue; // joined to the character before it
        }
        if (section.yenBreaks && IsLineBreak(chars[i])) {
            x = section.lineX;
            y += section.pitch;
            continue;
        }
        PutLabelText(job, x, y, WideKanaChar(chars[i], NextChar(chars, i)));
        x += section.pitch;
        if (section.rightEdge <= x + section.pitch) {
            x = section.lineX;
            y += section.pitch;
        }
    }
    return y;
}

// Draws the prepared name from (startX, y) without a width limit: a further name of the same family
// continues under the first given name, an unrelated one at the start of the next line.
void DrawName(PrintJob& job, std::string_view name, double startX, double pitch, double y)
{
    const std::vector<std::string> chars = SplitChars(name);
    double x = startX;
    double alignedX = startX;
    bool aligned = false;
    for (std::size_t i = 0; i < chars.size(); ++i) {
        if (chars[i] == SameFamilyMark || chars[i] == NewNameMark) {
            x = chars[i] == SameFamilyMark ? alignedX : startX;
            y += pitch;
            continue;
        }
        if (IsVoicingMark(chars[i])) {
            continue;
        }
        std::string wide = WideKanaChar(chars[i], NextChar(chars, i));
        PutLabelText(job, x, y, wide);
        x += pitch;
        if (!aligned && IsSpace(wide)) {
            alignedX = x; // the given name begins after the first space
            aligned = true;
        }
    }
}

void UseFont(PrintJob& job, const FontChoice& font)
{
    SetPrintFont(job, font.name, font.size);
}

void DrawPostCode(PrintJob& job, const PrintEntry& entry, const FontChoice& font, double x, double y)
{
    UseFont(job, font);
    if (job.label.postalMark) {
        PutLabelText(job, x, y, "〒");
        x += font.height;
    }
    for (const std::string& ch : SplitChars(entry.PrintPost)) {
        PutLabelText(job, x, y, ch);
        x += font.height;
    }
}

void DrawCell(PrintJob& job, const Grid& grid, const LabelFonts& fonts, PrintEntry& entry, double x, double y)
{
    const auto& post = fonts[PostFont];
    const auto& address = fonts[AddressFont];
    const auto& company = fonts[CompanyFont];
    const auto& dept = fonts[DeptFont];
    const auto& name = fonts[NameFont];
    double right = x + grid.cellWidth;

    DrawPostCode(job, entry, post, x, y);
    UseFont(job, address);
    y = DrawWrapped(job, entry.PrintAddress, {x + 3, x + 3, right, address.height}, y + post.height);
    UseFont(job, company);
    y = DrawWrapped(job, entry.PrintCompany, {x + 6, x + 5, right, company.height}, y + address.height);
    // The department breaks only at the cell's edge.
    UseFont(job, dept);
    y = DrawWrapped(job, entry.PrintDept, {x + 6, x + 7, right, dept.height, false}, y + company.height);
    // Stored back: drawing the page again finds nothing left to replace.
    entry.PrintName =
        PrepareRecipientName(entry.PrintName, entry.PrintHonorific, HonorificOnlyAfterLastName(entry.PrintFlags));
    UseFont(job, name);
    DrawName(job, entry.PrintName, x + 9, name.height, y + dept.height);
}

// Fills the page's cells row by row from its first cell until the recipients run out.
void FillCells(PrintJob& job, const Grid& grid, const LabelFonts& fonts, PageStart start)
{
    int lastEntry = std::min(job.table.PrintLineCount, static_cast<int>(job.table.entries.size()));
    int entry = start.entry;
    for (int row = start.row; row < grid.rows; ++row) {
        for (int column = row == start.row ? start.column : 0; column < grid.columns; ++column) {
            if (entry > lastEntry) {
                return;
            }
            auto& line = job.table.entries[static_cast<std::size_t>(entry - 1)];
            DrawCell(job, grid, fonts, line, TextOrigin + column * grid.pitchX, TextOrigin + row * grid.pitchY);
            ++entry;
        }
    }
}

void DrawPage(PrintJob& job, int page)
{
    LabelFonts fonts = ReadLabelFonts(job.state.settings.Layout);
    Grid grid = MakeGrid(job.state.settings.Layout);
    FitStartCell(job, grid);
    int startIndex = StartIndex(job.label, grid);
    job.PrintPageCount = PageCount(grid, startIndex, job.table.PrintLineCount);
    job.pageLabel = std::to_string(page) + " / " + std::to_string(job.PrintPageCount);
    DrawFrames(job, grid);
    FillCells(job, grid, fonts, StartOfPage(grid, startIndex, page));
}

} // namespace

bool PrintLabelPage(PrintJob& job, int page)
{
    BusyCursor busy(job.state.ui);
    return DrawOrTell(job, [&] { DrawPage(job, page); });
}

} // namespace talik
