#include "cli/clisearch.h"

#include <algorithm>
#include <charconv>
#include <span>

#include "cli/clioptions.h"
#include "listwin/appstate.h"
#include "search/searchconditions.h"
#include "store/kana.h"

namespace talik {
namespace {

bool ParseKind(const std::string& value, SearchKind& kind)
{
    static constexpr std::pair<std::string_view, SearchKind> Kinds[] = {
        {"new", SearchKind::New},
        {"add", SearchKind::Add},
        {"narrow", SearchKind::Narrow},
        {"exclude", SearchKind::Exclude},
    };
    for (const auto& [name, named] : Kinds) {
        if (value == name) {
            kind = named;
            return true;
        }
    }
    return false;
}

bool ParseBirthday(const std::string& value, AddressRecord& conditions)
{
    int yyyymmdd = 0;
    bool digitsOnly = std::all_of(value.begin(), value.end(), [](char c) { return c >= '0' && c <= '9'; });
    if (value.size() != 8 || !digitsOnly || !ParseWholeNumber(value, yyyymmdd)) {
        return false;
    }
    SetLong(conditions.Birthday, yyyymmdd);
    return true;
}

// "3,7": the numbers of the items to require, 1 to 15.
bool ParseCheckItems(std::string_view value, AddressRecord& conditions)
{
    for (std::size_t from = 0; from <= value.size();) {
        std::size_t comma = std::min(value.find(',', from), value.size());
        int item = 0;
        if (!ParseWholeNumber(value.substr(from, comma - from), item) || item < 1 || item > 15) {
            return false;
        }
        conditions.CheckItems[item - 1] = '1';
        from = comma + 1;
    }
    return true;
}

bool SetTextCondition(const std::string& name, const std::string& value, AddressRecord& conditions, std::string& error)
{
    auto fields = TextConditionFields();
    auto field = std::find_if(fields.begin(), fields.end(), [&](const auto& f) { return f.name == name; });
    if (field == fields.end()) {
        error = "検索できない項目です: " + name;
        return false;
    }
    // Readings are kept in half-width katakana: a reading typed in hiragana is searched as such.
    std::string text = name == "KanaName" ? ToHalfKana(value) : value;
    if (!FitsField(field->width, text)) {
        error = name + " が長すぎます (" + std::to_string(field->width) + " バイトまで)。";
        return false;
    }
    SetText(std::span<char>(reinterpret_cast<char*>(&conditions) + field->offset, field->width), text);
    return true;
}

bool RefuseWith(std::string& error, const char* why)
{
    error = why;
    return false;
}

bool ApplyOption(const std::string& name, const std::string& value, SearchStep& step, std::string& error)
{
    if (name == "kind") {
        return ParseKind(value, step.kind) ||
               RefuseWith(error, "--kind は new, add, narrow, exclude のいずれかで指定してください。");
    }
    if (name == "birthday" || name == "Birthday") {
        return ParseBirthday(value, step.conditions) ||
               RefuseWith(error, "--birthday は yyyymmdd の8桁で指定してください (0000 と 00 は指定なし)。");
    }
    if (name == "check") {
        return ParseCheckItems(value, step.conditions) ||
               RefuseWith(error, "--check は 1 から 15 の項目番号をカンマで区切って指定してください。");
    }
    return SetTextCondition(name, value, step.conditions, error);
}

} // namespace

std::optional<std::vector<SearchStep>> ParseSearchSteps(const std::vector<FieldOptions>& searches, std::string& error)
{
    std::vector<SearchStep> steps;
    for (const auto& options : searches) {
        SearchStep& step = steps.emplace_back();
        step.kind = steps.size() == 1 ? SearchKind::New : SearchKind::Narrow;
        ClearRecord(step.conditions);
        for (const auto& [name, value] : options) {
            if (!ApplyOption(name, value, step, error)) {
                return std::nullopt;
            }
        }
    }
    return steps;
}

std::optional<std::vector<ListItem>> RunSearchSteps(AppState& state, const std::vector<SearchStep>& steps)
{
    SearchSession session;
    ListModel result;
    for (const auto& step : steps) {
        state.Rec = step.conditions;
        session.kind = step.kind;
        SearchEnd end = RunSearch(state, session, result).end;
        if (end == SearchEnd::NoCondition || end == SearchEnd::Failed) {
            return std::nullopt;
        }
    }
    std::vector<ListItem> items = result.items();
    std::sort(items.begin(), items.end(),
              [](const ListItem& a, const ListItem& b) { return RecNoOfKey(a.key) < RecNoOfKey(b.key); });
    return items;
}

} // namespace talik
