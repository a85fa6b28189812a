// Owner of a POSIX file descriptor.
#include "tools/unitsim/CFileDescriptor.h"

#include <unistd.h>

void CFileDescriptor::Reset(int fd) {
    if (m_fd >= 0) {
        // Nothing useful can be done when close fails: the descriptor is gone either way.
        ::close(m_fd);
    }
    m_fd = fd;
}
