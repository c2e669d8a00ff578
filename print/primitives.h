#pragma once
// The four ways the engines put text on paper and on the preview. Each draws on the preview at
// PreviewScale of the position, and, when printing, on the printer at the position plus the offset
// the settings give for it.
#include <span>
#include <string>
#include <string_view>

#include "print/canvas.h"
#include "print/printjob.h"

namespace talik {

// Sets the font on the printer (size in points) and on the preview (size × PreviewScale).
void SetPrintFont(PrintJob& job, const std::string& name, double sizePoints);

// Horizontal postcard text; printer offset "AddrDispX"/"AddrDispY" (the card's, as for PutChar); with "AddrNumChange"
// digits become full-width kanji numerals.
void PutRun(PrintJob& job, double x, double y, std::string_view text);
// One character of a postal code or of vertical text; printer offset "AddrDispX"/"AddrDispY"; with
// "AddrNumChange" KanjiDigit; "－" and "ー" are drawn with the "@" font and the font restored.
void PutChar(PrintJob& job, double x, double y, std::string_view ch);
// Label-sheet text; printer offset "AddrDispXT"/"AddrDispYT".
void PutLabelText(PrintJob& job, double x, double y, std::string_view text);
// Label-sheet pieces of one row at `y`, each where PutLabelText would put it alone.
void PutLabelRow(PrintJob& job, double y, std::span<const PlacedText> pieces);
// Address-list text; printer position ListRatio × (x, y) plus "AddrDispXL"/"AddrDispYL".
void PutListText(PrintJob& job, double x, double y, std::string_view text);
// The address list's font: size × ListRatio on the printer, × PreviewScale on the preview (which for
// the list already holds ListRatio, so SetPrintFont with a scaled size would scale the preview twice).
void SetListFont(PrintJob& job, const std::string& name, double sizePoints);
// The address list's scale (the print scale setting).
double ListRatio(const PrintJob& job);

} // namespace talik
