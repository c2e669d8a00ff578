// The settings file of any content, read for two modes, with the same bytes standing in for the
// captions file; then the values the program derives from what it read.
#include <cstddef>
#include <cstdint>
#include <string>

#include "store/settings.h"
#include "tests/fuzz/fuzzsupport.h"

namespace {

using namespace talik;

void ReadForMode(const std::string& settingsFile, const std::string& captionsFile, int mode)
{
    Settings settings;
    ReadSettings(settings, settingsFile, captionsFile, mode);
    fuzz::Require(fuzz::IsWellFormedUtf8(settings.DBPathAddr), "DBPathAddr is well-formed UTF-8");
    fuzz::Require(fuzz::IsWellFormedUtf8(settings.Captions.kana), "a caption is well-formed UTF-8");
    for (const std::string& name : settings.AddrDBName) {
        fuzz::Require(fuzz::IsWellFormedUtf8(name), "a database name is well-formed UTF-8");
    }
    DataPathFromSetting(settings.DBPathAddr, fuzz::ScratchFolder().string() + "/");
    FormatDecimal(settings.AddrPrtScale);
    FormatDecimal(settings.Layout.L_Addr.left);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string settingsFile = fuzz::WriteScratchFile(SettingsFileName, fuzz::InputBytes(data, size));
    const std::string captionsFile = fuzz::WriteScratchFile(CaptionsFileName, fuzz::InputBytes(data, size));
    ReadForMode(settingsFile, captionsFile, 0);
    ReadForMode(settingsFile, captionsFile, 5);
    return 0;
}
