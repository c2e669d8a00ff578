#pragma once
// talikcli postal: the national postal code list, by code or by address.
namespace talik {

struct AppState;
struct CliOptions;

// postal CODE | postal --address TEXT: one line per place, CODE<TAB>address (and <TAB>name for a
// large office); exit 1 when nothing matches.
int PostalCommand(AppState& state, const CliOptions& options);

} // namespace talik
