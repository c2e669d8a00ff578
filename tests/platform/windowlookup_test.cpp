#include "platform/windowlookup.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <vector>

#include "tests/support/envguard.h"

namespace talik {
namespace {

TEST(FirstTitleContaining, IgnoresTheCaseOfLatinLettersAndTakesTheFirstMatch)
{
    const std::vector<std::string> titles = {"端末", "harupo - 宛名", "HARUPO 2", "Rinmaro (Ver. 7.01) Mode 03"};
    EXPECT_EQ(FirstTitleContaining(titles, "Harupo"), 1);
    EXPECT_EQ(FirstTitleContaining(titles, "rinmaro (ver. 7.01) mode 03"), 3);
    EXPECT_EQ(FirstTitleContaining(titles, "宛名"), 1);
}

TEST(FirstTitleContaining, GivesMinusOneWhenNothingMatches)
{
    EXPECT_EQ(FirstTitleContaining({"Rinmaro (Ver. 7.01) Mode 00"}, "Mode 01"), -1);
    EXPECT_EQ(FirstTitleContaining({"ＨＡＲＵＰＯ"}, "Harupo"), -1); // full-width letters are not Latin ones
    EXPECT_EQ(FirstTitleContaining({}, "Harupo"), -1);
}

TEST(FindWindowLike, FindsNothingWithoutADisplay)
{
    for (const char* display : {static_cast<const char*>(nullptr), "", ":4095"}) {
        test::EnvGuard env;
        if (display != nullptr) {
            env.set("DISPLAY", display);
        } else {
            env.unset("DISPLAY");
        }
        FoundWindow found = FindWindowLike("Harupo");
        EXPECT_EQ(found.id, 0u);
        EXPECT_EQ(found.title, "");
        EXPECT_FALSE(RestoreAndActivate(0x400001));
    }
}

} // namespace
} // namespace talik
