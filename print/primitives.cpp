// The four ways the engines put text on paper and on the preview: the preview always (at
// PreviewScale of the position), the printer only while printing (at the position plus the offset
// the settings give for the kind of text).
#include "print/primitives.h"

#include <vector>

#include "listwin/appstate.h"
#include "platform/codec.h"
#include "print/printwork.h"

namespace talik {
namespace {

constexpr std::string_view VerticalDash = "－";  // drawn upright in vertical text
constexpr std::string_view LongVowelMark = "ー"; // turned with the column, as vertical fonts draw it
constexpr std::string_view VerticalFontPrefix = "@";

const PrintLayout& Layout(const PrintJob& job)
{
    return job.state.settings.Layout;
}

bool NumeralsAsKanji(const PrintJob& job)
{
    return Layout(job).AddrNumChange != 0;
}

// Draws `text` on the preview at (x, y) × PreviewScale and, while printing, on the printer at
// (printerX, printerY).
void Draw(PrintJob& job, double x, double y, double printerX, double printerY, std::string_view text)
{
    if (job.target.printing()) {
        job.target.printer->drawText(printerX, printerY, text);
    }
    if (job.target.preview != nullptr) {
        const double scale = job.target.PreviewScale;
        job.target.preview->drawText(x * scale, y * scale, text);
    }
}

// "1" and "１" -> "一": every digit, half- or full-width, as a kanji numeral.
std::string DigitsAsKanji(std::string_view text)
{
    std::string out;
    while (!text.empty()) {
        const std::size_t length = Utf8CharLength(text);
        const std::string_view ch = text.substr(0, length);
        if (length == 1 && ch[0] >= '0' && ch[0] <= '9') {
            out += KanjiDigit(WideKanaChar(ch, {}));
        } else {
            out += KanjiDigit(ch);
        }
        text.remove_prefix(length);
    }
    return out;
}

// Switches a canvas to the vertical variant of its current font for the life of the object.
class VerticalFont
{
public:
    explicit VerticalFont(Canvas* canvas) : m_canvas(canvas)
    {
        if (m_canvas != nullptr) {
            m_name = m_canvas->fontName();
            m_size = m_canvas->fontSize();
            m_canvas->setFont(std::string(VerticalFontPrefix) + m_name, m_size);
        }
    }
    ~VerticalFont()
    {
        if (m_canvas != nullptr) {
            m_canvas->setFont(m_name, m_size);
        }
    }
    VerticalFont(const VerticalFont&) = delete;
    VerticalFont& operator=(const VerticalFont&) = delete;

private:
    Canvas* m_canvas;
    std::string m_name;
    double m_size = 0;
};

void SetFonts(PrintJob& job, const std::string& name, double printerSize, double previewSize)
{
    if (job.target.printing()) {
        job.target.printer->setFont(name, printerSize);
    }
    if (job.target.preview != nullptr) {
        job.target.preview->setFont(name, previewSize);
    }
}

} // namespace

void SetPrintFont(PrintJob& job, const std::string& name, double sizePoints)
{
    SetFonts(job, name, sizePoints, sizePoints * job.target.PreviewScale);
}

void SetListFont(PrintJob& job, const std::string& name, double sizePoints)
{
    SetFonts(job, name, sizePoints * ListRatio(job), sizePoints * job.target.PreviewScale);
}

void PutRun(PrintJob& job, double x, double y, std::string_view text)
{
    const std::string shown = NumeralsAsKanji(job) ? DigitsAsKanji(text) : std::string(text);
    // The card's own offset, as for its postal codes: the position adjustment moves the whole card.
    Draw(job, x, y, Layout(job).AddrDispX + x, Layout(job).AddrDispY + y, shown);
}

void PutChar(PrintJob& job, double x, double y, std::string_view ch)
{
    const std::string shown = NumeralsAsKanji(job) ? KanjiDigit(ch) : std::string(ch);
    const double printerX = Layout(job).AddrDispX + x;
    const double printerY = Layout(job).AddrDispY + y;
    if (shown != VerticalDash && shown != LongVowelMark) {
        Draw(job, x, y, printerX, printerY, shown);
        return;
    }
    VerticalFont printerFont(job.target.printing() ? job.target.printer : nullptr);
    VerticalFont previewFont(job.target.preview);
    Draw(job, x, y, printerX, printerY, shown);
}

void PutLabelText(PrintJob& job, double x, double y, std::string_view text)
{
    Draw(job, x, y, Layout(job).AddrDispXT + x, Layout(job).AddrDispYT + y, text);
}

void PutLabelRow(PrintJob& job, double y, std::span<const PlacedText> pieces)
{
    // Each piece's position is worked out as PutLabelText works it out, so a row lands where its
    // pieces drawn one by one would.
    std::vector<PlacedText> placed(pieces.begin(), pieces.end());
    if (job.target.printing()) {
        for (std::size_t i = 0; i < pieces.size(); ++i) {
            placed[i].xMm = Layout(job).AddrDispXT + pieces[i].xMm;
        }
        job.target.printer->drawRow(Layout(job).AddrDispYT + y, placed);
    }
    if (job.target.preview != nullptr) {
        const double scale = job.target.PreviewScale;
        for (std::size_t i = 0; i < pieces.size(); ++i) {
            placed[i].xMm = pieces[i].xMm * scale;
        }
        job.target.preview->drawRow(y * scale, placed);
    }
}

void PutListText(PrintJob& job, double x, double y, std::string_view text)
{
    const Settings& settings = job.state.settings;
    const double ratio = ListRatio(job);
    Draw(job, x, y, ratio * x + settings.AddrDispXL, ratio * y + settings.AddrDispYL, text);
}

double ListRatio(const PrintJob& job)
{
    return job.state.settings.AddrPrtScale; // the setting is kept as the factor: "85" reads as 0.85
}

} // namespace talik
