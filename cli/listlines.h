#pragma once
// The lines talikcli list prints, gathered as the main file is read and put in list order.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "store/liverecords.h"
#include "store/record.h"

namespace talik {

// Every line is written out whole, "K00002<TAB>reading<TAB>name<LF>", in file order as its record is
// read; printing in list order is then one copy per line. The text is sized for `expected` lines at
// their longest, but only what is written is ever touched; more lines than expected make it grow.
class ListLines
{
public:
    explicit ListLines(std::size_t expected);
    void add(std::int32_t recNo, const AddressRecord& rec);
    // The lines in list order, as text.
    std::string text() const;

private:
    struct Line
    {
        std::uint32_t begin = 0;
        std::uint32_t end = 0;
    };
    std::uint32_t offsetOf(const char* at) const { return static_cast<std::uint32_t>(at - m_text.get()); }
    void grow();

    ReadingOrder m_order;
    std::vector<Line> m_lines;
    std::size_t m_used = 0;
    std::size_t m_capacity = 0;
    std::unique_ptr<char[]> m_text;
};

} // namespace talik
