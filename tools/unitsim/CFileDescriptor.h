// Owns one POSIX file descriptor and closes it when destroyed.
#pragma once

class CFileDescriptor {
public:
    CFileDescriptor() = default;

    explicit CFileDescriptor(int fd) : m_fd(fd) {}

    ~CFileDescriptor() { Reset(); }

    CFileDescriptor(const CFileDescriptor&) = delete;
    CFileDescriptor& operator=(const CFileDescriptor&) = delete;

    // Closes the descriptor held so far and takes `fd` (-1 for none).
    void Reset(int fd = -1);

    // Gives up ownership without closing.
    int Release() {
        const int fd = m_fd;
        m_fd = -1;
        return fd;
    }

    int Get() const { return m_fd; }

    bool IsValid() const { return m_fd >= 0; }

private:
    int m_fd = -1;
};
