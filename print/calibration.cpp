#include "print/calibration.h"

#include <cstdio>
#include <string>

#include "print/canvas.h"
#include "print/postcardlayout.h"
#include "print/printwork.h"
#include "store/settings.h"

namespace talik {
namespace {

constexpr double CrossArm = 4;  // each arm of a crosshair, millimetres
constexpr double SheetLeft = 5; // the label grid's origin on the sheet
constexpr double SheetTop = 5;
constexpr double CalibrationSheetWidth = 200; // the area the label engine prints in
constexpr double CalibrationSheetHeight = 272;
constexpr const char* CalibrationFont = "ＭＳ ゴシック";

// The postcard's known points, on the card.
constexpr CalibrationMark CardPoints[] = {{10, 10}, {90, 10}, {50, 74}, {10, 138}, {90, 138}};

std::string Millimetres(double x, double y)
{
    char text[64];
    std::snprintf(text, sizeof text, "X=%.1f Y=%.1f mm", x, y);
    return text;
}

void DrawCross(Canvas& paper, const CalibrationMark& mark, const CalibrationMark& named)
{
    paper.drawBox(mark.x - CrossArm, mark.y, 2 * CrossArm, 0);
    paper.drawBox(mark.x, mark.y - CrossArm, 0, 2 * CrossArm);
    paper.drawText(mark.x + 1, mark.y + 1, Millimetres(named.x, named.y));
}

struct LabelGrid
{
    int columns = 0, rows = 0;
    double pitchX = 0, pitchY = 0;
};

LabelGrid GridOf(const PrintLayout& layout)
{
    LabelGrid grid;
    grid.pitchX = layout.AddrBoxWidth + layout.AddrGapH;
    grid.pitchY = layout.AddrBoxHeight + layout.AddrGapV;
    if (grid.pitchX > 0 && grid.pitchY > 0) {
        grid.columns = static_cast<int>((CalibrationSheetWidth + layout.AddrGapH) / grid.pitchX);
        grid.rows = static_cast<int>((CalibrationSheetHeight + layout.AddrGapV) / grid.pitchY);
    }
    return grid;
}

void DrawPostcardSheet(const PrintLayout& layout, Canvas& paper)
{
    const double dx = layout.AddrDispX, dy = layout.AddrDispY;
    paper.drawBox(dx, dy, PostcardWidth, PostcardHeight);
    for (const CardBox& box : RecipientCodeBoxOutlines(layout)) {
        paper.drawBox(box.x + dx, box.y + dy, box.width, box.height);
    }
    for (const CalibrationMark& point : CardPoints) {
        DrawCross(paper, {point.x + dx, point.y + dy}, point);
    }
}

void DrawLabelSheet(const PrintLayout& layout, Canvas& paper)
{
    const LabelGrid grid = GridOf(layout);
    for (int row = 0; row < grid.rows; ++row) {
        for (int column = 0; column < grid.columns; ++column) {
            const double x = SheetLeft + column * grid.pitchX;
            const double y = SheetTop + row * grid.pitchY;
            paper.drawBox(x + layout.AddrDispXT, y + layout.AddrDispYT, layout.AddrBoxWidth, layout.AddrBoxHeight);
            DrawCross(paper, {x + layout.AddrDispXT + 5, y + layout.AddrDispYT + 5}, {x + 5, y + 5});
        }
    }
}

} // namespace

std::vector<CalibrationMark> CalibrationMarks(const PrintLayout& layout, char kind)
{
    std::vector<CalibrationMark> marks;
    if (kind == PrintPostcards) {
        for (const CalibrationMark& point : CardPoints) {
            marks.push_back({point.x + layout.AddrDispX, point.y + layout.AddrDispY});
        }
        return marks;
    }
    const LabelGrid grid = GridOf(layout);
    for (int row = 0; row < grid.rows; ++row) {
        for (int column = 0; column < grid.columns; ++column) {
            marks.push_back({SheetLeft + column * grid.pitchX + layout.AddrDispXT + 5,
                             SheetTop + row * grid.pitchY + layout.AddrDispYT + 5});
        }
    }
    return marks;
}

void DrawCalibrationSheet(const PrintLayout& layout, char kind, Canvas& paper)
{
    paper.setFont(CalibrationFont, 7);
    if (kind == PrintPostcards) {
        DrawPostcardSheet(layout, paper);
    } else {
        DrawLabelSheet(layout, paper);
    }
}

} // namespace talik
