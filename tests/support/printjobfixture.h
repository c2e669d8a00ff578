#pragma once
// A print job on the shared state with scripted seams, for tests of the engines and the print loop.
#include <gtest/gtest.h>

#include "listwin/appstate.h"
#include "print/printjob.h"
#include "tests/support/scripted.h"

namespace talik::test {

class PrintJobTest : public ::testing::Test
{
protected:
    ScriptedInteraction ui;
    FixedClock clock;
    AppState state{ui, clock};
    PrintTable table;
    PrintJob job{state, table};
};

} // namespace talik::test
