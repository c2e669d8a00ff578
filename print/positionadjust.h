#pragma once
// What the position-adjustment dialog shows and stores in each of its modes (printer offsets of
// the postcard, the label sheet and the list, the label cell size, the start cell, the gaps), and
// the list's reduction ratio.
#include <optional>
#include <string>
#include <string_view>

namespace talik {

struct LabelOptions;
struct Settings;

// The mode letters, handed over in PrintKind.
inline constexpr char AdjustPostcardOffset = 'H';
inline constexpr char AdjustLabelOffset = 'T';
inline constexpr char AdjustCellSize = 'W';
inline constexpr char AdjustStartCell = 'P';
inline constexpr char AdjustGaps = 'G';
inline constexpr char AdjustListOffset = 'L';

struct AdjustCaptions
{
    std::string_view window;
    std::string_view first, second;
    std::string_view firstUnit, secondUnit;
};

// The captions of a mode; an unknown mode keeps the design captions.
AdjustCaptions AdjustCaptionsOf(char mode);
bool IsAdjustMode(char mode);

struct AdjustValues
{
    std::string first, second;
};

// The two boxes as the dialog opens: tenths of the stored millimetres (the vertical offsets with
// the opposite sign, so that a positive entry moves the print upwards), or the start cell as is.
// Empty boxes for an unknown mode, or for the start cell without label options.
AdjustValues ShownAdjustValues(char mode, const Settings& settings, const LabelOptions* startCell);

// Stores the two typed boxes. False (nothing stored) when either is no acceptable number: not a
// number at all, a start cell that is not a whole number from 1 to 999, a negative cell size or
// gap, or more than 9999.9 mm.
bool StoreAdjustValues(char mode, const AdjustValues& typed, Settings& settings, LabelOptions* startCell);

// The list's reduction ratio as a whole percentage, and back (1 to 999 %, whole numbers only).
std::string ShownScalePercent(float ratio);
std::optional<float> ListRatioFromPercent(std::string_view typed);

} // namespace talik
