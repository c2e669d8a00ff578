#pragma once
// The interaction seam for the command line: messages go to standard error, questions are answered
// Yes (the command itself is the user's answer), the password comes from where the command line
// says, read once when the database first asks for it, and file dialogs are cancelled (files are
// named on the command line).
#include <optional>
#include <string>

#include "cli/clioptions.h"
#include "platform/interaction.h"

namespace talik {

class CliInteraction final : public Interaction
{
public:
    explicit CliInteraction(std::optional<PasswordOption> password) : m_password(std::move(password)) {}

    void message(const std::string& text, MessageIcon icon, const std::string& title) override;
    bool askYesNo(const std::string& text, MessageIcon icon, const std::string& title) override;
    std::optional<std::string> promptPassword(const std::string& dbDisplayName) override;
    std::optional<std::string> chooseOpenFile(const std::string&, const std::string&) override { return std::nullopt; }
    std::optional<std::string> chooseSaveFile(const std::string&, const std::string&) override { return std::nullopt; }
    void setBusy(bool) override {}
    void processEvents() override {}

private:
    std::optional<PasswordOption> m_password;
    bool m_passwordUsed = false;
};

} // namespace talik
