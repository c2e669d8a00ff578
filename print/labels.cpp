// The label-sheet engine: one A4 page of equal cells, filled row by row from the start cell, one
// recipient (entries 2 and on of the print table) per cell, horizontal writing.
#include <algorithm>
#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "listwin/appstate.h"
#include "platform/codec.h"
#include "print/addresssplit.h"
#include "print/drawfailure.h"
#include "print/engines.h"
#include "print/postcardlayout.h"
#include "print/primitives.h"
#include "print/printboxes.h"
#include "print/printwork.h"
#include "print/textfit.h"

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
// Large enough to fill a cell of the smallest size; a block that does not fit shrinks.
constexpr std::array<int, LabelFontTotal> DefaultFontSizes{9, 10, 9, 9, 16};

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

// The characters a label prints for a text: full-width, a voicing mark taken into its kana.
std::vector<std::string> PrintedChars(std::string_view text)
{
    const std::vector<std::string> chars = SplitChars(text);
    std::vector<std::string> printed;
    for (std::size_t i = 0; i < chars.size(); ++i) {
        if (!IsVoicingMark(chars[i])) {
            const std::string next = i + 1 < chars.size() ? chars[i + 1] : std::string();
            printed.push_back(WideKanaChar(chars[i], next));
        }
    }
    return printed;
}

// The characters a label prints for a text, counted without building them: a voicing mark
// goes into the kana before it.
std::size_t PrintedCount(std::string_view text)
{
    std::size_t count = 0;
    while (!text.empty()) {
        const std::size_t length = std::max<std::size_t>(Utf8CharLength(text), 1);
        if (!IsVoicingMark(text.substr(0, length))) {
            ++count;
        }
        text.remove_prefix(std::min(length, text.size()));
    }
    return count;
}

// Each character of a label takes its font's height across.
double LabelLength(std::string_view text, double pitch)
{
    return static_cast<double>(PrintedCount(text)) * pitch;
}

// The part of a cell text may use: nothing is drawn past its right or bottom edge.
struct CellArea
{
    double left, top, right, bottom;
};

// The characters of a row one pitch apart from `x`, as far as they stay inside the cell's width.
std::vector<PlacedText> PlaceChars(const std::vector<std::string>& chars, double x, double pitch, const CellArea& cell)
{
    std::vector<PlacedText> pieces;
    pieces.reserve(chars.size());
    for (const std::string& ch : chars) {
        if (x + pitch > cell.right + 1e-9) {
            break;
        }
        pieces.push_back({x, ch});
        x += pitch;
    }
    return pieces;
}

// Draws a text a character to a cell of the pitch from (x, y); characters that would leave the
// cell are left out.
void DrawChars(PrintJob& job, std::string_view text, double x, double y, double pitch, const CellArea& cell)
{
    if (y + pitch > cell.bottom + 1e-9) {
        return;
    }
    const std::vector<std::string> chars = PrintedChars(text);
    const std::vector<PlacedText> pieces = PlaceChars(chars, x, pitch, cell);
    if (!pieces.empty()) {
        PutLabelRow(job, y, pieces);
    }
}

void UseFont(PrintJob& job, const FontChoice& font, double size)
{
    SetPrintFont(job, font.name, size);
}

// Draws a text block (address, company, department) from `left` at `y`, fitted to the cell's width
// in at most `maxLines` lines; returns the y below it.
double DrawBlock(PrintJob& job,
                 const FontChoice& font,
                 std::string_view text,
                 double left,
                 double y,
                 int maxLines,
                 const CellArea& cell,
                 Breaker breaker)
{
    if (text.empty()) {
        return y;
    }
    const double length = cell.right - left;
    std::vector<AddressLine> lines;
    double pitch = font.height;
    auto linesAt = [&](double size) {
        pitch = FontHeight(size);
        const TextMeasure measure = [&](std::string_view t) { return LabelLength(t, pitch); };
        lines = breaker(text, length, pitch, measure);
        return LinesNeeded(lines, length, pitch, measure);
    };
    const FittedSize fitted = FitSize(font.size, maxLines, linesAt);
    UseFont(job, font, fitted.size);
    for (const AddressLine& line : lines) {
        DrawChars(job, line.text, left + line.indent * pitch, y, pitch, cell);
        y += pitch;
    }
    return y;
}

// A line of the name block and where it starts, in characters from the block's left edge.
struct NameLine
{
    std::string text;
    int offset = 0;
};

