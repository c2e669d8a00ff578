#include "ui/frame3d.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace talik {
namespace {

std::string Describe(const BevelLine& line)
{
    const char* colour = line.colour == BevelLight ? "light" : line.colour == BevelDark ? "dark" : "other";
    return "(" + std::to_string(line.x1) + "," + std::to_string(line.y1) + ")-(" + std::to_string(line.x2) + "," +
           std::to_string(line.y2) + ") " + colour;
}

std::vector<std::string> Describe(const std::vector<BevelLine>& lines)
{
    std::vector<std::string> described;
    for (const auto& line : lines) {
        described.push_back(Describe(line));
    }
    return described;
}

// A control at x 10..39, y 20..59.
constexpr PixelRect Control{10, 20, 30, 40};

TEST(Draw3DFrameLines, RaisedIsLightOnTopAndLeftDarkOnBottomAndRight)
{
    EXPECT_EQ(BevelLight, (Rgb{255, 255, 255}));
    EXPECT_EQ(BevelDark, (Rgb{64, 64, 64}));
    EXPECT_EQ(Describe(Draw3DFrameLines(Control, true, 2)), (std::vector<std::string>{
                                                                "(9,19)-(40,19) light",
                                                                "(9,19)-(9,60) light",
                                                                "(9,60)-(40,60) dark",
                                                                "(40,19)-(40,60) dark",
                                                                "(8,18)-(41,18) light",
                                                                "(8,18)-(8,61) light",
                                                                "(8,61)-(41,61) dark",
                                                                "(41,18)-(41,61) dark",
                                                            }));
}

TEST(Draw3DFrameLines, SunkenSwapsTheColoursOnTheSameLines)
{
    EXPECT_EQ(Describe(Draw3DFrameLines(Control, false, 2)), (std::vector<std::string>{
                                                                 "(9,19)-(40,19) dark",
                                                                 "(9,19)-(9,60) dark",
                                                                 "(9,60)-(40,60) light",
                                                                 "(40,19)-(40,60) light",
                                                                 "(8,18)-(41,18) dark",
                                                                 "(8,18)-(8,61) dark",
                                                                 "(8,61)-(41,61) light",
                                                                 "(41,18)-(41,61) light",
                                                             }));
}

TEST(Draw3DFrameLines, DefaultWidthIsTwoAndZeroDrawsNothing)
{
    EXPECT_EQ(Draw3DFrameLines(Control, true).size(), 8u);
    EXPECT_TRUE(Draw3DFrameLines(Control, true, 0).empty());
}

} // namespace
} // namespace talik
