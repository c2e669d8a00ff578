// The first load at start-up and the password prompt of a load: loading does not wait for the
// splash, and a cancelled prompt ends the program unless there is another database to go back to.
#include <algorithm>

#include <gtest/gtest.h>

#include "store/database.h"
#include "tests/support/storefixture.h"

namespace talik::test {
namespace {

// A current main header protected by the password "AB" (salt 7: digits 4 1 4 2, each plus 7).
std::vector<std::uint8_t> HeaderWithPasswordAB(std::int32_t lastRecNo)
{
    auto header = HandMainHeader(lastRecNo);
    const std::uint8_t stored[] = {7, 4, 11, 8, 11, 9};
    Put(header, 330, "", 30);
    std::copy(std::begin(stored), std::end(stored), header.begin() + 330);
    return header;
}

class PasswordReload : public StoreTest
{
protected:
    void SetUp() override
    {
        WriteRecords(mainPath(), {HeaderWithPasswordAB(2), HandAddress("\xb1", "a")});
        WriteRecords(dir.str() + "/MRPDAT02.QX1", {HeaderWithPasswordAB(1)});
    }

    int prompts() const
    {
        return static_cast<int>(std::count_if(ui.shown.begin(), ui.shown.end(),
                                              [](const ShownMessage& shown) { return shown.kind == "password"; }));
    }
};

TEST_F(PasswordReload, CancelWhenTheOpenDatabaseIsLoadedAgainEndsTheProgram)
{
    ui.passwordAnswers = {"AB"};
    load();
    // The list columns changed: the same database is loaded again, and the user cancels. A second
    // prompt would be the fault; it is answered so that the load cannot go round for ever.
    state.TablesLoaded = false;
    ui.passwordAnswers = {std::nullopt, "AB"};
    EXPECT_EQ(LoadTables(state), LoadResult::EndProgram);
    EXPECT_EQ(prompts(), 2);
    EXPECT_EQ(state.tables.TotalCount, 0);
}

TEST_F(PasswordReload, CancelOfTheDatabaseFallenBackToEndsTheProgram)
{
    state.DbNo = 2;
    ui.passwordAnswers = {"AB"};
    load();
    // Database 1 is chosen and its prompt cancelled; database 2, the one open before, asks again
    // and is cancelled too.
    state.DbNo = 1;
    state.TablesLoaded = false;
    ui.passwordAnswers = {std::nullopt, std::nullopt, "AB"};
    EXPECT_EQ(LoadTables(state), LoadResult::EndProgram);
    EXPECT_EQ(prompts(), 3);
    EXPECT_EQ(state.DbNo, 2);
}

// Stands for the splash's timer: it fires only after many rounds of events, so a load that waited
// for it would let events run and the clock sleep before going on.
class LateSplashInteraction : public ScriptedInteraction
{
public:
    AppState* state = nullptr;

    void processEvents() override
    {
        if (++eventsRun >= 100) {
            state->SplashDone = true;
        }
    }
};

class FirstLoad : public ::testing::Test
{
protected:
    FirstLoad()
    {
        state.ProgramFolder = dir.str() + "/";
        state.WritableFolder = dir.str() + "/";
        state.DataPath = dir.str();
        WriteRecords(dir.str() + "/MRPDAT01.QX1",
                     {HandMainHeader(3), HandAddress("\xb1", "a"), HandAddress("\xb6", "k")});
        ui.state = &state;
    }

    TempDir dir;
    LateSplashInteraction ui;
    FixedClock clock;
    AppState state{ui, clock};
};

TEST_F(FirstLoad, LoadsAtOnceWhileTheSplashIsStillUp)
{
    state.SplashDone = false; // the splash shows and its timer has not ticked yet
    EXPECT_EQ(LoadTables(state), LoadResult::Loaded);
    EXPECT_TRUE(state.LoadBegun);
    EXPECT_FALSE(state.SplashDone);
    EXPECT_EQ(clock.slept, 0);
    EXPECT_EQ(state.tables.TotalCount, 2);
    EXPECT_EQ(state.tables.GroupCount(5), 1);
}

} // namespace
} // namespace talik::test
