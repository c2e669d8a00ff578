// The postcard engine: one card for one recipient line of the print table, written horizontally or
// vertically, with the sender block when the layout asks for it.
#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <string>
#include <string_view>
#include <vector>

#include "listwin/appstate.h"
#include "print/addresssplit.h"
#include "print/drawfailure.h"
#include "print/engines.h"
#include "print/numerals.h"
#include "print/postcardlayout.h"
#include "print/primitives.h"
#include "print/printwork.h"
#include "print/textfit.h"

namespace talik {
namespace {

constexpr double LineEndLimit = 94.0;       // horizontal text breaks before passing this x
constexpr double ColumnEndLimit = 125.0;    // vertical text starts a new column at this y
constexpr double SenderNameIndent = 10.0;   // the sender name sits this far in (across, or down)
constexpr double SenderNameGap = 2.0;       // horizontal: between the sender address and name
constexpr double SenderColumnGap = 1.3;     // vertical: sender name column, in name heights
constexpr double CardSenderCodeScale = 0.8; // the sender's postal code in a smaller code font

// The seven postcard fonts, by the print item number they are stored under.
enum PostcardFont
{
    CardCodeFont,
    CardAddressFont,
    CardCompanyFont,
    CardDeptFont,
    CardNameFont,
    CardSenderAddressFont,
    CardSenderNameFont,
    PostcardFontTotal
};
// The size of a font stored as 0; the code font keeps its 0 in the settings, the others take it.
constexpr std::array<int, PostcardFontTotal> DefaultFontSize{16, 20, 20, 20, 32, 14, 16};

struct PostcardFonts
{
    std::array<std::string, PostcardFontTotal> name;
    std::array<double, PostcardFontTotal> size{};

    double height(PostcardFont font) const { return FontHeight(size[font]); }
};

// A position on the card, millimetres; layout positions are widened from the settings' floats.
struct CardPoint
{
    double x, y;
};

CardPoint OnCard(LayoutPoint point)
{
    return {point.left, point.top};
}

PostcardFonts ReadPostcardFonts(PrintLayout& layout)
{
    PostcardFonts fonts;
    for (int i = 0; i < PostcardFontTotal; ++i) {
        if (layout.AddrFontSize[i] == 0 && i != CardCodeFont) {
            layout.AddrFontSize[i] = DefaultFontSize[i];
        }
        fonts.name[i] = layout.AddrFontName[i];
        fonts.size[i] = layout.AddrFontSize[i] != 0 ? layout.AddrFontSize[i] : DefaultFontSize[i];
    }
    return fonts;
}

void UseCardFont(PrintJob& job, const PostcardFonts& fonts, PostcardFont font, double scale = 1.0)
{
    SetPrintFont(job, fonts.name[font], fonts.size[font] * scale);
}

// Line n of the table to draw and write back; a line past the end is drawn from a blank one.
PrintEntry& EntryAt(PrintTable& table, int n, PrintEntry& blank)
{
    if (n < 1 || n > static_cast<int>(table.entries.size())) {
        return blank;
    }
    return table.entries[static_cast<std::size_t>(n - 1)];
}

// "3/10 件目": the recipient's place among the recipients (the first two lines are the senders).
std::string PositionLabel(const PrintTable& table, int line)
{
    return std::to_string(line - 2) + "/" + std::to_string(table.PrintLineCount - 2) + " 件目";
}

// --- postal codes ------------------------------------------------------------------------------

CodeBoxes SenderCodeBoxes(CardPoint start)
{
    return {start.x, start.y, 4.0, 1.0, INT_MAX};
}

// The digits of a code one by one, hyphens and blanks skipped; digits are never turned into
// full-width ones, so they stay digits whatever the numeral option says.
void PutPostCode(PrintJob& job, std::string_view code, const CodeBoxes& boxes)
{
    double x = boxes.x;
    int printed = 0;
    for (const std::string& ch : SplitChars(code)) {
        if (ch == "-" || ch == " ") {
            continue;
        }
        if (printed == boxes.maxDigits) {
            break;
        }
        PutChar(job, x, boxes.y, ch);
        x += boxes.step + (++printed == 3 ? boxes.gapAfterThird : 0.0);
    }
}

// --- text of the card ------------------------------------------------------------------------

constexpr double CardMargin = 4.0; // nothing is drawn closer to the card's edge
constexpr double BlockGap = 1.0;   // between blocks that were pushed along by the one before
constexpr int AddressLines = 3;    // the address may take this many lines (columns) at most
constexpr int CompanyLines = 2;
constexpr int SenderAddressLines = 3;

// The width of a text on the card: measured on the preview, where the layout is judged.
double CardWidth(PrintJob& job, std::string_view text)
{
    if (job.target.preview != nullptr) {
        return job.target.preview->textWidth(text) / job.target.PreviewScale;
    }
    return job.target.printer != nullptr ? job.target.printer->textWidth(text) : 0.0;
}

// A character of vertical text as written (to tell separators and marks) and as printed (full-width).
struct VerticalChar
{
    std::string written;
    std::string printed;
};

// Voicing marks are dropped: the kana before them has taken them in.
std::vector<VerticalChar> VerticalChars(std::string_view text)
{
    const std::vector<std::string> chars = SplitChars(text);
    std::vector<VerticalChar> result;
    for (std::size_t i = 0; i < chars.size(); ++i) {
        if (chars[i] == "ﾞ" || chars[i] == "ﾟ") {
            continue;
        }
        const std::string next = i + 1 < chars.size() ? chars[i + 1] : std::string();
        result.push_back({chars[i], WideKanaChar(chars[i], next)});
    }
    return result;
}

// One writing direction's measure and drawing of a line of text.
struct Writing
{
    bool vertical = false;

