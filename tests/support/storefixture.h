#pragma once
// A database in a fresh folder with the shared state on scripted seams, and hand-made file bytes
// written from the stored layout by offset (never through the code under test).
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "listwin/appstate.h"
#include "tests/support/scripted.h"
#include "tests/support/tempdir.h"

namespace talik::test {

class StoreTest : public ::testing::Test
{
protected:
    StoreTest();

    std::string mainPath() const { return dir.str() + "/MRPDAT01.QX1"; }
    std::string extraPath() const { return dir.str() + "/MRPDAT01.QX2"; }
    // Loads the tables afresh; fails the test unless they load.
    void load();
    // Saves a new record with this reading and name through the shared buffers; returns its number.
    std::int32_t addRecord(std::string_view reading, std::string_view name = "名前");

    TempDir dir;
    ScriptedInteraction ui;
    FixedClock clock;
    AppState state{ui, clock};
};

// Adds a person with this reading, name and e-mail through the store's database API; the record
// number, 0 when it could not be stored.
std::int32_t AddPerson(AppState& state, std::string_view reading, std::string_view name, std::string_view email = {});
// The same, `fill` setting the person's other fields.
std::int32_t AddPerson(AppState& state,
                       std::string_view reading,
                       std::string_view name,
                       const std::function<void(AddressRecord& rec, ExtraRecord& extra)>& fill);

// Bytes of files built by hand.
using Bytes600 = std::vector<std::uint8_t>;

// A record of `size` bytes, all blank (text fields) - numbers are set explicitly.
std::vector<std::uint8_t> BlankRecord(std::size_t size);
// Writes `cp932` at `offset`, blank-padded to `width`.
void Put(std::vector<std::uint8_t>& rec, std::size_t offset, std::string_view cp932, std::size_t width);
void PutLong(std::vector<std::uint8_t>& rec, std::size_t offset, std::int32_t value);
void PutInteger(std::vector<std::uint8_t>& rec, std::size_t offset, std::int16_t value);
std::int32_t LongAt(const std::vector<std::uint8_t>& file, std::size_t offset);

// A current main header: signature, LastRecNo, the current marker, no password.
std::vector<std::uint8_t> HandMainHeader(std::int32_t lastRecNo);
// An address record with a reading and a name (CP932 bytes) and numbers zero.
std::vector<std::uint8_t> HandAddress(std::string_view kanaCp932, std::string_view kanjiCp932);
// An extra header holding its copy of LastRecNo, and an extra record with these long remarks.
std::vector<std::uint8_t> HandExtraHeader(std::int32_t lastRecNo);
std::vector<std::uint8_t> HandExtra(std::string_view remarksCp932);
// Address records (600 bytes each, from the start of `records`) with each identity blanked, so
// records this program wrote compare with hand-made ones; a record without an identity stays as it is.
std::vector<std::uint8_t> WithoutIdentities(std::vector<std::uint8_t> records);
// `expected` with the identity `actual` was written with, which must be one.
void TakeIdentity(AddressRecord& expected, const AddressRecord& actual);
// A main file of `last` records, each named by its number: records 2..3201 read ｻ (group 10, full
// early), the rest ｶ (group 5, full late) with every tenth deleted - a load in two halves with two
// full groups.
std::vector<std::vector<std::uint8_t>> HandTwoHalvesDatabase(int last);
// Concatenates records into a file.
void WriteRecords(const std::string& path, const std::vector<std::vector<std::uint8_t>>& records);

} // namespace talik::test
