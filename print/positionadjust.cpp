#include "print/positionadjust.h"

#include <cmath>

#include "print/numberparse.h"
#include "print/printjob.h"
#include "print/tenths.h"
#include "store/settings.h"

namespace talik {
namespace {

constexpr std::string_view TenthsUnit = "(1/10 mm)";
constexpr AdjustCaptions DesignCaptions{"印刷位置調整", "水平方向調整量", "垂直方向調整量", TenthsUnit, TenthsUnit};
constexpr long MaxTenths = 99999; // 9999.9 mm, far past any sheet
constexpr int MaxStartCell = 999;
constexpr int MinPercent = 1;
constexpr int MaxPercent = 999;

// The two stored values of a mode that keeps millimetres. `flipSecond`: the vertical offsets are
// stored downwards and shown upwards.
struct MillimetrePair
{
    float* first;
    float* second;
    bool flipSecond;
    bool allowNegative;
};

std::optional<MillimetrePair> MillimetresOf(char mode, Settings& settings)
{
    PrintLayout& layout = settings.Layout;
    switch (mode) {
    case AdjustPostcardOffset:
        return MillimetrePair{&layout.AddrDispX, &layout.AddrDispY, true, true};
    case AdjustLabelOffset:
        return MillimetrePair{&layout.AddrDispXT, &layout.AddrDispYT, true, true};
    case AdjustListOffset:
        return MillimetrePair{&settings.AddrDispXL, &settings.AddrDispYL, true, true};
    case AdjustCellSize:
        return MillimetrePair{&layout.AddrBoxWidth, &layout.AddrBoxHeight, false, false};
    case AdjustGaps:
        return MillimetrePair{&layout.AddrGapH, &layout.AddrGapV, false, false};
    default:
        return std::nullopt;
    }
}

std::optional<float> TypedMillimetres(std::string_view typed, bool allowNegative)
{
    const std::optional<TypedNumber> number = ParseStrictNumber(typed);
    if (!number || std::fabs(number->value()) > MaxTenths || (number->negative && !allowNegative)) {
        return std::nullopt;
    }
    return TenthsToMillimetres(typed);
}

std::optional<int> TypedStartCell(std::string_view typed)
{
    const std::optional<TypedNumber> number = ParseStrictNumber(typed);
    if (!number || !number->isWhole() || number->value() < 1 || number->value() > MaxStartCell) {
        return std::nullopt;
    }
    return static_cast<int>(number->value());
}

} // namespace

AdjustCaptions AdjustCaptionsOf(char mode)
{
    switch (mode) {
    case AdjustPostcardOffset:
        return {"はがき印刷位置調整", DesignCaptions.first, DesignCaptions.second, TenthsUnit, TenthsUnit};
    case AdjustLabelOffset:
        return {"タックシール印刷位置調整", DesignCaptions.first, DesignCaptions.second, TenthsUnit, TenthsUnit};
    case AdjustListOffset:
        return {"一覧表印刷位置調整", DesignCaptions.first, DesignCaptions.second, TenthsUnit, TenthsUnit};
    case AdjustCellSize:
        return {"マス目サイズ設定", "１マスの幅", "１マスの高さ", TenthsUnit, TenthsUnit};
    case AdjustStartCell:
        return {"開始マス目設定", "開始行", "開始列", "（行）", "（列）"};
    case AdjustGaps:
        return {"マス目ギャップ設定", "水平方向ギャップ", "垂直方向ギャップ", TenthsUnit, TenthsUnit};
    default:
        return DesignCaptions;
    }
}

bool IsAdjustMode(char mode)
{
    switch (mode) {
    case AdjustPostcardOffset:
    case AdjustLabelOffset:
    case AdjustListOffset:
    case AdjustCellSize:
    case AdjustStartCell:
    case AdjustGaps:
        return true;
    default:
        return false;
    }
}

AdjustValues ShownAdjustValues(char mode, const Settings& settings, const LabelOptions* startCell)
{
    if (mode == AdjustStartCell) {
        if (startCell == nullptr) {
            return {};
        }
        return {std::to_string(startCell->startRow), std::to_string(startCell->startColumn)};
    }
    // Read only: the pair points into a copy.
    Settings copy = settings;
    const std::optional<MillimetrePair> pair = MillimetresOf(mode, copy);
    if (!pair) {
        return {};
    }
    const long second = ShownTenths(*pair->second);
    return {std::to_string(ShownTenths(*pair->first)), std::to_string(pair->flipSecond ? -second : second)};
}

bool StoreAdjustValues(char mode, const AdjustValues& typed, Settings& settings, LabelOptions* startCell)
{
    if (mode == AdjustStartCell) {
        const std::optional<int> row = TypedStartCell(typed.first);
        const std::optional<int> column = TypedStartCell(typed.second);
        if (!row || !column || startCell == nullptr) {
            return false;
        }
        startCell->startRow = *row;
        startCell->startColumn = *column;
        return true;
    }
    const std::optional<MillimetrePair> pair = MillimetresOf(mode, settings);
    if (!pair) {
        return false;
    }
    const std::optional<float> first = TypedMillimetres(typed.first, pair->allowNegative);
    const std::optional<float> second = TypedMillimetres(typed.second, pair->allowNegative);
    if (!first || !second) {
        return false;
    }
    *pair->first = *first;
    *pair->second = pair->flipSecond ? 0.0f - *second : *second;
    return true;
}

std::string ShownScalePercent(float ratio)
{
    return std::to_string(static_cast<long>(std::floor(static_cast<double>(ratio) * 100 + 0.5)));
}

std::optional<float> ListRatioFromPercent(std::string_view typed)
{
    const std::optional<TypedNumber> number = ParseStrictNumber(typed);
    if (!number || !number->isWhole() || number->value() < MinPercent || number->value() > MaxPercent) {
        return std::nullopt;
    }
    // As the settings reader makes it from the stored percentage, so the writer stores it back unchanged.
    return static_cast<float>(number->value()) / 100.0f;
}

} // namespace talik
