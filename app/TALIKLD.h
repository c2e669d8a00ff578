#pragma once

namespace talik {

// The address book's start: the mode from the command line, the hand-over to a running copy of
// the same mode, the start-up form and the list window. Returns the program's exit code.
int Main(int argc, char** argv);

} // namespace talik
