#pragma once
// The print work file through which every print job passes, and the conversions the engines share.
#include <optional>
#include <string>
#include <string_view>

#include "listwin/listmodel.h"
#include "print/printjob.h"

namespace talik {

struct AppState;

// PrintKind: "V" postcards, "W" label sheet, "X" address list, " " none.
inline constexpr char PrintPostcards = 'V';
inline constexpr char PrintLabels = 'W';
inline constexpr char PrintList = 'X';

inline constexpr std::string_view PrintWorkFileName = "^PrintWK.QXS";
// The work file in the program's writable folder.
std::string PrintWorkFile(const AppState& state);

// Writes the full-line form for items first..last (0-based) of `list`: the sender line(s), then
// one line per record. False (the user told, no file left behind) when the job cannot be written
// or would not fit the print table.
bool WritePrintWork(AppState& state, const ListModel& list, int first, int last);
// Writes the record-number form (the address list).
bool WritePrintRecNos(AppState& state, const ListModel& list, int first, int last);
// Reads the work file into a table and deletes the file; nullopt (the user told) when it cannot be read.
std::optional<PrintTable> LoadPrintWork(AppState& state, bool recordNumberForm);

// The bytes WritePrintWork and WritePrintRecNos write, for a job that needs no file between the
// list and the table (talikcli's own print): nullopt (the user told) as the writes fail.
std::optional<std::string> PrintWorkBytes(AppState& state, const ListModel& list, int first, int last);
std::optional<std::string> PrintRecNoBytes(AppState& state, const ListModel& list, int first, int last);
// The table of work-file bytes, as LoadPrintWork reads the file.
PrintTable ParsePrintWork(std::string_view bytes, bool recordNumberForm);

// "０".."９" -> "〇".."九"; any other text unchanged.
std::string KanjiDigit(std::string_view ch);
// The full-width form of a character and the voicing mark that may follow it; `joinedMark` says
// whether `next` was taken into the result.
std::string WideKanaChar(std::string_view ch, std::string_view next, bool* joinedMark = nullptr);
// The line pitch the engines use for a font of `sizePoints`, millimetres.
inline double FontHeight(double sizePoints)
{
    return sizePoints * 0.36;
}

} // namespace talik
