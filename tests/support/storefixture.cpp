#include "tests/support/storefixture.h"

#include <cstring>
#include <fstream>

#include "listwin/currentrecord.h"
#include "store/database.h"
#include "store/identity.h"
#include "store/recordwriter.h"

namespace talik::test {

StoreTest::StoreTest()
{
    state.ProgramFolder = dir.str() + "/";
    state.WritableFolder = dir.str() + "/";
    state.DataPath = dir.str();
}

void StoreTest::load()
{
    state.TablesLoaded = false;
    ASSERT_EQ(LoadTables(state), LoadResult::Loaded);
}

std::int32_t AddPerson(AppState& state,
                       std::string_view reading,
                       std::string_view name,
                       const std::function<void(AddressRecord& rec, ExtraRecord& extra)>& fill)
{
    AddressRecord rec{};
    ExtraRecord extra{};
    ClearRecord(rec);
    ClearRecord(extra);
    SetText(rec.KanaName, reading);
    SetText(rec.KanjiName, name);
    fill(rec, extra);
    return AddRecord(state, rec, extra);
}

std::int32_t AddPerson(AppState& state, std::string_view reading, std::string_view name, std::string_view email)
{
    return AddPerson(state, reading, name, [email](AddressRecord& rec, ExtraRecord&) { SetText(rec.EMail, email); });
}

std::int32_t StoreTest::addRecord(std::string_view reading, std::string_view name)
{
    ClearRecord(state.Rec);
    ClearRecord(state.Extra);
    SetText(state.Rec.KanaName, reading);
    SetText(state.Rec.KanjiName, name);
    state.CurRecNo = 0;
    state.EditStatus = 'N';
    EXPECT_TRUE(SaveCurrent(state));
    return state.CurRecNo;
}

std::vector<std::uint8_t> BlankRecord(std::size_t size)
{
    return std::vector<std::uint8_t>(size, ' ');
}

void Put(std::vector<std::uint8_t>& rec, std::size_t offset, std::string_view cp932, std::size_t width)
{
    for (std::size_t i = 0; i < width; ++i) {
        rec[offset + i] = i < cp932.size() ? static_cast<std::uint8_t>(cp932[i]) : ' ';
    }
}

void PutLong(std::vector<std::uint8_t>& rec, std::size_t offset, std::int32_t value)
{
    auto bits = static_cast<std::uint32_t>(value);
    for (int i = 0; i < 4; ++i) {
        rec[offset + i] = static_cast<std::uint8_t>(bits >> (8 * i));
    }
}

void PutInteger(std::vector<std::uint8_t>& rec, std::size_t offset, std::int16_t value)
{
    auto bits = static_cast<std::uint16_t>(value);
    rec[offset] = static_cast<std::uint8_t>(bits);
    rec[offset + 1] = static_cast<std::uint8_t>(bits >> 8);
}

std::int32_t LongAt(const std::vector<std::uint8_t>& file, std::size_t offset)
{
    std::uint32_t bits = 0;
    for (int i = 0; i < 4; ++i) {
        bits |= static_cast<std::uint32_t>(file.at(offset + i)) << (8 * i);
    }
    return static_cast<std::int32_t>(bits);
}

std::vector<std::uint8_t> HandMainHeader(std::int32_t lastRecNo)
{
    auto header = BlankRecord(600);
    Put(header, 0, "Mirepol32 7.00", 16);
    PutLong(header, 16, lastRecNo);
    PutLong(header, 20, static_cast<std::int32_t>(0xFF0000FFu));
    header[330] = 0;
    header[331] = 0;
    return header;
}

std::vector<std::uint8_t> HandAddress(std::string_view kanaCp932, std::string_view kanjiCp932)
{
    auto rec = BlankRecord(600);
    Put(rec, 0, kanaCp932, 30);
    Put(rec, 30, kanjiCp932, 30);
    PutLong(rec, 362, 0);
    PutInteger(rec, 366, 0);
    PutInteger(rec, 583, 0);
    return rec;
}

std::vector<std::uint8_t> HandExtraHeader(std::int32_t lastRecNo)
{
    auto header = BlankRecord(512);
    PutLong(header, 20, lastRecNo);
    return header;
}

std::vector<std::uint8_t> HandExtra(std::string_view remarksCp932)
{
    auto rec = BlankRecord(512);
    Put(rec, 0, remarksCp932, 400);
    return rec;
}

std::vector<std::vector<std::uint8_t>> HandTwoHalvesDatabase(int last)
{
    std::vector<std::vector<std::uint8_t>> records{HandMainHeader(last)};
    for (int recNo = 2; recNo <= last; ++recNo) {
        const char* reading = recNo <= 3201 ? "\xbb" : recNo % 10 == 0 ? "\xfe" : "\xb6";
        records.push_back(HandAddress(reading, std::to_string(recNo)));
    }
    return records;
}

void WriteRecords(const std::string& path, const std::vector<std::vector<std::uint8_t>>& records)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    for (const auto& rec : records) {
        out.write(reinterpret_cast<const char*>(rec.data()), static_cast<std::streamsize>(rec.size()));
    }
}

std::vector<std::uint8_t> WithoutIdentities(std::vector<std::uint8_t> records)
{
    for (std::size_t start = 0; start + 600 <= records.size(); start += 600) {
        AddressRecord rec{};
        std::memcpy(&rec, records.data() + start, sizeof(rec));
        if (!RecordIdentity(rec).empty()) {
            std::memset(records.data() + start + 586, ' ', IdentityLength);
        }
    }
    return records;
}

void TakeIdentity(AddressRecord& expected, const AddressRecord& actual)
{
    EXPECT_FALSE(RecordIdentity(actual).empty());
    SetIdentity(expected, RecordIdentity(actual));
}

} // namespace talik::test
