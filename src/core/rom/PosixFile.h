#pragma once

#include <QByteArrayView>
#include <QString>

#include <sys/stat.h>

// An owned file descriptor whose every operation is checked: all bytes asked
// for are read or written (short transfers and interruptions are retried), and
// a failed call keeps the system's reason for the message. Qt's file classes
// buffer writes and report some failed flushes as success; the save path and
// every output go through this instead.
class CPosixFile
{
public:
    enum class Lock
    {
        Shared,
        Exclusive
    };

    CPosixFile() = default;
    ~CPosixFile();
    CPosixFile(CPosixFile&& other) noexcept;
    CPosixFile& operator=(CPosixFile&& other) noexcept;
    CPosixFile(const CPosixFile&) = delete;
    CPosixFile& operator=(const CPosixFile&) = delete;

    // open(2) with close-on-exec added; never blocks on a FIFO or device
    // (O_NONBLOCK is set for the open and cleared after).
    bool Open(const QString& path, int flags, int mode = 0666);
    bool IsOpen() const { return m_fd >= 0; }
    int Descriptor() const { return m_fd; }

    bool ReadAt(qint64 offset, char* data, qint64 size);
    bool WriteAt(qint64 offset, QByteArrayView bytes);
    bool Sync();
    bool Stat(struct stat* info);
    // Takes an advisory lock, trying again for up to waitMs; false if another
    // process still holds a conflicting one (Busy() then tells so).
    bool TakeLock(Lock kind, int waitMs);
    bool Busy() const { return m_busy; }
    // Closes the descriptor and reports a failure of the close itself.
    bool Close();

    // The reason of the last failure, as the system words it.
    const QString& ErrorText() const { return m_error; }

    static QString SystemError(int error);

private:
    bool Fail();

    int m_fd = -1;
    bool m_busy = false;
    QString m_error;
};
