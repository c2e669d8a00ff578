#pragma once
// talikcli layout save|load FILE --kind postcard|label: the mode's print layout to and from a
// print-settings file, as the print dialogs save and load it.
#include "cli/clioptions.h"

namespace talik {

struct AppState;

int LayoutCommand(AppState& state, const CliOptions& options);

} // namespace talik
