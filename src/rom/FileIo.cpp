#include "FileIo.h"

#include <QFile>

#ifdef Q_OS_WIN
#include <io.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

bool ReadExactly(QFileDevice& file, qint64 offset, char* data, qint64 size)
{
    if (!file.seek(offset))
        return false;
    qint64 done = 0;
    while (done < size) {
        const qint64 n = file.read(data + done, size - done);
        if (n <= 0)
            return false;
        done += n;
    }
    return true;
}

bool WriteAll(QFileDevice& file, qint64 offset, const char* data, qint64 size)
{
    if (!file.seek(offset))
        return false;
    constexpr qint64 kChunk = 256 * 1024;
    qint64 done = 0;
    while (done < size) {
        const qint64 n = file.write(data + done, qMin(kChunk, size - done));
        if (n <= 0)
            return false;
        done += n;
    }
    return true;
}

bool SyncFile(QFileDevice& file)
{
    if (!file.flush())
        return false;
#ifdef Q_OS_WIN
    return _commit(file.handle()) == 0;
#else
    return ::fsync(file.handle()) == 0;
#endif
}

bool SyncDirectory(const QString& path)
{
#ifdef Q_OS_WIN
    Q_UNUSED(path);
    return true;
#else
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_DIRECTORY);
    if (fd < 0)
        return false;
    const bool ok = ::fsync(fd) == 0;
    ::close(fd);
    return ok;
#endif
}
