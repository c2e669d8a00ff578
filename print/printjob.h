#pragma once
// A print job as the engines see it: the lines of the print table, where to draw, the options of
// the print dialog, and what the engines report back to it.
#include <string>
#include <vector>

#include "print/canvas.h"
#include "store/sidestore.h"

namespace talik {

struct AppState;

// One line of the print work file: a sender or a recipient (full-line form), or a record number
// in PrintPost (record-number form).
struct PrintEntry
{
    std::string PrintPost;
    std::string PrintAddress;
    std::string PrintCompany;
    std::string PrintDept;
    std::string PrintName; // ends in "!", which the engines replace by a full-width space and the honorific
    std::string PrintHonorific;
    std::string PrintFlags;              // "0", "1", "10" or "11"
    std::vector<JointName> JointNames{}; // the recipient's joint names from the side store
};

struct PrintTable
{
    static constexpr int Capacity = 3010;

    std::vector<PrintEntry> entries; // entries[0] is line 1
    int PrintLineCount = 0;
    int PrintPos = 0; // the card on show (a line number) or the page on show

    // Line n (1-based); lines past the end read as empty.
    const PrintEntry& line(int n) const;
};

// Where the engines draw: the printer (only when printing) and the preview picture (always, when
// there is one). The preview is drawn at PreviewScale of the millimetre positions and font sizes.
struct PrintTarget
{
    Canvas* printer = nullptr;
    Canvas* preview = nullptr;
    double PreviewScale = 0.6;

    bool printing() const { return printer != nullptr; }
};

// The label-sheet options of the print dialog.
struct LabelOptions
{
    int startRow = 1;
    int startColumn = 1;
    bool frames = false;     // cell frames on paper too
    bool postalMark = false; // "〒" before the postal code
};

struct PrintJob
{
    PrintJob(AppState& state, PrintTable& table) : state(state), table(table) {}

    AppState& state; // the layout settings (fonts, offsets, positions), messages, today's date, the database
    PrintTable& table;
    PrintTarget target;
    LabelOptions label;

    // What the engines report to the dialog.
    std::string positionLabel; // the postcard on show
    std::string pageLabel;     // "1 / 3"
    int PrintPageCount = 0;
};

} // namespace talik
