// Loading a database from files of any content. The input is the pair of files: its first two
// bytes (little-endian) are the length of the main file, which follows; the rest is the extra file.
// LoadTables files the records, then every filed record is read back from both files and each of
// its fields decoded, as the editor and talikcli show them.
#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "listwin/appstate.h"
#include "listwin/currentrecord.h"
#include "store/database.h"
#include "store/fields.h"
#include "tests/fuzz/fuzzsupport.h"

namespace {

using namespace talik;
using talik::fuzz::Require;

struct FilePair
{
    std::span<const std::uint8_t> main;
    std::span<const std::uint8_t> extra;
};

FilePair SplitInput(std::span<const std::uint8_t> input)
{
    if (input.size() < 2) {
        return {input, {}};
    }
    std::size_t mainLength = input[0] | (static_cast<std::size_t>(input[1]) << 8);
    std::span<const std::uint8_t> rest = input.subspan(2);
    mainLength = std::min(mainLength, rest.size());
    return {rest.first(mainLength), rest.subspan(mainLength)};
}

// Every filed row is where RecPos says, belongs to a live record and shows well-formed text.
void CheckFiledRows(const Tables& tables)
{
    int filed = 0;
    for (int group = 0; group < GroupTotal; ++group) {
        for (int row1 = 1; row1 <= tables.GroupCount(group); ++row1) {
            const RowView row = tables.row(group, row1);
            Require(row.recNo >= FirstRecNo && row.recNo <= MaxRecNo, "a filed record number is in range");
            Require(tables.RecPos[row.recNo] == row1 * 100 + group, "RecPos points at the record's row");
            Require(tables.usedFlag(row.recNo) == '1', "a filed record is marked live");
            for (int c = 0; c < row.columnCount(); ++c) {
                Require(fuzz::IsWellFormedUtf8(row.column(c)), "a list text is well-formed UTF-8");
            }
            ++filed;
        }
    }
    Require(filed <= tables.TotalCount, "no more rows are filed than records counted");
}

// Reads each filed record into the buffers as the editor does and decodes every field.
void ReadFiledRecords(AppState& state)
{
    for (int group = 0; group < GroupTotal; ++group) {
        for (int row0 = 0; row0 < state.tables.GroupCount(group); ++row0) {
            state.CurRecNo = state.tables.GroupRecNo(group, row0);
            if (!ReadCurrent(state)) {
                continue;
            }
            for (const FieldInfo& field : AllFields()) {
                if (field.kind == FieldKind::Text || field.kind == FieldKind::Flags) {
                    Require(fuzz::IsWellFormedUtf8(FieldText(field, state.Rec, state.Extra)),
                            "a field's text is well-formed UTF-8");
                } else {
                    FieldNumber(field, state.Rec, state.Extra);
                }
            }
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FilePair files = SplitInput(fuzz::InputBytes(data, size));
    fuzz::WriteScratchFile("MRPDAT01.QX1", files.main);
    fuzz::WriteScratchFile("MRPDAT01.QX2", files.extra);

    fuzz::SilentInteraction ui;
    fuzz::StillClock clock;
    AppState state{ui, clock};
    const std::string folder = fuzz::ScratchFolder().string();
    state.ProgramFolder = folder + "/";
    state.WritableFolder = folder + "/";
    state.DataPath = folder;
    if (LoadTables(state) != LoadResult::Loaded) {
        return 0;
    }
    CheckFiledRows(state.tables);
    ReadFiledRecords(state);
    return 0;
}
