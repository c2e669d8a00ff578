// Adds records to a database as fast as it can: one of the two processes of the concurrency test.
// Usage: store_writer DATA_FOLDER WRITER_ID COUNT [DIE_AT_WRITE]
// With DIE_AT_WRITE the program has the system kill it just before that write to the database files.
#include <csignal>
#include <cstdio>
#include <string>

#include "listwin/currentrecord.h"
#include "platform/recordfile.h"

#include "listwin/appstate.h"
#include "store/database.h"

namespace {

class SilentInteraction final : public talik::Interaction
{
public:
    void message(const std::string& text, talik::MessageIcon, const std::string&) override
    {
        std::fprintf(stderr, "%s\n", text.c_str());
    }
    bool askYesNo(const std::string&, talik::MessageIcon, const std::string&) override { return true; }
    std::optional<std::string> promptPassword(const std::string&) override { return std::nullopt; }
    std::optional<std::string> chooseOpenFile(const std::string&, const std::string&) override { return std::nullopt; }
    std::optional<std::string> chooseSaveFile(const std::string&, const std::string&) override { return std::nullopt; }
    void setBusy(bool) override {}
    void processEvents() override {}
};

// Counts the writes of the database files and has the program killed before the chosen one.
class DyingGate final : public talik::WriteGate
{
public:
    explicit DyingGate(int writeNo) : m_writeNo(writeNo) {}
    std::size_t admit(const std::string&, std::int64_t, std::size_t size) override
    {
        if (++m_seen == m_writeNo) {
            std::raise(SIGKILL);
        }
        return size;
    }

private:
    int m_writeNo;
    int m_seen = 0;
};

} // namespace

int main(int argc, char** argv)
{
    if (argc != 4 && argc != 5) {
        return 2;
    }
    SilentInteraction ui;
    talik::SystemClock clock;
    talik::AppState state(ui, clock);
    state.DataPath = argv[1];
    state.WritableFolder = std::string(argv[1]) + "/";
    if (talik::LoadTables(state) != talik::LoadResult::Loaded) {
        return 1;
    }
    DyingGate dying(argc == 5 ? std::stoi(argv[4]) : 0);
    if (argc == 5) {
        state.writeGate = &dying;
    }
    int count = std::stoi(argv[3]);
    for (int i = 0; i < count; ++i) {
        talik::ClearRecord(state.Rec);
        talik::ClearRecord(state.Extra);
        talik::SetText(state.Rec.KanaName, "ｱ");
        talik::SetText(state.Rec.KanjiName, std::string(argv[2]) + "-" + std::to_string(i));
        talik::SetText(state.Extra.RemarksExtra, std::string(argv[2]) + "-" + std::to_string(i));
        state.CurRecNo = 0;
        if (!talik::SaveCurrent(state)) {
            return 1;
        }
    }
    return 0;
}
