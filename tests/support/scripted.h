#pragma once
// Test doubles of the seams: an interaction that records every message and answers from a script,
// and a clock that stands still and never sleeps.
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/interaction.h"
#include "platform/launcher.h"

namespace talik::test {

struct ShownMessage
{
    std::string kind; // "message", "question", "password", "open file", "save file", "folder" or "choice"
    std::string text; // for the file dialogs: the filter
    MessageIcon icon = MessageIcon::None;
    std::string title;
};

class ScriptedInteraction : public Interaction
{
public:
    // Answers for the next questions and password prompts, in order. A question or prompt with no
    // scripted answer fails the test (and answers No / cancel).
    std::deque<bool> yesNoAnswers;
    std::deque<std::optional<std::string>> passwordAnswers;
    // The paths the next file dialogs choose (nullopt: cancelled). A file dialog with no scripted
    // answer fails the test (and is cancelled).
    std::deque<std::optional<std::string>> fileAnswers;
    std::deque<std::vector<bool>> checkAnswers;
    std::vector<std::vector<std::string>> checksOffered;
    // Folder dialogs take their answers from `fileAnswers` too; their shown text is the start folder.
    // The file types the next save dialogs with several types pick (by position); none left: the first.
    std::deque<std::size_t> fileTypeAnswers;
    // The lines the next choice lists pick (by position; nullopt: cancelled). A choice list with no
    // scripted answer fails the test (and is cancelled). Shown as "choice", the lines joined by "\n".
    std::deque<std::optional<std::size_t>> choiceAnswers;

    std::vector<ShownMessage> shown;
    int busyDepth = 0;
    int eventsRun = 0;

    void message(const std::string& text, MessageIcon icon, const std::string& title) override;
    bool askYesNo(const std::string& text, MessageIcon icon, const std::string& title) override;
    std::optional<std::string> promptPassword(const std::string& dbDisplayName) override;
    std::optional<std::string> chooseOpenFile(const std::string& title, const std::string& filter) override;
    std::optional<std::string> chooseSaveFile(const std::string& title, const std::string& filter) override;
    // Shown as a "save file" whose text is the types joined by ";;".
    std::optional<SaveChoice> chooseSaveFileOfType(const std::string& title,
                                                   const std::vector<std::string>& types) override;
    // The boxes are ticked as `checkAnswers` says (none ticked when it is empty); their captions are
    // kept in `checksOffered`.
    std::optional<SaveChoice> chooseSaveFileWithChecks(const std::string& title,
                                                       const std::vector<std::string>& types,
                                                       const std::vector<std::string>& checks) override;
    std::optional<std::string> chooseFolder(const std::string& title, const std::string& start) override;
    std::optional<std::size_t> chooseItem(const std::string& title, const std::vector<std::string>& items) override;
    void setBusy(bool busy) override;
    void processEvents() override { ++eventsRun; }

    // The texts of the messages (not questions) shown so far.
    std::vector<std::string> messages() const;

private:
    std::optional<std::string>
    answerFileDialog(const std::string& kind, const std::string& title, const std::string& filter);
};

// A launcher that starts nothing: it records what it was asked to open and answers as told.
class RecordingLauncher : public Launcher
{
public:
    std::vector<std::string> started;
    std::vector<std::vector<std::string>> arguments; // the argument list of each start
    std::vector<std::string> opened;
    bool answer = true;

    bool start(const std::string& program, const std::vector<std::string>& args) override
    {
        started.push_back(program);
        arguments.push_back(args);
        return answer;
    }
    bool openDocument(const std::string& target) override
    {
        opened.push_back(target);
        return answer;
    }
};

class FixedClock : public Clock
{
public:
    LocalTime time{2026, 12, 7, 10, 20, 37};
    long long slept = 0;

    LocalTime now() const override { return time; }
    void sleepMs(int ms) override { slept += ms; }
    long long monotonicMs() const override { return slept; }
};

} // namespace talik::test
