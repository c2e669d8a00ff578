// The postcard engine: one card for one recipient line of the print table, written horizontally or
// vertically, with the sender block when the layout asks for it.
#include <array>
#include <climits>
#include <string>
#include <string_view>
#include <vector>

#include "listwin/appstate.h"
#include "print/drawfailure.h"
#include "print/engines.h"
#include "print/postcardlayout.h"
#include "print/primitives.h"
#include "print/printwork.h"

namespace talik {
namespace {

constexpr double LineEndLimit = 94.0;     // horizontal text breaks before passing this x
constexpr double ColumnEndLimit = 125.0;  // vertical text starts a new column at this y
constexpr double SenderNameIndent = 10.0; // the sender name sits this far in (across, or down)
constexpr double SenderNameGap = 2.0;     // horizontal: between the sender address and name
constexpr double SenderColumnGap = 1.3;   // vertical: sender name column, in name heights
constexpr double SenderCodeScale = 0.8;   // the sender's postal code in a smaller code font

// The seven postcard fonts, by the print item number they are stored under.
enum PostcardFont
{
    CodeFont,
    AddressFont,
    CompanyFont,
    DeptFont,
    NameFont,
    SenderAddressFont,
    SenderNameFont,
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
        if (layout.AddrFontSize[i] == 0 && i != CodeFont) {
            layout.AddrFontSize[i] = DefaultFontSize[i];
        }
        fonts.name[i] = layout.AddrFontName[i];
        fonts.size[i] = layout.AddrFontSize[i] != 0 ? layout.AddrFontSize[i] : DefaultFontSize[i];
    }
    return fonts;
}

void UseFont(PrintJob& job, const PostcardFonts& fonts, PostcardFont font, double scale = 1.0)
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

// --- horizontal writing ------------------------------------------------------------------------

// The width of a text on the card: measured on the preview, where the layout is judged.
double CardWidth(PrintJob& job, std::string_view text)
{
    if (job.target.preview != nullptr) {
        return job.target.preview->textWidth(text) / job.target.PreviewScale;
    }
    return job.target.printer != nullptr ? job.target.printer->textWidth(text) : 0.0;
}

// Characters collected into a line and printed with PutRun at the line's start.
class HorizontalLines
{
public:
    HorizontalLines(PrintJob& job, CardPoint start, double pitch)
        : m_job(job), m_x(start.x), m_y(start.y), m_pitch(pitch), m_lastLineY(start.y)
    {}

    double x() const { return m_x; }
    double lastLineY() const { return m_lastLineY; }
    // Where the collected text ends on the card.
    double end() { return m_x + CardWidth(m_job, m_buffer); }
    bool wouldPass(std::string_view ch, double limit)
    {
        return m_x + CardWidth(m_job, m_buffer + std::string(ch)) > limit;
    }

