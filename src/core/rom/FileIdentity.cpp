#include "FileIdentity.h"

#include "rom/PosixFile.h"

#include <QFile>
#include <QFileInfo>

#include <climits>

#include <sys/stat.h>
#include <unistd.h>

namespace {

// The path the system has for the descriptor (Linux); empty elsewhere.
QString DescriptorPath(int fd)
{
    char target[PATH_MAX];
    const QByteArray link = "/proc/self/fd/" + QByteArray::number(fd);
    const ssize_t n = ::readlink(link.constData(), target, sizeof target);
    if (n <= 0 || n >= ssize_t(sizeof target) || target[0] != '/')
        return {};
    return QFile::decodeName(QByteArray(target, n));
}

} // namespace

CFileIdentity CFileIdentity::Of(CPosixFile& file, const QString& openedPath)
{
    CFileIdentity identity;
    struct stat info = {};
    if (file.Stat(&info)) {
        identity.device = std::uint64_t(info.st_dev);
        identity.inode = std::uint64_t(info.st_ino);
    }
    identity.canonicalPath = DescriptorPath(file.Descriptor());
    if (identity.canonicalPath.isEmpty())
        identity.canonicalPath = QFileInfo(openedPath).canonicalFilePath();
    return identity;
}

QString FileKindName(mode_t mode)
{
    if (S_ISDIR(mode))
        return QStringLiteral("a folder");
    if (S_ISFIFO(mode))
        return QStringLiteral("a named pipe");
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return QStringLiteral("a device");
    if (S_ISSOCK(mode))
        return QStringLiteral("a socket");
    if (S_ISLNK(mode))
        return QStringLiteral("a link");
    return QStringLiteral("not a regular file");
}
