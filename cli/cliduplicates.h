#pragma once
// talikcli commands of the duplicate review: duplicates, merge, not-duplicate, unmerge.
namespace talik {

struct AppState;
struct CliOptions;

// duplicates [--min-score S]: "a<TAB>b<TAB>score<TAB>reasons" per pair, best first; by default the
// pairs the review window proposes.
int DuplicatesCommand(AppState& state, const CliOptions& options);
// merge A B [--prefer A|B]: B into A (every differing field from B with --prefer B); prints A.
int MergeCommand(AppState& state, const CliOptions& options);
// not-duplicate A B: remembers that A and B are two people.
int NotDuplicateCommand(AppState& state, const CliOptions& options);
// unmerge A: undoes the last merge into A; prints the number the other record came back at.
int UnmergeCommand(AppState& state, const CliOptions& options);

} // namespace talik
