#include "cli/clijoint.h"

#include <cstdio>

#include "cli/cliapp.h"
#include "cli/clidatabase.h"
#include "cli/json.h"
#include "listwin/appstate.h"
#include "store/record.h"

namespace talik {
namespace {

// Each part is held as the name field is: no more bytes than it has.
constexpr std::size_t PartWidth = sizeof(AddressRecord::KanjiName);
constexpr std::size_t HonorificWidth = sizeof(AddressRecord::Honorific);

std::optional<JointName> ParseOne(const std::string& value, std::string& error)
{
    JointName name;
    std::string rest = value;
    if (std::size_t bar = rest.find('|'); bar != std::string::npos) {
        name.honorific = rest.substr(bar + 1);
        rest.resize(bar);
    }
    if (std::size_t colon = rest.find(':'); colon != std::string::npos) {
        name.family = rest.substr(0, colon);
        rest = rest.substr(colon + 1);
    }
    name.given = rest;
    if (name.given.empty()) {
        error = "連名には名を指定してください: " + value;
        return std::nullopt;
    }
    if (name.honorific.empty()) {
        name.honorific = std::string(DefaultHonorific);
    }
    if (!FitsField(PartWidth, name.family) || !FitsField(PartWidth, name.given) ||
        !FitsField(HonorificWidth, name.honorific)) {
        error = "連名が長すぎます: " + value;
        return std::nullopt;
    }
    return name;
}

} // namespace

JointOptions ParseJointOptions(const FieldOptions& fields)
{
    JointOptions parsed;
    for (const auto& [option, value] : fields) {
        if (option != "Joint") {
            continue;
        }
        if (!parsed.names) {
            parsed.names.emplace();
        }
        if (value.empty()) {
            continue; // "--Joint=" alone: no joint names
        }
        std::optional<JointName> name = ParseOne(value, parsed.error);
        if (!name) {
            return parsed;
        }
        parsed.names->push_back(*name);
    }
    if (parsed.names && parsed.names->size() > MaxJointNames) {
        parsed.error = "連名は " + std::to_string(MaxJointNames) + " 人までです。";
    }
    return parsed;
}

std::string JointJson(const std::vector<JointName>& names)
{
    std::string json = "[";
    for (const JointName& name : names) {
        json += json.size() > 1 ? ", " : "";
        json += "{\"Family\":" + JsonString(name.family) + ",\"Given\":" + JsonString(name.given) +
                ",\"Honorific\":" + JsonString(name.honorific) + "}";
    }
    return json + "]";
}

int SideStoreCommand(AppState& state, const CliOptions& options)
{
    const std::string what = options.arguments.size() == 1 ? options.arguments[0] : std::string();
    if (what != "clean" && what != "rebuild") {
        return UsageError("sidestore には clean か rebuild を指定してください。");
    }
    if (!LoadForChanging(state)) {
        return ExitRefused;
    }
    if (what == "rebuild") {
        return RebuildSideStore(state, state.DbNo) ? ExitDone : ExitRefused;
    }
    std::optional<int> removed = CleanSideStore(state);
    if (!removed) {
        return ExitRefused;
    }
    std::printf("%d\n", *removed);
    return ExitDone;
}

} // namespace talik
