#include "SaveJournal.h"

#include "rom/ContentHash.h"
#include "rom/FileIo.h"
#include "rom/JournalRecord.h"
#include "rom/PosixFile.h"
#include "rom/RomFileLayout.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QStandardPaths>

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A journal never holds more than the mapped region plus its small header.
constexpr qint64 kMaxJournalSize = ROM_IMAGE_SIZE + 64 * 1024;

QString Shown(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

QByteArray Encoded(const QString& path)
{
    return QFile::encodeName(path);
}

QString JournalPathForCanonical(const QString& canonical)
{
    const QByteArray digest =
        QCryptographicHash::hash(canonical.toUtf8(), QCryptographicHash::Blake2b_256).toHex();
    return CSaveJournal::Directory() + QLatin1Char('/') + QString::fromLatin1(digest.left(32)) +
           QStringLiteral(".journal");
}

CFileResult JournalWriteFailed(const QString& path, const QString& reason)
{
    return CFileResult::Failure(
        QStringLiteral("Cannot write the save journal “%1”: %2.").arg(Shown(path), reason));
}

// Renames an unusable journal (or whatever occupies its slot) to a free
// ".damaged" name beside it; returns that name, or empty with errno set.
QString MoveAside(const QString& slot)
{
    for (int n = 1; n < 1000; ++n) {
        const QString aside =
            slot + (n == 1 ? QStringLiteral(".damaged") : QStringLiteral(".damaged-%1").arg(n));
        struct stat existing = {};
        if (::lstat(Encoded(aside).constData(), &existing) == 0)
            continue;
        if (::rename(Encoded(slot).constData(), Encoded(aside).constData()) != 0)
            return {};
        SyncDirectory(CSaveJournal::Directory());
        return aside;
    }
    errno = EEXIST;
    return {};
}

CFileResult SetAside(const QString& slot, const QString& why)
{
    const QString aside = MoveAside(slot);
    if (aside.isEmpty())
        return CFileResult::Failure(
            QStringLiteral("%1 It cannot be moved aside (%2); move or delete “%3” by hand.")
                .arg(why, CPosixFile::SystemError(errno), Shown(slot)));
    return CFileResult::Success(
        QStringLiteral("%1 It was not applied and was kept as “%2”.").arg(why, Shown(aside)));
}

// A settled header is a few dozen bytes; this much read tells it.
constexpr qint64 kSettledProbe = 256;

bool StartsSettled(CPosixFile& journal, qint64 size)
{
    QByteArray start(qsizetype(qMin(size, kSettledProbe)), Qt::Uninitialized);
    return journal.ReadAt(0, start.data(), start.size()) && CJournalRecord::StartsSettled(start);
}

// Reads a regular journal file without following a link; false if it is not
// one or cannot be parsed. A settled journal is not read past its header.
bool ReadJournal(const QString& slot, CJournalRecord* record)
{
    CPosixFile journal;
    struct stat info = {};
    if (!journal.Open(slot, O_RDONLY | O_NOFOLLOW) || !journal.Stat(&info) ||
        !S_ISREG(info.st_mode) || info.st_size > kMaxJournalSize)
        return false;
    if (StartsSettled(journal, info.st_size)) {
        record->settled = true;
        return true;
    }
    QByteArray bytes(qsizetype(info.st_size), Qt::Uninitialized);
    return journal.ReadAt(0, bytes.data(), bytes.size()) && CJournalRecord::Parse(bytes, record);
}

// Anything in a journal's slot but a settled journal stands for a pending save.
bool SlotPending(const QString& slot)
{
    struct stat info = {};
    if (slot.isEmpty() || ::lstat(Encoded(slot).constData(), &info) != 0)
        return false;
    CPosixFile journal;
    return !S_ISREG(info.st_mode) || !journal.Open(slot, O_RDONLY | O_NOFOLLOW) ||
           !StartsSettled(journal, info.st_size);
}

// Opens the settled journal kept in slot for overwriting in place; false if the
// slot holds anything else, which is then replaced as a new file would be.
bool OpenSettled(const QString& slot, CPosixFile* journal)
{
    struct stat info = {};
    return journal->Open(slot, O_RDWR | O_NOFOLLOW) && journal->Stat(&info) &&
           S_ISREG(info.st_mode) && info.st_nlink == 1 && info.st_uid == ::geteuid() &&
           StartsSettled(*journal, info.st_size);
}

// The record overwrites the settled journal's bytes and is synced. Its folder
// entry was synced when the file was made. A failure leaves a torn journal,
// which is removed: the file it was for has not been touched yet.
CFileResult OverwriteSettled(CPosixFile& journal, const QString& slot, const QByteArray& header,
                             QByteArrayView oldBytes)
{
    const qint64 length = header.size() + oldBytes.size();
    struct stat info = {};
    bool written = journal.WriteAt(0, header) && journal.WriteAt(header.size(), oldBytes) &&
                   journal.Stat(&info);
    QString reason = journal.ErrorText();
    if (written && info.st_size > length && ::ftruncate(journal.Descriptor(), length) != 0) {
        reason = CPosixFile::SystemError(errno);
        written = false;
    }
    written = written && journal.Sync() && journal.Close();
    if (written)
        return CFileResult::Success();
    if (reason.isEmpty())
        reason = journal.ErrorText();
    ::unlink(Encoded(slot).constData());
    return JournalWriteFailed(slot, reason);
}

} // namespace

