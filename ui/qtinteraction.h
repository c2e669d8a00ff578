#pragma once
// The interaction seam on real windows: message boxes, the password prompt, file dialogs, the wait
// cursor.
#include <string>
#include <utility>

#include <QString>

#include "platform/interaction.h"

namespace talik {

class QtInteraction final : public Interaction
{
public:
    // `untitledBoxTitle` is the title of a message box or question asked without one.
    explicit QtInteraction(std::string untitledBoxTitle) : m_untitledBoxTitle(std::move(untitledBoxTitle)) {}

    void message(const std::string& text, MessageIcon icon, const std::string& title) override;
    bool askYesNo(const std::string& text, MessageIcon icon, const std::string& title) override;
    std::optional<std::string> promptPassword(const std::string& dbDisplayName) override;
    std::optional<std::string> chooseOpenFile(const std::string& title, const std::string& filter) override;
    std::optional<std::string> chooseSaveFile(const std::string& title, const std::string& filter) override;
    std::optional<std::string> chooseFolder(const std::string& title, const std::string& start) override;
    std::optional<std::size_t> chooseItem(const std::string& title, const std::vector<std::string>& items) override;
    std::optional<SaveChoice> chooseSaveFileOfType(const std::string& title,
                                                   const std::vector<std::string>& types) override;
    std::optional<SaveChoice> chooseSaveFileWithChecks(const std::string& title,
                                                       const std::vector<std::string>& types,
                                                       const std::vector<std::string>& checks) override;
    void setBusy(bool busy) override;
    void processEvents() override;

private:
    QString boxTitle(const std::string& title) const;

    std::string m_untitledBoxTitle;
};

// Qt text from the core's UTF-8 and back.
inline QString Qs(const std::string& utf8)
{
    return QString::fromStdString(utf8);
}
inline QString Qs(std::string_view utf8)
{
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}
inline std::string Us(const QString& text)
{
    return text.toStdString();
}

} // namespace talik
