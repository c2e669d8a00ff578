#include "tests/support/scripted.h"

#include <stdexcept>

#include <gtest/gtest.h>

namespace talik::test {

void ScriptedInteraction::message(const std::string& text, MessageIcon icon, const std::string& title)
{
    shown.push_back({"message", text, icon, title});
}

bool ScriptedInteraction::askYesNo(const std::string& text, MessageIcon icon, const std::string& title)
{
    shown.push_back({"question", text, icon, title});
    if (yesNoAnswers.empty()) {
        ADD_FAILURE() << "unscripted question: " << text;
        return false;
    }
    bool answer = yesNoAnswers.front();
    yesNoAnswers.pop_front();
    return answer;
}

std::optional<std::string> ScriptedInteraction::promptPassword(const std::string& dbDisplayName)
{
    shown.push_back({"password", dbDisplayName, MessageIcon::None, {}});
    if (passwordAnswers.empty()) {
        // Cancelling here could send a fallback load round and round: stop the test instead.
        ADD_FAILURE() << "unscripted password prompt for " << dbDisplayName;
        throw std::runtime_error("unscripted password prompt");
    }
    auto answer = passwordAnswers.front();
    passwordAnswers.pop_front();
    return answer;
}

std::optional<std::string> ScriptedInteraction::chooseOpenFile(const std::string& title, const std::string& filter)
{
    return answerFileDialog("open file", title, filter);
}

std::optional<std::string> ScriptedInteraction::chooseSaveFile(const std::string& title, const std::string& filter)
{
    return answerFileDialog("save file", title, filter);
}

std::optional<std::string> ScriptedInteraction::chooseFolder(const std::string& title, const std::string& start)
{
    return answerFileDialog("folder", title, start);
}

std::optional<std::size_t> ScriptedInteraction::chooseItem(const std::string& title,
                                                           const std::vector<std::string>& items)
{
    std::string lines;
    for (const std::string& item : items) {
        lines += (lines.empty() ? "" : "\n") + item;
    }
    shown.push_back({"choice", lines, MessageIcon::None, title});
    if (choiceAnswers.empty()) {
        ADD_FAILURE() << "unscripted choice list: " << title;
        return std::nullopt;
    }
    auto answer = choiceAnswers.front();
    choiceAnswers.pop_front();
    return answer;
}

std::optional<Interaction::SaveChoice> ScriptedInteraction::chooseSaveFileOfType(const std::string& title,
                                                                                 const std::vector<std::string>& types)
{
    std::string filter;
    for (const std::string& type : types) {
        filter += (filter.empty() ? "" : ";;") + type;
    }
    std::optional<std::string> path = answerFileDialog("save file", title, filter);
    std::size_t type = 0;
    if (!fileTypeAnswers.empty()) {
        type = fileTypeAnswers.front();
        fileTypeAnswers.pop_front();
    }
    return path ? std::optional<SaveChoice>(SaveChoice{*path, type, {}}) : std::nullopt;
}

std::optional<Interaction::SaveChoice> ScriptedInteraction::chooseSaveFileWithChecks(
    const std::string& title, const std::vector<std::string>& types, const std::vector<std::string>& checks)
{
    std::optional<SaveChoice> choice = chooseSaveFileOfType(title, types);
    checksOffered.push_back(checks);
    std::vector<bool> ticked(checks.size(), false);
    if (!checkAnswers.empty()) {
        ticked = checkAnswers.front();
        checkAnswers.pop_front();
    }
    if (choice) {
        choice->checks = ticked;
    }
    return choice;
}

std::optional<std::string>
ScriptedInteraction::answerFileDialog(const std::string& kind, const std::string& title, const std::string& filter)
{
    shown.push_back({kind, filter, MessageIcon::None, title});
    if (fileAnswers.empty()) {
        ADD_FAILURE() << "unscripted file dialog: " << title;
        return std::nullopt;
    }
    auto answer = fileAnswers.front();
    fileAnswers.pop_front();
    return answer;
}

void ScriptedInteraction::setBusy(bool busy)
{
    busyDepth += busy ? 1 : -1;
}

std::vector<std::string> ScriptedInteraction::messages() const
{
    std::vector<std::string> texts;
    for (const auto& m : shown) {
        if (m.kind == "message") {
            texts.push_back(m.text);
        }
    }
    return texts;
}

} // namespace talik::test
