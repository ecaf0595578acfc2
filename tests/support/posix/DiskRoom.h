#pragma once

#include <csignal>
#include <sys/resource.h>

namespace orvant::test {

// While it lives, the process may write files up to `limit` bytes, as on a disk with that much room left:
// a write beyond it stops short with EFBIG (the signal it would raise is ignored). POSIX only.
class DiskRoom
{
public:
    explicit DiskRoom(rlim_t limit)
    {
        ::getrlimit(RLIMIT_FSIZE, &m_old);
        m_handler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit room = m_old;
        room.rlim_cur = limit;
        ::setrlimit(RLIMIT_FSIZE, &room);
    }
    ~DiskRoom()
    {
        ::setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_handler);
    }
    DiskRoom(const DiskRoom&) = delete;
    DiskRoom& operator=(const DiskRoom&) = delete;

private:
    rlimit m_old {};
    void (*m_handler)(int) = nullptr;
};

} // namespace orvant::test
