#include "FileIo.h"

#include "rom/PosixFile.h"

#include <fcntl.h>
#include <sys/stat.h>

bool ReadFileStart(const QString& path, qint64 maxBytes, QByteArray* bytes)
{
    CPosixFile file;
    struct stat info = {};
    if (!file.Open(path, O_RDONLY) || !file.Stat(&info) || !S_ISREG(info.st_mode))
        return false;
    bytes->resize(qsizetype(qMin<qint64>(maxBytes, info.st_size)));
    return file.ReadAt(0, bytes->data(), bytes->size());
}

bool SyncDirectory(const QString& path)
{
    CPosixFile folder;
    return folder.Open(path, O_RDONLY | O_DIRECTORY) && folder.Sync() && folder.Close();
}