// The prepared name in lines: a further name of the family follows on the same line while the
// line has room, else stands on the next under the given name; an unrelated one starts a line.
std::vector<NameLine> NameLines(std::string_view prepared, std::size_t maxChars)
{
    std::vector<NameLine> lines(1);
    int givenOffset = 0;
    bool sameFamily = false;
    std::string pending;
    auto place = [&] {
        const std::size_t together = PrintedCount(lines.back().text + "　" + pending);
        if (sameFamily && together + static_cast<std::size_t>(lines.back().offset) <= maxChars) {
            lines.back().text += "　" + pending;
        } else {
            lines.push_back({pending, sameFamily ? givenOffset : 0});
        }
    };
    bool first = true;
    for (const std::string& ch : SplitChars(prepared)) {
        if (ch == SameFamilyMark || ch == NewNameMark) {
            if (!first) {
                place();
            }
            first = false;
            pending.clear();
            sameFamily = ch == SameFamilyMark;
            continue;
        }
        if (first) {
            lines.back().text += ch;
            if (IsSpace(ch) && givenOffset == 0) {
                givenOffset = static_cast<int>(PrintedCount(lines.back().text));
            }
        } else {
            pending += ch;
        }
    }
    if (!first) {
        place();
    }
    return lines;
}

// The name with its further names, as large as the rest of the cell allows (from the name font's
// size down), centred in the height and width left.
void DrawNameBlock(PrintJob& job, const FontChoice& font, std::string_view prepared, double top, const CellArea& cell)
{
    const double width = cell.right - cell.left;
    const double height = cell.bottom - top;
    std::vector<NameLine> lines;
    double pitch = font.height, widest = 0;
    auto linesAt = [&](double size) {
        pitch = FontHeight(size);
        lines = NameLines(prepared, static_cast<std::size_t>(width / pitch + 1e-9));
        widest = 0;
        for (const NameLine& line : lines) {
            widest = std::max(widest, (line.offset + static_cast<double>(PrintedCount(line.text))) * pitch);
        }
        const bool fits = widest <= width + 1e-9 && static_cast<double>(lines.size()) * pitch <= height + 1e-9;
        return fits ? 1 : 2;
    };
    const FittedSize fitted = FitSize(font.size, 1, linesAt);
    UseFont(job, font, fitted.size);
    const double left = cell.left + std::max(0.0, (width - widest) / 2);
    double y = top + std::max(0.0, (height - static_cast<double>(lines.size()) * pitch) / 2);
    for (const NameLine& line : lines) {
        DrawChars(job, line.text, left + line.offset * pitch, y, pitch, cell);
        y += pitch;
    }
}

void DrawPostCode(
    PrintJob& job, const PrintEntry& entry, const FontChoice& font, double x, double y, const CellArea& cell)
{
    UseFont(job, font, font.size);
    const std::string mark = job.label.postalMark ? "〒" : "";
    const std::vector<std::string> chars = SplitChars(mark + entry.PrintPost);
    const std::vector<PlacedText> pieces = PlaceChars(chars, x, font.height, cell);
    if (!pieces.empty()) {
        PutLabelRow(job, y, pieces);
    }
}

constexpr double CellInset = 1;   // the text keeps this far from the cell's right and bottom
constexpr double BlockIndent = 2; // the address, company and department start this far in
constexpr double LineGap = 0.5;   // between the code and the address, and before the name
constexpr int LabelAddressLines = 3;
constexpr int LabelCompanyLines = 2;

void DrawCell(PrintJob& job, const Grid& grid, const LabelFonts& fonts, PrintEntry& entry, double x, double y)
{
    const CellArea cell{x, y, x + grid.cellWidth - 2 * CellInset, y + grid.cellHeight - 2 * CellInset};
    DrawPostCode(job, entry, fonts[PostFont], x, y, cell);
    y += fonts[PostFont].height + LineGap;
    y = DrawBlock(job, fonts[AddressFont], entry.PrintAddress, x + BlockIndent, y, LabelAddressLines, cell,
                  BreakAddress);
    y = DrawBlock(job, fonts[CompanyFont], entry.PrintCompany, x + 2 * BlockIndent, y, LabelCompanyLines, cell,
                  BreakPlain);
    y = DrawBlock(job, fonts[DeptFont], entry.PrintDept, x + 2 * BlockIndent, y, LabelCompanyLines, cell, BreakPlain);
    // Stored back: drawing the page again finds nothing left to replace.
    entry.PrintName = PrepareRecipientName(
        entry.PrintName, entry.PrintHonorific, HonorificOnlyAfterLastName(entry.PrintFlags),
        job.state.settings.Layout.AddrJointNames != 0 ? entry.JointNames : std::vector<JointName>{});
    DrawNameBlock(job, fonts[NameFont], entry.PrintName, y + LineGap, cell);
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
