#include "cli/clilayout.h"

#include <cstdio>
#include <optional>
#include <string>

#include "cli/cliapp.h"
#include "listwin/appstate.h"
#include "print/printsettingsfile.h"
#include "store/settings.h"

namespace talik {
namespace {

struct LayoutRequest
{
    bool save = false;
    std::string file;
    PrintSettingsPart part = PrintSettingsPart::Postcard;
};

std::optional<PrintSettingsPart> PartNamed(const std::string& name)
{
    if (name == "postcard") {
        return PrintSettingsPart::Postcard;
    }
    if (name == "label") {
        return PrintSettingsPart::Label;
    }
    return std::nullopt;
}

std::optional<LayoutRequest> ParseLayoutRequest(const std::vector<std::string>& args, std::string& error)
{
    LayoutRequest request;
    std::vector<std::string> words;
    bool kindGiven = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        auto option = TakeValuedOption(args, i, {"--kind"});
        if (option) {
            std::optional<PrintSettingsPart> part = option->value ? PartNamed(*option->value) : std::nullopt;
            if (!part) {
                error = "--kind は postcard か label で指定してください。";
                return std::nullopt;
            }
            request.part = *part;
            kindGiven = true;
        } else if (args[i].starts_with("--")) {
            error = "不明なオプションです: " + args[i];
            return std::nullopt;
        } else {
            words.push_back(args[i]);
        }
    }
    if (words.size() != 2 || (words[0] != "save" && words[0] != "load") || !kindGiven) {
        error = "layout save|load FILE --kind postcard|label と指定してください。";
        return std::nullopt;
    }
    request.save = words[0] == "save";
    request.file = words[1];
    return request;
}

} // namespace

int LayoutCommand(AppState& state, const CliOptions& options)
{
    std::string error;
    std::optional<LayoutRequest> request = ParseLayoutRequest(options.arguments, error);
    if (!request) {
        std::fprintf(stderr, "%s\n%s", error.c_str(), CliUsage());
        return ExitUsage;
    }
    if (request->save) {
        return SavePrintSettingsFile(state, WithPrintSettingsExtension(request->file, request->part)) ? ExitDone
                                                                                                      : ExitRefused;
    }
    if (!LoadPrintSettingsFile(state, request->file, request->part)) {
        return ExitRefused;
    }
    const std::string settingsFile = SettingsFile(state.ProfileFolder);
    if (!WriteSettings(state.settings, settingsFile, state.Mode)) {
        TellSettingsNotWritten(state.ui, settingsFile);
        return ExitRefused;
    }
    return ExitDone;
}

} // namespace talik
