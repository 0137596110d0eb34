#include "AtomicFile.h"

#include "rom/FileIdentity.h"
#include "rom/FileIo.h"
#include "rom/PosixFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString Shown(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

bool StatPath(const QString& path, struct stat* info)
{
    return ::stat(QFile::encodeName(path).constData(), info) == 0;
}

// Where the bytes really go: the file a link (or chain of links) points to.
QString ResolvedTarget(const QString& path)
{
    QFileInfo info(path);
    for (int depth = 0; depth < 40 && info.isSymLink(); ++depth)
        info = QFileInfo(info.symLinkTarget());
    return info.absoluteFilePath();
}

CFileResult WriteFailed(const QString& path, const QString& reason)
{
    return CFileResult::Failure(
        QStringLiteral("Cannot write “%1”: %2; nothing was replaced.").arg(Shown(path), reason));
}

// A fresh file beside target with an unpredictable name, never through a link.
bool CreateTemporary(const QString& target, CPosixFile* file, QString* tempPath)
{
    const QFileInfo info(target);
    for (int attempt = 0; attempt < 16; ++attempt) {
        *tempPath = info.absolutePath() + QStringLiteral("/.") + info.fileName() +
                    QStringLiteral(".%1.tmp").arg(QRandomGenerator::system()->generate(), 8, 16,
                                                  QLatin1Char('0'));
        if (file->Open(*tempPath, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW, 0666))
            return true;
        if (errno != EEXIST)
            return false;
    }
    return false;
}

} // namespace

CFileResult CAtomicFile::CheckTarget(const QString& path, const QStringList& inputs)
{
    struct stat target = {};
    if (!StatPath(path, &target))
        return CFileResult::Success(); // a new file, or a dangling link to one
    if (!S_ISREG(target.st_mode))
        return CFileResult::Failure(
            QStringLiteral("“%1” is %2, not a regular file; choose a file name to write to.")
                .arg(Shown(path), FileKindName(target.st_mode)));
    for (const QString& input : inputs) {
        struct stat source = {};
        if (StatPath(input, &source) && source.st_dev == target.st_dev &&
            source.st_ino == target.st_ino)
            return CFileResult::Failure(
                QStringLiteral("“%1” is the input file “%2” itself; choose another output file.")
                    .arg(Shown(path), Shown(input)));
    }
    return CFileResult::Success();
}

CFileResult CAtomicFile::Write(const QString& path, QByteArrayView bytes)
{
    if (const CFileResult usable = CheckTarget(path); !usable.ok)
        return usable;
    const QString target = ResolvedTarget(path);
    CPosixFile file;
    QString temp;
    if (!CreateTemporary(target, &file, &temp))
        return WriteFailed(path, file.ErrorText());

    // The replacement keeps the permissions of the file it replaces where we may set them.
    if (struct stat existing = {}; StatPath(target, &existing))
        (void)::fchmod(file.Descriptor(), existing.st_mode & 07777);
    bool written = file.WriteAt(0, bytes) && file.Sync() && file.Close();
    QString reason = file.ErrorText();
    if (written &&
        ::rename(QFile::encodeName(temp).constData(), QFile::encodeName(target).constData()) != 0) {
        reason = CPosixFile::SystemError(errno);
        written = false;
    }
    if (!written) {
        ::unlink(QFile::encodeName(temp).constData());
        return WriteFailed(path, reason);
    }
    if (!SyncDirectory(QFileInfo(target).absolutePath()))
        return CFileResult::Failure(
            QStringLiteral("“%1” was written, but its folder could not be synced: %2.")
                .arg(Shown(path), CPosixFile::SystemError(errno)));
    return CFileResult::Success();
}