QString CSaveJournal::Directory()
{
    // The editor and the command-line tool share one folder, whatever their own names.
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/Brackenfold/Glyphox/journals");
}

QString CSaveJournal::PathFor(const QString& filePath)
{
    const QString canonical = QFileInfo(filePath).canonicalFilePath();
    return canonical.isEmpty() ? QString() : JournalPathForCanonical(canonical);
}

QString CSaveJournal::PathFor(const CFileIdentity& identity)
{
    return JournalPathForCanonical(identity.canonicalPath);
}

bool CSaveJournal::IsPending(const QString& filePath)
{
    return SlotPending(PathFor(filePath));
}

bool CSaveJournal::IsPending(const CFileIdentity& identity)
{
    return SlotPending(PathFor(identity));
}

std::uint64_t CSaveJournal::Hash(QByteArrayView bytes)
{
    return ContentHash(bytes);
}

CFileResult CSaveJournal::Record(const CFileIdentity& identity, qint64 fileLength, qint64 offset,
                                 QByteArrayView oldBytes, QByteArrayView newBytes)
{
    if (!QDir().mkpath(Directory()))
        return CFileResult::Failure(
            QStringLiteral("Cannot create the folder for save journals, “%1”.")
                .arg(Shown(Directory())));

    CJournalRecord record;
    record.path = identity.canonicalPath;
    record.device = identity.device;
    record.inode = identity.inode;
    record.fileLength = fileLength;
    record.offset = offset;
    record.newHash = Hash(newBytes);
    record.oldBytes = QByteArray::fromRawData(oldBytes.data(), oldBytes.size());
    const QByteArray header = record.SerializeHeader();
    const QString slot = PathFor(identity);
    if (CPosixFile kept; OpenSettled(slot, &kept))
        return OverwriteSettled(kept, slot, header, oldBytes);

    // Written under a fresh name that cannot be a planted link, then renamed into
    // its slot: rename replaces whatever entry is there and never follows it.
    const QString temp =
        slot + QStringLiteral(".%1.tmp").arg(QRandomGenerator::system()->generate(), 8, 16,
                                             QLatin1Char('0'));
    CPosixFile journal;
    if (!journal.Open(temp, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW, 0600))
        return JournalWriteFailed(temp, journal.ErrorText());
    const bool written = journal.WriteAt(0, header) && journal.WriteAt(header.size(), oldBytes) &&
                         journal.Sync() && journal.Close();
    QString reason = journal.ErrorText();
    bool placed = written;
    if (placed && ::rename(Encoded(temp).constData(), Encoded(slot).constData()) != 0) {
        reason = CPosixFile::SystemError(errno);
        placed = false;
    }
    if (!placed) {
        ::unlink(Encoded(temp).constData());
        return JournalWriteFailed(slot, reason);
    }
    if (!SyncDirectory(Directory())) {
        const QString why = CPosixFile::SystemError(errno);
        ::unlink(Encoded(slot).constData());
        return CFileResult::Failure(QStringLiteral("Cannot make the save journal in “%1” "
                                                   "durable: %2.")
                                        .arg(Shown(Directory()), why));
    }
    return CFileResult::Success();
}

