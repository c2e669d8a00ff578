// talikcli's command line of any content (the input split at NUL bytes into arguments): parsed,
// and the searches of a search command turned into their steps.
#include <cstddef>
#include <cstdint>
#include <string>

#include "cli/clioptions.h"
#include "cli/clisearch.h"
#include "tests/fuzz/fuzzsupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace talik;
    using fuzz::Require;
    std::string error;
    const auto options = ParseCliOptions(fuzz::InputArguments(data, size), error);
    if (!options) {
        Require(!error.empty(), "a refused command line says why");
        return 0;
    }
    Require(!options->command.empty(), "an accepted command line names a command");
    Require(options->dbNo >= 1 && options->dbNo <= 10, "the database number is 1 to 10");
    Require(options->mode >= 0 && options->mode <= 99, "the mode is 0 to 99");
    if (options->command != "search") {
        return 0;
    }
    Require(!options->searches.empty(), "a search command holds at least one search");
    std::string stepError;
    const auto steps = ParseSearchSteps(options->searches, stepError);
    Require(steps ? steps->size() == options->searches.size() : !stepError.empty(),
            "every search becomes one step, or the refusal says why");
    return 0;
}
