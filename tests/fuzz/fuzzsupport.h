#pragma once
// What the fuzz targets share: a scratch folder for the files they hand to the readers, seams that
// answer without a person and never wait, and the checks that stop a run on a broken promise.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/clock.h"
#include "platform/interaction.h"

namespace talik::fuzz {

// A folder of this process, made on first use and removed when the process ends.
const std::filesystem::path& ScratchFolder();
// Writes `bytes` as the file `name` in the scratch folder, replacing what was there; its path.
std::string WriteScratchFile(std::string_view name, std::span<const std::uint8_t> bytes);

// The fuzzer's input as bytes.
inline std::span<const std::uint8_t> InputBytes(const std::uint8_t* data, std::size_t size)
{
    return {data, size};
}

// The input as a program's arguments: split at each NUL byte, which no argument can hold.
std::vector<std::string> InputArguments(const std::uint8_t* data, std::size_t size);

// Messages go nowhere, questions are answered No, file dialogs are cancelled; the password prompt
// answers `password` once (so a protected database is tried with a wrong one) and is then cancelled.
class SilentInteraction final : public Interaction
{
public:
    void message(const std::string&, MessageIcon, const std::string&) override {}
    bool askYesNo(const std::string&, MessageIcon, const std::string&) override { return false; }
    std::optional<std::string> promptPassword(const std::string&) override;
    std::optional<std::string> chooseOpenFile(const std::string&, const std::string&) override { return std::nullopt; }
    std::optional<std::string> chooseSaveFile(const std::string&, const std::string&) override { return std::nullopt; }
    void setBusy(bool) override {}
    void processEvents() override {}

private:
    bool m_passwordGiven = false;
};

// A clock that stands still and never sleeps, so a file held by another writer cannot stall a run.
class StillClock final : public Clock
{
public:
    LocalTime now() const override { return {2026, 12, 7, 10, 20, 37}; }
    void sleepMs(int) override {}
    long long monotonicMs() const override { return 0; }
};

// True when `text` is well-formed UTF-8 (no overlong forms, no surrogates, nothing past U+10FFFF).
bool IsWellFormedUtf8(std::string_view text);

// Ends the process with a message when `holds` is false: the fuzzer then keeps the input that broke
// `what`.
void Require(bool holds, const char* what);

} // namespace talik::fuzz
