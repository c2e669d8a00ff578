#pragma once
// Starting other programs and opening documents. Programs are started with an argument list,
// never through a shell, so no user text is ever interpreted as a command.
#include <string>
#include <vector>

namespace talik {

class Launcher
{
public:
    virtual ~Launcher() = default;
    // Starts `program` (a path, or a name looked up on PATH) with `args`, without waiting for it.
    // False when it could not be started.
    virtual bool start(const std::string& program, const std::vector<std::string>& args) = 0;
    // Opens a document, folder or URL ("mailto:...") with the desktop's default application.
    // False when the opener could not be started or reported an error.
    virtual bool openDocument(const std::string& target) = 0;
};

class SystemLauncher final : public Launcher
{
public:
    bool start(const std::string& program, const std::vector<std::string>& args) override;
    bool openDocument(const std::string& target) override;
};

} // namespace talik