CFileResult CSaveJournal::Record(const QString& filePath, qint64 fileLength, qint64 offset,
                                 QByteArrayView oldBytes, QByteArrayView newBytes)
{
    CPosixFile file;
    if (!file.Open(filePath, O_RDONLY))
        return CFileResult::Failure(file.ErrorText());
    return Record(CFileIdentity::Of(file, filePath), fileLength, offset, oldBytes, newBytes);
}

void CSaveJournal::MarkSettled(const CFileIdentity& identity)
{
    // Not synced, as a removal would not be: should the mark be lost in a crash,
    // the journal found later only settles a file that is already settled.
    const QString slot = PathFor(identity);
    CPosixFile journal;
    struct stat info = {};
    if (journal.Open(slot, O_WRONLY | O_NOFOLLOW) && journal.Stat(&info) && S_ISREG(info.st_mode) &&
        journal.WriteAt(0, CJournalRecord::SettledHeader()) && journal.Close())
        return;
    ::unlink(Encoded(slot).constData());
}

void CSaveJournal::Remove(const CFileIdentity& identity)
{
    // The removal is not synced: should it be lost in a crash, the journal found
    // later only settles a file that is already settled.
    ::unlink(Encoded(PathFor(identity)).constData());
}

CFileResult CSaveJournal::Settle(CPosixFile& file, const CFileIdentity& identity,
                                 const QString& shownName, Settlement* settlement)
{
    if (settlement)
        *settlement = Settlement::None;
    const QString slot = PathFor(identity);
    struct stat slotInfo = {};
    if (::lstat(Encoded(slot).constData(), &slotInfo) != 0) {
        if (errno == ENOENT)
            return CFileResult::Success();
        return CFileResult::Failure(
            QStringLiteral("Cannot look for a record of an interrupted save of “%1” (“%2”): %3.")
                .arg(shownName, Shown(slot), CPosixFile::SystemError(errno)));
    }

    CJournalRecord record;
    struct stat fileInfo = {};
    if (!file.Stat(&fileInfo))
        return CFileResult::Failure(
            QStringLiteral("Cannot read “%1”: %2.").arg(shownName, file.ErrorText()));
    if (settlement)
        *settlement = Settlement::Discarded;
    // The file is only written after its journal is complete, so a damaged
    // journal never stands for a half-written file.
    if (!S_ISREG(slotInfo.st_mode))
        return SetAside(slot, QStringLiteral("The record of an interrupted save of “%1”, “%2”, "
                                             "is %3, not a journal.")
                                  .arg(shownName, Shown(slot), FileKindName(slotInfo.st_mode)));
    if (!ReadJournal(slot, &record))
        return SetAside(slot, QStringLiteral("A damaged record of an interrupted save of “%1” "
                                             "was found; the file was not changed.")
                                  .arg(shownName));
    if (record.settled) {
        if (settlement)
            *settlement = Settlement::None;
        return CFileResult::Success();
    }
    if (record.path != identity.canonicalPath || record.device != identity.device ||
        record.inode != identity.inode || record.fileLength != fileInfo.st_size)
        return SetAside(slot, QStringLiteral("A record of an interrupted save of “%1” does not "
                                             "match the file (it was changed or replaced since); "
                                             "the file was not changed.")
                                  .arg(shownName));

    QByteArray current(record.oldBytes.size(), Qt::Uninitialized);
    if (!file.ReadAt(record.offset, current.data(), current.size()))
        return CFileResult::Failure(QStringLiteral("The last save of “%1” was interrupted, and the "
                                                   "file cannot be read to settle it: %2.")
                                        .arg(shownName, file.ErrorText()));
    QString notice;
    Settlement done = Settlement::Completed;
    if (Hash(current) == record.newHash) {
        notice = QStringLiteral("The last save of “%1” was interrupted after all its bytes were "
                                "written; the file holds the saved edits.")
                     .arg(shownName);
    } else {
        if (!file.WriteAt(record.offset, record.oldBytes) || !file.Sync())
            return CFileResult::Failure(
                QStringLiteral("The last save of “%1” was interrupted, and its previous contents "
                               "cannot be written back: %2.")
                    .arg(shownName, file.ErrorText()));
        done = Settlement::Restored;
        notice = QStringLiteral("The last save of “%1” was interrupted; the file was restored to "
                                "its contents before that save.")
                     .arg(shownName);
    }
    Remove(identity);
    if (settlement)
        *settlement = done;
    return CFileResult::Success(notice);
}
