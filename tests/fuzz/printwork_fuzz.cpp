// The print work file of any content, in both of its forms: read into the print table, then the
// full-line form drawn as postcards in both writings and as label sheets, on a canvas that checks
// every text it is given.
#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "listwin/appstate.h"
#include "print/canvas.h"
#include "print/engines.h"
#include "print/printwork.h"
#include "tests/fuzz/fuzzsupport.h"

namespace {

using namespace talik;

// Enough cards and pages to reach every line a small input holds, few enough to keep a run quick.
constexpr int MaxCardsDrawn = 40;
constexpr int MaxPagesDrawn = 3;

// Draws nothing; every text that reaches it must be well-formed, every measure finite.
class CheckingCanvas final : public Canvas
{
public:
    void setFont(const std::string& name, double sizePoints) override
    {
        m_name = name;
        m_size = sizePoints;
    }
    std::string fontName() const override { return m_name; }
    double fontSize() const override { return m_size; }
    double textWidth(std::string_view utf8) override
    {
        fuzz::Require(fuzz::IsWellFormedUtf8(utf8), "a measured text is well-formed UTF-8");
        return static_cast<double>(utf8.size()) * m_size * 0.2;
    }
    void drawText(double, double, std::string_view utf8) override
    {
        fuzz::Require(fuzz::IsWellFormedUtf8(utf8), "a drawn text is well-formed UTF-8");
    }
    void drawBox(double, double, double, double) override {}
    void newPage() override {}
    bool endDocument() override { return true; }
    void clear() override {}

private:
    std::string m_name;
    double m_size = 10;
};

void WriteWorkFile(const AppState& state, std::span<const std::uint8_t> input)
{
    fuzz::WriteScratchFile(std::string(PrintWorkFileName), input);
    fuzz::Require(PrintWorkFile(state) == (fuzz::ScratchFolder() / PrintWorkFileName).string(),
                  "the work file is the one in the writable folder");
}

void CheckTable(const PrintTable& table)
{
    fuzz::Require(table.PrintLineCount == static_cast<int>(table.entries.size()), "the line count matches");
    fuzz::Require(table.PrintLineCount <= PrintTable::Capacity, "the table holds no more than its capacity");
    for (const PrintEntry& entry : table.entries) {
        for (const std::string* text : {&entry.PrintPost, &entry.PrintAddress, &entry.PrintCompany, &entry.PrintDept,
                                        &entry.PrintName, &entry.PrintHonorific, &entry.PrintFlags}) {
            fuzz::Require(fuzz::IsWellFormedUtf8(*text), "a print table text is well-formed UTF-8");
        }
    }
}

void DrawFullLineForm(AppState& state, PrintTable& table)
{
    CheckingCanvas preview;
    PrintJob job(state, table);
    job.target.preview = &preview;
    const int lastCard = std::min(table.PrintLineCount, MaxCardsDrawn);
    for (int line = 3; line <= lastCard; ++line) {
        PrintPostcardV(job, line);
        PrintPostcardH(job, line);
    }
    for (int page = 1; page <= MaxPagesDrawn; ++page) {
        PrintLabelPage(job, page);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::SilentInteraction ui;
    fuzz::StillClock clock;
    AppState state{ui, clock};
    const std::string folder = fuzz::ScratchFolder().string() + "/";
    state.ProgramFolder = folder;
    state.WritableFolder = folder;
    auto input = fuzz::InputBytes(data, size);

    WriteWorkFile(state, input);
    if (auto numbers = LoadPrintWork(state, true)) {
        CheckTable(*numbers);
    }
    WriteWorkFile(state, input);
    if (auto lines = LoadPrintWork(state, false)) {
        CheckTable(*lines);
        DrawFullLineForm(state, *lines);
    }
    return 0;
}