    double length(PrintJob& job, std::string_view text, double pitch) const
    {
        return vertical ? static_cast<double>(VerticalChars(text).size()) * pitch : CardWidth(job, text);
    }

    // Draws a line (column) from `at`; what would pass the card's edge is left out.
    void draw(PrintJob& job, CardPoint at, std::string_view text, double pitch) const
    {
        if (vertical) {
            drawColumn(job, at, text, pitch);
        } else {
            drawLine(job, at, text);
        }
    }

private:
    static void drawColumn(PrintJob& job, CardPoint at, std::string_view text, double pitch)
    {
        if (at.x < 0 || at.x + pitch > PostcardWidth) {
            return;
        }
        for (const VerticalChar& ch : VerticalChars(text)) {
            if (at.y + pitch > PostcardHeight) {
                return;
            }
            PutChar(job, at.x, at.y, ch.printed);
            at.y += pitch;
        }
    }
    static void drawLine(PrintJob& job, CardPoint at, std::string_view text)
    {
        std::vector<std::string> chars = SplitChars(text);
        std::string shown(text);
        while (!chars.empty() && at.x + CardWidth(job, shown) > PostcardWidth) {
            chars.pop_back();
            shown.clear();
            for (const std::string& ch : chars) {
                shown += ch;
            }
        }
        if (!shown.empty() && at.y >= 0) {
            PutRun(job, at.x, at.y, shown);
        }
    }
};

// Where a block may stand: its first line's start, the length of a line and how many lines.
struct BlockArea
{
    CardPoint start;
    double length = 0;
    int maxLines = 1;
    double across = 0; // a name's room across its lines, from the centre of the first
};

struct FittedBlock
{
    std::vector<AddressLine> lines;
    double size = 0, pitch = 0;
    bool fits = true;
};

// The text broken into the area at the largest size that lets it fit.
FittedBlock FitBlock(PrintJob& job,
                     const std::string& font,
                     double size,
                     std::string_view text,
                     const BlockArea& area,
                     const Writing& writing,
                     Breaker breaker)
{
    FittedBlock block;
    auto breakAt = [&](double tried) {
        SetPrintFont(job, font, tried);
        block.size = tried;
        block.pitch = FontHeight(tried);
        const TextMeasure measure = [&](std::string_view t) { return writing.length(job, t, block.pitch); };
        block.lines = breaker(text, area.length, block.pitch, measure);
        return LinesNeeded(block.lines, area.length, block.pitch, measure);
    };
    const FittedSize fitted = FitSize(size, area.maxLines, breakAt);
    block.fits = fitted.fits;
    return block;
}

// The start of line `n` of a block, `indent` characters along it.
CardPoint LineStart(const BlockArea& area, const Writing& writing, int n, double indent, double pitch)
{
    if (writing.vertical) {
        return {area.start.x - n * pitch, area.start.y + indent};
    }
    return {area.start.x + indent, area.start.y + n * pitch};
}

// Tells on the preview that a block did not fit its area: a frame around the area and a mark.
void MarkUnfitted(PrintJob& job, const BlockArea& area, const Writing& writing, double pitch)
{
    if (job.target.preview == nullptr) {
        return;
    }
    const double scale = job.target.PreviewScale;
    const double across = area.across > 0 ? area.across + pitch / 2 : pitch * area.maxLines;
    const CardBox box = writing.vertical ? CardBox{area.start.x + pitch - across, area.start.y, across, area.length}
                                         : CardBox{area.start.x, area.start.y, area.length, across};
    job.target.preview->drawBox(box.x * scale, box.y * scale, box.width * scale, box.height * scale);
    job.target.preview->drawText(box.x * scale, box.y * scale, "※");
}

// Draws a fitted block; returns where the next block may start across the lines (the y below
// the last line, or the x left of the last column).
double DrawCardBlock(PrintJob& job, const FittedBlock& block, const BlockArea& area, const Writing& writing)
{
    int n = 0;
    for (const AddressLine& line : block.lines) {
        writing.draw(job, LineStart(area, writing, n, line.indent * block.pitch, block.pitch), line.text, block.pitch);
        ++n;
    }
    if (!block.fits) {
        MarkUnfitted(job, area, writing, block.pitch);
    }
    if (writing.vertical) {
        return area.start.x - (n - 1) * block.pitch - BlockGap;
    }
    return area.start.y + n * block.pitch + BlockGap;
}

// The text as the numeral option writes it; vertical text makes its number dashes strokes.
std::string WithNumerals(const PrintJob& job, std::string_view text, const Writing& writing)
{
    const PrintLayout& layout = job.state.settings.Layout;
    if (layout.AddrNumChange != 0) {
        return KanjiNumerals(text, NumeralStyleOf(layout.AddrNumStyle));
    }
    return writing.vertical ? MarkNumberDashes(text) : std::string(text);
}

// The room a block has along its lines from `start`.
double LengthFrom(CardPoint start, const Writing& writing, double limit)
{
    return writing.vertical ? limit - start.y : limit - start.x;
}

// --- names -------------------------------------------------------------------------------------

// A line (column) of the prepared name: the first carries the main name, the others the further
// names, standing under the given name when they share the family name.
struct NameRow
{
    std::string text;
    bool underGivenName = false;
};

std::vector<NameRow> NameRows(std::string_view prepared)
{
    std::vector<NameRow> rows(1);
    for (const std::string& ch : SplitChars(prepared)) {
        if (ch == SameFamilyMark || ch == NewNameMark) {
            rows.push_back({"", ch == SameFamilyMark});
        } else {
            rows.back().text += ch;
        }
    }
    return rows;
}

// The main name up to and with its first blank: where a given name standing under it begins.
std::string FamilyPart(const std::vector<NameRow>& rows)
{
    std::string family;
    for (const std::string& ch : SplitChars(rows.front().text)) {
        family += ch;
        if (IsSpace(ch)) {
            return family;
        }
    }
    return {};
}

// A row split before its honorific: the text after the row's last blank.
struct NameParts
{
    std::string body, honorific;
};

NameParts SplitHonorific(const std::string& row)
{
    const std::vector<std::string> chars = SplitChars(row);
    std::size_t last = chars.size();
    for (std::size_t i = 0; i < chars.size(); ++i) {
        if (IsSpace(chars[i])) {
            last = i;
        }
    }
    NameParts parts;
    for (std::size_t i = 0; i < chars.size(); ++i) {
        (i <= last || last == chars.size() ? parts.body : parts.honorific) += chars[i];
    }
    return parts;
}

struct FittedName
{
    double size = 0, pitch = 0, givenOffset = 0;
    double honorificOffset = 0; // every honorific starts here, in line with the main one's
    bool fits = true;
};

// Where each row's honorific starts once they are all in line, and the longest row's length.
void AlignHonorifics(
    PrintJob& job, const std::vector<NameRow>& rows, const Writing& writing, FittedName& name, double& longest)
{
    name.honorificOffset = 0;
    for (const NameRow& row : rows) {
        const NameParts parts = SplitHonorific(row.text);
        const double offset = row.underGivenName ? name.givenOffset : 0.0;
        name.honorificOffset = std::max(name.honorificOffset, offset + writing.length(job, parts.body, name.pitch));
    }
    longest = 0;
    for (const NameRow& row : rows) {
        const NameParts parts = SplitHonorific(row.text);
        longest = std::max(longest, name.honorificOffset + writing.length(job, parts.honorific, name.pitch));
    }
}

FittedName FitName(PrintJob& job,
                   const std::string& font,
                   double size,
                   const std::vector<NameRow>& rows,
                   const BlockArea& area,
                   const Writing& writing)
{
    FittedName name;
    const std::string family = FamilyPart(rows);
    auto linesAt = [&](double tried) {
        SetPrintFont(job, font, tried);
        name.size = tried;
        name.pitch = FontHeight(tried);
        name.givenOffset = writing.length(job, family, name.pitch);
        const int count = static_cast<int>(rows.size());
        double longest = 0;
        AlignHonorifics(job, rows, writing, name, longest);
        if (longest > area.length + 1e-9) {
            return count + 1;
        }
        // Its further names stand beside the main one: the rows need their room across too.
        const bool roomAcross = area.across <= 0 || (count - 0.5) * name.pitch <= area.across + 1e-9;
        return roomAcross ? count : count + 1;
    };
    // The rows are the name's own: a smaller font is the only way to make them fit.
    const FittedSize fitted = FitSize(size, static_cast<int>(rows.size()), linesAt);
    name.fits = fitted.lines <= static_cast<int>(rows.size());
    return name;
}

// One row of the name: in one run when its honorific already stands in line, else in two.
void PutNameRow(
    PrintJob& job, const NameRow& row, const FittedName& fitted, const BlockArea& area, const Writing& writing, int n)
{
    const double offset = row.underGivenName ? fitted.givenOffset : 0.0;
    const NameParts parts = SplitHonorific(row.text);
    const double natural = offset + writing.length(job, parts.body, fitted.pitch);
    if (parts.honorific.empty() || std::abs(natural - fitted.honorificOffset) < 1e-6) {
        writing.draw(job, LineStart(area, writing, n, offset, fitted.pitch), row.text, fitted.pitch);
        return;
    }
    writing.draw(job, LineStart(area, writing, n, offset, fitted.pitch), parts.body, fitted.pitch);
    writing.draw(job, LineStart(area, writing, n, fitted.honorificOffset, fitted.pitch), parts.honorific, fitted.pitch);
}

// The recipient's name with its further names, fitted into the area; a smaller name keeps the
// centre line of the main name where the layout puts it.
void PutName(PrintJob& job,
             const std::string& font,
             double size,
             std::string_view prepared,
             BlockArea area,
             const Writing& writing)
{
    const std::vector<NameRow> rows = NameRows(prepared);
    const FittedName fitted = FitName(job, font, size, rows, area, writing);
    const double shift = (FontHeight(size) - fitted.pitch) / 2;
    if (writing.vertical) {
        area.start.x += shift;
    } else {
        area.start.y += shift;
    }
    for (std::size_t n = 0; n < rows.size(); ++n) {
        PutNameRow(job, rows[n], fitted, area, writing, static_cast<int>(n));
    }
    if (!fitted.fits) {
        MarkUnfitted(job, area, writing, fitted.pitch);
    }
}

// --- the sender --------------------------------------------------------------------------------

// The sender's name: a further name stands under (beside) the given name, as the stored "\" says.
std::string SenderNameRows(std::string_view name)
{
    std::string rows;
    for (const std::string& ch : SplitChars(name)) {
        rows += IsLineBreak(ch) ? std::string(SameFamilyMark) : ch;
    }
    return rows;
}

void PutSender(PrintJob& job, const PostcardFonts& fonts, const PrintEntry& sender, const Writing& writing)
{
    const PrintLayout& layout = job.state.settings.Layout;
    const CardPoint start = OnCard(writing.vertical ? layout.L_Send : layout.L_SendH);
    const double limit = writing.vertical ? ColumnEndLimit : LineEndLimit;
    const BlockArea addressArea{start, LengthFrom(start, writing, limit), SenderAddressLines};
    const FittedBlock address =
        FitBlock(job, fonts.name[CardSenderAddressFont], fonts.size[CardSenderAddressFont],
                 WithNumerals(job, sender.PrintAddress, writing), addressArea, writing, BreakAddress);
    const double next = DrawCardBlock(job, address, addressArea, writing);

    const double namePitch = fonts.height(CardSenderNameFont);
    const CardPoint nameStart =
        writing.vertical ? CardPoint{next + BlockGap - SenderColumnGap * namePitch, start.y + SenderNameIndent}
                         : CardPoint{start.x + SenderNameIndent, next - BlockGap + SenderNameGap};
    const double nameLimit = writing.vertical ? PostcardHeight - CardMargin : LineEndLimit;
    const BlockArea nameArea{nameStart, LengthFrom(nameStart, writing, nameLimit), 2};
    PutName(job, fonts.name[CardSenderNameFont], fonts.size[CardSenderNameFont],
            WithNumerals(job, SenderNameRows(sender.PrintName), writing), nameArea, writing);

    UseCardFont(job, fonts, CardCodeFont, CardSenderCodeScale);
    PutPostCode(job, sender.PrintPost, SenderCodeBoxes(OnCard(writing.vertical ? layout.L_SYNum : layout.L_SYNumH)));
}

// --- the card ----------------------------------------------------------------------------------

// Where the recipient's texts start on the card in one writing direction.
struct RecipientPoints
{
    LayoutPoint address, company, dept, name;
};

RecipientPoints HorizontalPoints(const PrintLayout& layout)
{
    return {layout.L_AddrH, layout.L_CorpH, layout.L_SectH, layout.L_NameH};
}

RecipientPoints VerticalPoints(const PrintLayout& layout)
{
    return {layout.L_Addr, layout.L_Corp, layout.L_Sect, layout.L_Name};
}

// The start of a block pushed along by the block before it: never into the lines that one took.
CardPoint After(LayoutPoint point, double next, const Writing& writing)
{
    CardPoint start = OnCard(point);
    if (writing.vertical) {
        start.x = std::min(start.x, next);
    } else {
        start.y = std::max(start.y, next);
    }
    return start;
}

// Draws an address, company or department block from `point` unless it is empty; returns where the
// next block may start.
double PutTextBlock(PrintJob& job,
                    const PostcardFonts& fonts,
                    PostcardFont font,
                    std::string_view text,
                    CardPoint start,
                    int maxLines,
                    const Writing& writing,
                    Breaker breaker)
{
    const double limit = writing.vertical ? ColumnEndLimit : LineEndLimit;
    const BlockArea area{start, LengthFrom(start, writing, limit), maxLines};
    const FittedBlock block =
        FitBlock(job, fonts.name[font], fonts.size[font], WithNumerals(job, text, writing), area, writing, breaker);
    return DrawCardBlock(job, block, area, writing);
}

// The room the name has across its lines, from the centre of its first line to the sender (or to
// the card's margin when there is none).
double NameRoomAcross(const PrintJob& job, const PostcardFonts& fonts, CardPoint nameStart, const Writing& writing)
{
    const PrintLayout& layout = job.state.settings.Layout;
    const double half = fonts.height(CardNameFont) / 2;
    const bool sender = layout.AddrFromSet == 1;
    if (writing.vertical) {
        const double left = sender ? layout.L_Send.left + fonts.height(CardSenderAddressFont) + BlockGap : CardMargin;
        return nameStart.x + half - left;
    }
    const double centre = nameStart.y + half;
    const bool senderBelow = sender && layout.L_SendH.top > centre;
    const double bottom = senderBelow ? layout.L_SendH.top - BlockGap : PostcardHeight - CardMargin;
    return bottom - centre;
}

// The recipient's address, company, department and name, each in its own font; a block that takes
// more lines pushes the next along rather than printing over it.
void PutRecipient(PrintJob& job, const PostcardFonts& fonts, const PrintEntry& recipient, const Writing& writing)
{
    const PrintLayout& layout = job.state.settings.Layout;
    const RecipientPoints at = writing.vertical ? VerticalPoints(layout) : HorizontalPoints(layout);
    double next = PutTextBlock(job, fonts, CardAddressFont, recipient.PrintAddress, OnCard(at.address), AddressLines,
                               writing, BreakAddress);
    auto pushed = [&](LayoutPoint point, PostcardFont font) {
        // A column left of the block before: its own width further left.
        return After(point, writing.vertical ? next - fonts.height(font) : next, writing);
    };
    if (!recipient.PrintCompany.empty()) {
        next = PutTextBlock(job, fonts, CardCompanyFont, recipient.PrintCompany, pushed(at.company, CardCompanyFont),
                            CompanyLines, writing, BreakPlain);
    }
    if (!recipient.PrintDept.empty()) {
        next = PutTextBlock(job, fonts, CardDeptFont, recipient.PrintDept, pushed(at.dept, CardDeptFont), CompanyLines,
                            writing, BreakPlain);
    }
    const CardPoint nameStart = writing.vertical ? OnCard(at.name) : pushed(at.name, CardNameFont);
    const double limit = writing.vertical ? PostcardHeight - CardMargin : LineEndLimit;
    BlockArea area{nameStart, LengthFrom(nameStart, writing, limit), 1};
    area.across = NameRoomAcross(job, fonts, nameStart, writing);
    PutName(job, fonts.name[CardNameFont], fonts.size[CardNameFont], WithNumerals(job, recipient.PrintName, writing),
            area, writing);
}

void PutCard(PrintJob& job, int line, const Writing& writing)
{
    PrintLayout& layout = job.state.settings.Layout;
    const PostcardFonts fonts = ReadPostcardFonts(layout);

    PrintEntry blankRecipient;
    PrintEntry& recipient = EntryAt(job.table, line, blankRecipient);
    UseCardFont(job, fonts, CardCodeFont);
    PutPostCode(job, recipient.PrintPost, RecipientCodeBoxes(layout));
    // Prepared in place, so drawing the card again finds nothing left to replace.
    recipient.PrintName = PrepareRecipientName(
        recipient.PrintName, recipient.PrintHonorific, HonorificOnlyAfterLastName(recipient.PrintFlags),
        layout.AddrJointNames != 0 ? recipient.JointNames : std::vector<JointName>{});
    PutRecipient(job, fonts, recipient, writing);

    if (layout.AddrFromSet == 1) {
        PrintEntry blankSender;
        PrintEntry& sender = EntryAt(job.table, UsesSecondSender(recipient.PrintFlags) ? 2 : 1, blankSender);
        sender.PrintName = CutAtEndMarker(sender.PrintName);
        PutSender(job, fonts, sender, writing);
    }
}

// Draws the card; a failure of the printer or a font ends the card with a message, so a print loop
// goes on with the next one.
bool PutCardOrTell(PrintJob& job, int line, const Writing& writing)
{
    return DrawOrTell(job, [&] { PutCard(job, line, writing); });
}

} // namespace

bool PrintPostcardH(PrintJob& job, int line)
{
    BusyCursor busy(job.state.ui);
    job.positionLabel = PositionLabel(job.table, line);
    return PutCardOrTell(job, line, Writing{false});
}

bool PrintPostcardV(PrintJob& job, int line)
{
    job.positionLabel = PositionLabel(job.table, line);
    return PutCardOrTell(job, line, Writing{true});
}

} // namespace talik
