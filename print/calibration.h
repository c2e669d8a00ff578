#pragma once
// The calibration sheet: the card, or the cells of a label sheet's first page, as the printer puts
// them with the current offsets, with the postcard's code boxes and a millimetre crosshair at known
// points, so the user can measure the printer's error and correct it in the position adjustment.
#include <vector>

namespace talik {

class Canvas;
struct PrintLayout;

// A crosshair's place on the paper, millimetres from the top-left corner.
struct CalibrationMark
{
    double x, y;
};

// Where the crosshairs of the kind's sheet stand (the offsets of the layout included).
std::vector<CalibrationMark> CalibrationMarks(const PrintLayout& layout, char kind);
// Draws the sheet of `kind` ("V" postcard, "W" label sheet) on one page of `paper`; the caller ends
// the document.
void DrawCalibrationSheet(const PrintLayout& layout, char kind, Canvas& paper);

} // namespace talik
