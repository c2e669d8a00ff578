#pragma once
// Databases of any size with realistic addresses, for benchmarks and tests. The files are written
// with plain file writes in the stored format, so the store code they are meant to exercise plays
// no part in making them.
#include <array>
#include <cstdint>
#include <random>
#include <string>

#include "store/kana.h"
#include "store/record.h"

namespace talik {

// Makes one person after another: readings spread evenly over the 45 index groups, names,
// addresses, telephone numbers, e-mail, company and the odd remark, as a real address book holds.
class AddressGenerator
{
public:
    explicit AddressGenerator(unsigned seed) : m_random(seed) {}

    // Fills both buffers with the next person (every byte set, as the program writes a record) and
    // returns the index group of the reading.
    int next(AddressRecord& rec, ExtraRecord& extra);

private:
    std::size_t pick(std::size_t count) { return m_random() % count; }
    bool chance(int percent) { return static_cast<int>(pick(100)) < percent; }
    std::string digits(int count);
    std::string streetAddress();
    std::string telephone(const std::string& areaCode);

    std::mt19937 m_random;
};

// What GenerateDatabase wrote.
struct GeneratedDatabase
{
    std::int32_t lastRecNo = 1;
    int liveCount = 0;
    int deletedCount = 0;
    std::array<int, GroupTotal> groupCounts{}; // live records per index group
};

// Writes database `dbNo` into `dataPath`: a current main header with LastRecNo = records + 1 and no
// password, the extra header with the same LastRecNo, and `records` addresses as records 2 and up,
// about `deletedShare` of them marked deleted. The same seed gives the same files. Throws
// std::runtime_error when a file cannot be written.
GeneratedDatabase
GenerateDatabase(const std::string& dataPath, int dbNo, int records, unsigned seed, double deletedShare = 0.0);

} // namespace talik
