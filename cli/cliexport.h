#pragma once
// talikcli export: the whole database, or the records named, to a CSV file.
namespace talik {

struct AppState;
struct CliOptions;

// export --out FILE [--records a,b,...] [--encoding cp932|utf-8]
int ExportCommand(AppState& state, const CliOptions& options);

} // namespace talik
