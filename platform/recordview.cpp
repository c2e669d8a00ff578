#include "platform/recordview.h"

#include <fcntl.h>
#include <sys/mman.h>

#include <utility>

namespace talik {

void UnlockWholeFile(int fd)
{
    if (fd < 0) {
        return;
    }
    struct flock lock
    {
    };
    lock.l_type = F_UNLCK;
    lock.l_whence = SEEK_SET;
    ::fcntl(fd, F_OFD_SETLK, &lock);
}

RecordView::RecordView(const unsigned char* bytes, std::size_t size, std::size_t recLen, int unlockFd)
    : m_bytes(bytes), m_size(size), m_recLen(recLen), m_unlockFd(unlockFd)
{}

RecordView::RecordView(RecordView&& other) noexcept
    : m_bytes(std::exchange(other.m_bytes, nullptr)), m_size(std::exchange(other.m_size, 0)), m_recLen(other.m_recLen),
      m_unlockFd(std::exchange(other.m_unlockFd, -1))
{}

RecordView& RecordView::operator=(RecordView&& other) noexcept
{
    if (this != &other) {
        release();
        m_bytes = std::exchange(other.m_bytes, nullptr);
        m_size = std::exchange(other.m_size, 0);
        m_recLen = other.m_recLen;
        m_unlockFd = std::exchange(other.m_unlockFd, -1);
    }
    return *this;
}

RecordView::~RecordView()
{
    release();
}

void RecordView::release()
{
    if (m_bytes != nullptr) {
        ::munmap(const_cast<unsigned char*>(m_bytes), m_size);
        m_bytes = nullptr;
    }
    UnlockWholeFile(std::exchange(m_unlockFd, -1));
}

} // namespace talik
