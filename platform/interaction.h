#pragma once
// The interaction seam: every message box, question, prompt and file dialog of the program goes
// through here, so the forms show real dialogs and tests answer from a script.
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace talik {

enum class MessageIcon
{
    None,
    Critical,
    Question,
    Exclamation, // the "warning" icon of most of the program's messages
    Information,
};

class Interaction
{
public:
    virtual ~Interaction() = default;
    // A modal message with an OK button. An empty title means the program's own title.
    virtual void message(const std::string& text, MessageIcon icon, const std::string& title = {}) = 0;
    // A modal Yes/No question; true for Yes.
    virtual bool askYesNo(const std::string& text, MessageIcon icon, const std::string& title = {}) = 0;
    // The database password prompt for the database shown by `dbDisplayName`; nullopt when cancelled.
    virtual std::optional<std::string> promptPassword(const std::string& dbDisplayName) = 0;
    // The file dialogs. `filter` names the files offered, as "メッセージファイル (*.qxm)"
    // (several joined by ";;"). The chosen path, or nullopt when the user cancelled.
    virtual std::optional<std::string> chooseOpenFile(const std::string& title, const std::string& filter) = 0;
    // Asks before an existing file is replaced; a name typed without an extension takes the filter's.
    virtual std::optional<std::string> chooseSaveFile(const std::string& title, const std::string& filter) = 0;
    // A save dialog offering several file types, one filter each ("ＣＳＶ (*.CSV)"): the chosen
    // path and the position of the type the user picked. Shows the types joined through
    // chooseSaveFile (the first type taken) where the dialog cannot tell which one was picked.
    struct SaveChoice
    {
        std::string path;
        std::size_t type = 0;
        std::vector<bool> checks; // the boxes of chooseSaveFileWithChecks, ticked or not
    };
    virtual std::optional<SaveChoice> chooseSaveFileOfType(const std::string& title,
                                                           const std::vector<std::string>& types)
    {
        std::string filter;
        for (const std::string& type : types) {
            filter += (filter.empty() ? "" : ";;") + type;
        }
        std::optional<std::string> path = chooseSaveFile(title, filter);
        return path ? std::optional<SaveChoice>(SaveChoice{*path, 0, {}}) : std::nullopt;
    }
    // The save dialog of chooseSaveFileOfType with a check box below it for each caption of
    // `checks`, all unticked at first. Where the dialog cannot show boxes they stay unticked.
    virtual std::optional<SaveChoice> chooseSaveFileWithChecks(const std::string& title,
                                                               const std::vector<std::string>& types,
                                                               const std::vector<std::string>& checks)
    {
        std::optional<SaveChoice> choice = chooseSaveFileOfType(title, types);
        if (choice) {
            choice->checks.assign(checks.size(), false);
        }
        return choice;
    }
    // A folder dialog opening at `start` (empty: the user's home folder). The chosen folder, or
    // nullopt when the user cancelled. Programs without windows choose nothing.
    virtual std::optional<std::string> chooseFolder(const std::string& title, const std::string& start)
    {
        (void)title;
        (void)start;
        return std::nullopt;
    }
    // A short list to pick one line from (several places of one postal code, say): the position of
    // the line picked, or nullopt when the user cancelled. Programs without windows pick nothing.
    virtual std::optional<std::size_t> chooseItem(const std::string& title, const std::vector<std::string>& items)
    {
        (void)title;
        (void)items;
        return std::nullopt;
    }
    // The wait cursor on (true) or back to normal (false).
    virtual void setBusy(bool busy) = 0;
    // Lets pending window events run inside a long operation.
    virtual void processEvents() = 0;
};

// Shows the wait cursor for the life of the object.
class BusyCursor
{
public:
    explicit BusyCursor(Interaction& ui) : m_ui(ui) { m_ui.setBusy(true); }
    ~BusyCursor() { m_ui.setBusy(false); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

private:
    Interaction& m_ui;
};

} // namespace talik
