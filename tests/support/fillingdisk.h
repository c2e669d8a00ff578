#pragma once
// A disk that fills up, as the write gate of a record file sees it.
#include <cstdint>
#include <filesystem>
#include <string>

#include "platform/recordfile.h"

namespace talik::test {

// Room for `room` more bytes: rewriting what a file holds takes none, and a write that would grow a
// file past the room puts down what fits and fails.
class FillingDisk : public WriteGate
{
public:
    explicit FillingDisk(std::uintmax_t room) : m_room(room) {}
    std::size_t admit(const std::string& path, std::int64_t offset, std::size_t size) override
    {
        const std::uintmax_t end = std::filesystem::exists(path) ? std::filesystem::file_size(path) : 0;
        const std::uintmax_t reach = static_cast<std::uintmax_t>(offset) + size;
        if (reach <= end + m_room) {
            m_room -= reach > end ? reach - end : 0;
            return size;
        }
        const std::uintmax_t fits = end + m_room > static_cast<std::uintmax_t>(offset) ? end + m_room - offset : 0;
        m_room = 0;
        return static_cast<std::size_t>(fits);
    }

private:
    std::uintmax_t m_room;
};

} // namespace talik::test
