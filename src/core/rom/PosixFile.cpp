#include "PosixFile.h"

#include <QFile>
#include <QThread>

#include <cerrno>
#include <cstring>
#include <utility>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

CPosixFile::~CPosixFile()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

CPosixFile::CPosixFile(CPosixFile&& other) noexcept
    : m_fd(std::exchange(other.m_fd, -1)), m_busy(other.m_busy), m_error(std::move(other.m_error))
{
}

CPosixFile& CPosixFile::operator=(CPosixFile&& other) noexcept
{
    if (this != &other) {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = std::exchange(other.m_fd, -1);
        m_busy = other.m_busy;
        m_error = std::move(other.m_error);
    }
    return *this;
}

QString CPosixFile::SystemError(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

bool CPosixFile::Fail()
{
    m_error = SystemError(errno);
    return false;
}

bool CPosixFile::Open(const QString& path, int flags, int mode)
{
    if (m_fd >= 0)
        ::close(m_fd);
    do
        m_fd = ::open(QFile::encodeName(path).constData(), flags | O_CLOEXEC | O_NONBLOCK, mode);
    while (m_fd < 0 && errno == EINTR);
    if (m_fd < 0)
        return Fail();
    if (!(flags & O_NONBLOCK)) {
        const int status = ::fcntl(m_fd, F_GETFL);
        if (status < 0 || ::fcntl(m_fd, F_SETFL, status & ~O_NONBLOCK) < 0)
            return Fail();
    }
    return true;
}

bool CPosixFile::ReadAt(qint64 offset, char* data, qint64 size)
{
    qint64 done = 0;
    while (done < size) {
        const ssize_t n = ::pread(m_fd, data + done, size_t(size - done), off_t(offset + done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return Fail();
        if (n == 0) {
            m_error = QStringLiteral("the file ended early");
            return false;
        }
        done += n;
    }
    return true;
}

bool CPosixFile::WriteAt(qint64 offset, QByteArrayView bytes)
{
    qint64 done = 0;
    while (done < bytes.size()) {
        const ssize_t n =
            ::pwrite(m_fd, bytes.data() + done, size_t(bytes.size() - done), off_t(offset + done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return Fail();
        if (n == 0) {
            errno = ENOSPC;
            return Fail();
        }
        done += n;
    }
    return true;
}

bool CPosixFile::Sync()
{
    int result = 0;
    do
        result = ::fsync(m_fd);
    while (result < 0 && errno == EINTR);
    return result == 0 || Fail();
}

bool CPosixFile::Stat(struct stat* info)
{
    return ::fstat(m_fd, info) == 0 || Fail();
}

bool CPosixFile::TakeLock(Lock kind, int waitMs)
{
    const int operation = (kind == Lock::Shared ? LOCK_SH : LOCK_EX) | LOCK_NB;
    constexpr int kStepMs = 10;
    m_busy = false;
    for (int waited = 0;; waited += kStepMs) {
        if (::flock(m_fd, operation) == 0)
            return true;
        if (errno == EINTR)
            continue;
        if (errno != EWOULDBLOCK)
            return Fail();
        if (waited >= waitMs) {
            m_busy = true;
            return Fail();
        }
        QThread::msleep(kStepMs);
    }
}

bool CPosixFile::Close()
{
    const int fd = std::exchange(m_fd, -1);
    // Linux closes the descriptor even when close() reports EINTR: never retry.
    return fd < 0 || ::close(fd) == 0 || Fail();
}
