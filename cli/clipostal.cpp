#include "cli/clipostal.h"

#include <cstdio>

#include "cli/cliapp.h"
#include "cli/clioptions.h"
#include "listwin/appstate.h"
#include "platform/installpaths.h"
#include "postal/postalindex.h"
#include "postal/postaltext.h"

namespace talik {
namespace {

struct PostalRequest
{
    std::string code;
    std::optional<std::string> address;
};

std::optional<PostalRequest> ParseRequest(const CliOptions& options, std::string& error)
{
    PostalRequest request;
    const auto& args = options.arguments;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (auto option = TakeValuedOption(args, i, {"--address"})) {
            if (!option->value || request.address) {
                error = "--address には住所を一つ指定してください。";
                return std::nullopt;
            }
            request.address = option->value;
        } else if (args[i].starts_with("--") || !request.code.empty()) {
            error = "postal の引数が正しくありません: " + args[i];
            return std::nullopt;
        } else {
            request.code = args[i];
        }
    }
    if (request.address.has_value() == !request.code.empty()) {
        error = "postal には郵便番号 (7桁) か --address 住所 のどちらかを指定してください。";
        return std::nullopt;
    }
    return request;
}

void PrintPlaces(const std::vector<PostalPlace>& places)
{
    for (const auto& place : places) {
        std::string line = place.code + "\t" + place.address();
        if (place.isOffice()) {
            line += "\t" + place.office;
        }
        std::printf("%s\n", line.c_str());
    }
}

} // namespace

int PostalCommand(AppState& state, const CliOptions& options)
{
    std::string error;
    std::optional<PostalRequest> request = ParseRequest(options, error);
    std::optional<std::string> code = request && !request->address ? NormalizePostalCode(request->code) : std::nullopt;
    if (request && !request->address && !code) {
        error = "郵便番号は7桁の数字で指定してください: " + request->code;
    }
    if (!request || (!request->address && !code)) {
        std::fprintf(stderr, "%s\n%s", error.c_str(), CliUsage());
        return ExitUsage;
    }
    std::string path = FindPostalIndex(state.ProgramFolder, InstalledDataFolder(state.ProgramFolder));
    std::optional<PostalIndex> index = path.empty() ? std::nullopt : PostalIndex::Open(path, error);
    if (!index) {
        std::fprintf(stderr, "%s\n", path.empty() ? "郵便番号データがありません。" : error.c_str());
        return ExitRefused;
    }
    std::vector<PostalPlace> places = request->address ? index->byAddress(*request->address) : index->byCode(*code);
    if (places.empty()) {
        std::fprintf(stderr, "該当する住所がありません。\n");
        return ExitRefused;
    }
    PrintPlaces(places);
    return ExitDone;
}

} // namespace talik