    void append(std::string_view ch) { m_buffer += ch; }
    void breakLine(double nextX)
    {
        finish();
        m_x = nextX;
        m_y += m_pitch;
    }
    void finish()
    {
        if (!m_buffer.empty()) {
            PutRun(m_job, m_x, m_y, m_buffer);
            m_lastLineY = m_y;
            m_buffer.clear();
        }
    }

private:
    PrintJob& m_job;
    double m_x, m_y;
    double m_pitch;
    double m_lastLineY;
    std::string m_buffer;
};

// Address, company, department and the sender's address. Returns the y of the last line printed.
double PutBlockH(PrintJob& job, std::string_view text, CardPoint start, double pitch)
{
    HorizontalLines lines(job, start, pitch);
    for (const std::string& ch : SplitChars(text)) {
        if (IsLineBreak(ch)) {
            lines.breakLine(lines.x());
            continue;
        }
        if (lines.wouldPass(ch, LineEndLimit)) {
            lines.breakLine(lines.x());
        }
        lines.append(ch);
    }
    lines.finish();
    return lines.lastLineY();
}

// The prepared recipient name, without a width limit. A further name of the family starts under the
// given name: where the first space ends.
void PutNameH(PrintJob& job, std::string_view name, CardPoint start, double pitch)
{
    HorizontalLines lines(job, start, pitch);
    double alignedX = start.x;
    for (const std::string& ch : SplitChars(name)) {
        if (ch == SameFamilyMark) {
            lines.breakLine(alignedX);
        } else if (ch == NewNameMark) {
            lines.breakLine(start.x);
        } else {
            lines.append(ch);
            if (IsSpace(ch) && alignedX == start.x) {
                alignedX = lines.end();
            }
        }
    }
    lines.finish();
}

// The sender's name: wrapped like an address; a further name stands under the given name.
void PutSenderNameH(PrintJob& job, std::string_view name, CardPoint start, double pitch)
{
    HorizontalLines lines(job, start, pitch);
    double alignedX = start.x;
    for (const std::string& ch : SplitChars(name)) {
        if (IsLineBreak(ch)) {
            lines.breakLine(alignedX);
            continue;
        }
        if (lines.wouldPass(ch, LineEndLimit)) {
            lines.breakLine(lines.x());
        }
        lines.append(ch);
        if (IsSpace(ch) && alignedX == start.x) {
            alignedX = lines.end();
        }
    }
    lines.finish();
}

void PutSenderH(PrintJob& job, const PostcardFonts& fonts, const PrintEntry& sender)
{
    const PrintLayout& layout = job.state.settings.Layout;
    UseFont(job, fonts, SenderAddressFont);
    const double addressPitch = fonts.height(SenderAddressFont);
    const double lastLineY = PutBlockH(job, sender.PrintAddress, OnCard(layout.L_SendH), addressPitch);
    UseFont(job, fonts, SenderNameFont);
    const CardPoint nameStart{layout.L_SendH.left + SenderNameIndent, lastLineY + addressPitch + SenderNameGap};
    PutSenderNameH(job, sender.PrintName, nameStart, fonts.height(SenderNameFont));
    UseFont(job, fonts, CodeFont, SenderCodeScale);
    PutPostCode(job, sender.PrintPost, SenderCodeBoxes(OnCard(layout.L_SYNumH)));
}

// --- vertical writing --------------------------------------------------------------------------

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

// Characters printed one by one down a column; columns move leftwards.
class VerticalColumns
{
public:
    VerticalColumns(PrintJob& job, CardPoint start, double pitch)
        : m_job(job), m_x(start.x), m_y(start.y), m_pitch(pitch), m_lastColumnX(start.x)
    {}

    double y() const { return m_y; }
    double lastColumnX() const { return m_lastColumnX; }

