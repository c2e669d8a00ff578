// A CSV file of any content, read as the import reads it: the encoding decided, every record split,
// and the first line shown as the mapping dialog shows it, with the columns a header line names.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "interchange/csvcolumns.h"
#include "interchange/csvimport.h"
#include "interchange/csvread.h"
#include "tests/fuzz/fuzzsupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace talik;
    const std::string file(reinterpret_cast<const char*>(data), size);
    const CsvFileEncoding encoding = DetectCsvEncoding(file);
    if (encoding == CsvFileEncoding::Unreadable) {
        return 0;
    }
    const std::string_view text = WithoutBom(file);
    CsvReader reader(text);
    std::vector<std::string> fields;
    std::size_t records = 0;
    for (std::size_t before = 0; reader.readRecord(fields); before = reader.position()) {
        fuzz::Require(reader.position() > before, "every record moves the reader on");
        fuzz::Require(!fields.empty(), "a record has at least one field");
        ++records;
        for (const auto& field : fields) {
            fuzz::Require(field.size() <= 2 * text.size(), "a field is made of the file's bytes");
        }
    }
    fuzz::Require(reader.atEnd(), "the reader reaches the end");
    const CsvPreview preview = PreviewCsv(file, encoding);
    fuzz::Require(fuzz::IsWellFormedUtf8(preview.line), "the first line is shown as well-formed UTF-8");
    for (const auto& field : preview.fields) {
        ParseCsvBirthday(field);
        CsvColumns columns{};
        ParseJoinedColumns(field, 9999, columns);
    }
    if (preview.guessed) {
        for (const CsvColumns& columns : *preview.guessed) {
            for (int column : columns) {
                fuzz::Require(column >= 0 && column <= static_cast<int>(preview.fields.size()),
                              "a header names only its own columns");
            }
        }
    }
    return 0;
}
