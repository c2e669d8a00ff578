#pragma once
// talikcli import FILE [--map c0,c1,…,c18|auto] [--skip-first] [--check 3,7] [--encoding auto|cp932|utf-8]
// [--half-kana] [--fill-postal] [--on-duplicate add|skip|fill]: every line of a CSV file as a new
// address, as the window's import stores it. A slot's columns may be joined: "--map 2+3,1+4".
#include <optional>
#include <string>
#include <vector>

#include "interchange/csvimport.h"

namespace talik {

struct AppState;
struct CliOptions;

struct CliImport
{
    std::string file;
    CsvImportOptions options;
    std::optional<bool> vcard; // --format csv|vcard; without it the file's first line decides
    bool autoMap = false;      // --map auto: the columns as the header line names them
};

// Reads the import's arguments; nullopt with `error` set on a usage error.
std::optional<CliImport> ParseImportArguments(const std::vector<std::string>& args, std::string& error);

int ImportCommand(AppState& state, const CliOptions& options);

} // namespace talik