    void put(std::string_view ch)
    {
        PutChar(m_job, m_x, m_y, ch);
        m_lastColumnX = m_x;
        m_y += m_pitch;
    }
    void newColumn(double top)
    {
        m_x -= m_pitch;
        m_y = top;
    }

private:
    PrintJob& m_job;
    double m_x, m_y;
    double m_pitch;
    double m_lastColumnX;
};

// Address, company, department and the sender's address. Returns the x of the last column printed.
double PutBlockV(PrintJob& job, std::string_view text, CardPoint start, double pitch)
{
    VerticalColumns columns(job, start, pitch);
    for (const VerticalChar& ch : VerticalChars(text)) {
        if (IsLineBreak(ch.written)) {
            columns.newColumn(start.y);
            continue;
        }
        columns.put(ch.printed);
        if (columns.y() >= ColumnEndLimit) {
            columns.newColumn(start.y);
        }
    }
    return columns.lastColumnX();
}

// The prepared recipient name, without a length limit. A further name of the family starts beside
// the given name: where the first space ends.
void PutNameV(PrintJob& job, std::string_view name, CardPoint start, double pitch)
{
    VerticalColumns columns(job, start, pitch);
    double alignedY = start.y;
    for (const VerticalChar& ch : VerticalChars(name)) {
        if (ch.written == SameFamilyMark) {
            columns.newColumn(alignedY);
        } else if (ch.written == NewNameMark) {
            columns.newColumn(start.y);
        } else {
            columns.put(ch.printed);
            if (IsSpace(ch.printed) && alignedY == start.y) {
                alignedY = columns.y();
            }
        }
    }
}

// The sender's name: a further name starts beside the text after the latest space.
void PutSenderNameV(PrintJob& job, std::string_view name, CardPoint start, double pitch)
{
    VerticalColumns columns(job, start, pitch);
    double alignedY = start.y;
    for (const VerticalChar& ch : VerticalChars(name)) {
        if (IsLineBreak(ch.written)) {
            columns.newColumn(alignedY);
            continue;
        }
        columns.put(ch.printed);
        if (IsSpace(ch.printed)) {
            alignedY = columns.y();
        }
    }
}

void PutSenderV(PrintJob& job, const PostcardFonts& fonts, const PrintEntry& sender)
{
    const PrintLayout& layout = job.state.settings.Layout;
    UseFont(job, fonts, SenderAddressFont);
    const double lastColumnX =
        PutBlockV(job, sender.PrintAddress, OnCard(layout.L_Send), fonts.height(SenderAddressFont));
    UseFont(job, fonts, SenderNameFont);
    const double namePitch = fonts.height(SenderNameFont);
    const CardPoint nameStart{lastColumnX - SenderColumnGap * namePitch, layout.L_Send.top + SenderNameIndent};
    PutSenderNameV(job, sender.PrintName, nameStart, namePitch);
    UseFont(job, fonts, CodeFont, SenderCodeScale);
    PutPostCode(job, sender.PrintPost, SenderCodeBoxes(OnCard(layout.L_SYNum)));
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

// How one writing direction lays out the recipient's and the sender's texts.
struct Direction
{
    RecipientPoints (*points)(const PrintLayout&);
    double (*block)(PrintJob&, std::string_view, CardPoint, double); // address, company, department
    void (*name)(PrintJob&, std::string_view, CardPoint, double);
    void (*sender)(PrintJob&, const PostcardFonts&, const PrintEntry&);
};

// The recipient's address, company, department and name, each in its own font.
void PutRecipient(PrintJob& job, const PostcardFonts& fonts, const PrintEntry& recipient, const Direction& direction)
{
    const RecipientPoints at = direction.points(job.state.settings.Layout);
    UseFont(job, fonts, AddressFont);
    direction.block(job, recipient.PrintAddress, OnCard(at.address), fonts.height(AddressFont));
    UseFont(job, fonts, CompanyFont);
    direction.block(job, recipient.PrintCompany, OnCard(at.company), fonts.height(CompanyFont));
    UseFont(job, fonts, DeptFont);
    direction.block(job, recipient.PrintDept, OnCard(at.dept), fonts.height(DeptFont));
    UseFont(job, fonts, NameFont);
    direction.name(job, recipient.PrintName, OnCard(at.name), fonts.height(NameFont));
}

void PutCard(PrintJob& job, int line, const Direction& direction)
{
    PrintLayout& layout = job.state.settings.Layout;
    const PostcardFonts fonts = ReadPostcardFonts(layout);

    PrintEntry blankRecipient;
    PrintEntry& recipient = EntryAt(job.table, line, blankRecipient);
    UseFont(job, fonts, CodeFont);
    PutPostCode(job, recipient.PrintPost, RecipientCodeBoxes(layout));
    // Prepared in place, so drawing the card again finds nothing left to replace.
    recipient.PrintName = PrepareRecipientName(recipient.PrintName, recipient.PrintHonorific,
                                               HonorificOnlyAfterLastName(recipient.PrintFlags));
    PutRecipient(job, fonts, recipient, direction);

    if (layout.AddrFromSet == 1) {
        PrintEntry blankSender;
        PrintEntry& sender = EntryAt(job.table, UsesSecondSender(recipient.PrintFlags) ? 2 : 1, blankSender);
        sender.PrintName = CutAtEndMarker(sender.PrintName);
        direction.sender(job, fonts, sender);
    }
}

// Draws the card; a failure of the printer or a font ends the card with a message, so a print loop
// goes on with the next one.
bool PutCardOrTell(PrintJob& job, int line, const Direction& direction)
{
    return DrawOrTell(job, [&] { PutCard(job, line, direction); });
}

} // namespace

bool PrintPostcardH(PrintJob& job, int line)
{
    BusyCursor busy(job.state.ui);
    job.positionLabel = PositionLabel(job.table, line);
    return PutCardOrTell(job, line, {HorizontalPoints, PutBlockH, PutNameH, PutSenderH});
}

bool PrintPostcardV(PrintJob& job, int line)
{
    job.positionLabel = PositionLabel(job.table, line);
    return PutCardOrTell(job, line, {VerticalPoints, PutBlockV, PutNameV, PutSenderV});
}

} // namespace talik
