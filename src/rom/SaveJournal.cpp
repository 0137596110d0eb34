#include "SaveJournal.h"

#include "rom/ContentHash.h"
#include "rom/FileIo.h"
#include "rom/RomFileLayout.h"

#include <QCryptographicHash>
#include <QDataStream>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

namespace {

constexpr quint32 kMagic = 0x474C594A; // "GLYJ"
constexpr quint32 kVersion = 2;
// A journal never holds more than the mapped region plus its small header.
constexpr qint64 kMaxJournalSize = ROM_IMAGE_SIZE + 64 * 1024;

// A journal is a header, the hash of the header, then the old bytes.
struct JournalRecord
{
    QString path;
    qint64 fileLength = 0;
    qint64 offset = 0;
    qint64 size = 0;
    quint64 newHash = 0;
    quint64 oldHash = 0;
    QByteArray oldBytes;
};

QString Shown(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

QString CanonicalPath(const QString& filePath)
{
    return QFileInfo(filePath).canonicalFilePath();
}

QString JournalPathForCanonical(const QString& canonical)
{
    const QByteArray digest =
        QCryptographicHash::hash(canonical.toUtf8(), QCryptographicHash::Blake2b_256).toHex();
    return CSaveJournal::Directory() + QLatin1Char('/') + QString::fromLatin1(digest.left(32)) +
           QStringLiteral(".journal");
}

QByteArray SerializeHeader(const JournalRecord& record)
{
    QByteArray header;
    QDataStream out(&header, QIODevice::WriteOnly);
    out.setVersion(QDataStream::Qt_6_0);
    out << kMagic << kVersion << record.path << record.fileLength << record.offset << record.size
        << record.newHash << record.oldHash;
    out << quint64(ContentHash(header));
    return header;
}

// A journal is trusted only if both hashes match and it parses completely.
bool Parse(const QByteArray& bytes, JournalRecord* record)
{
    QDataStream in(bytes);
    in.setVersion(QDataStream::Qt_6_0);
    quint32 magic = 0;
    quint32 version = 0;
    in >> magic >> version;
    if (in.status() != QDataStream::Ok || magic != kMagic || version != kVersion)
        return false;
    in >> record->path >> record->fileLength >> record->offset >> record->size >> record->newHash >>
        record->oldHash;
    const qint64 headerSize = in.device()->pos();
    quint64 headerHash = 0;
    in >> headerHash;
    if (in.status() != QDataStream::Ok ||
        headerHash != ContentHash(QByteArrayView(bytes.constData(), headerSize)))
        return false;
    record->oldBytes = bytes.mid(in.device()->pos());
    return record->oldBytes.size() == record->size &&
           ContentHash(record->oldBytes) == record->oldHash && record->offset >= 0 &&
           record->offset + record->size <= record->fileLength;
}

bool ReadJournal(const QString& journalPath, JournalRecord* record)
{
    QFile journal(journalPath);
    if (!journal.open(QIODevice::ReadOnly) || journal.size() > kMaxJournalSize)
        return false;
    return Parse(journal.readAll(), record);
}

// The removal is not synced: should it be lost in a crash, the journal found
// later only settles a file that is already settled (the new bytes are complete,
// or the old ones are back), so nothing is gained by waiting for the disk.
void RemoveJournalFile(const QString& journalPath)
{
    QFile::remove(journalPath);
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
    const QString canonical = CanonicalPath(filePath);
    return canonical.isEmpty() ? QString() : JournalPathForCanonical(canonical);
}

bool CSaveJournal::IsPending(const QString& filePath)
{
    const QString journal = PathFor(filePath);
    return !journal.isEmpty() && QFileInfo::exists(journal);
}

std::uint64_t CSaveJournal::Hash(QByteArrayView bytes)
{
    return ContentHash(bytes);
}

CFileResult CSaveJournal::Record(const QString& filePath, qint64 fileLength, qint64 offset,
                                 QByteArrayView oldBytes, QByteArrayView newBytes)
{
    const QString canonical = CanonicalPath(filePath);
    if (!QDir().mkpath(Directory()))
        return CFileResult::Failure(
            QStringLiteral("Cannot create the folder for save journals, “%1”.")
                .arg(Shown(Directory())));

    const JournalRecord record{canonical,      fileLength,     offset, oldBytes.size(),
                               Hash(newBytes), Hash(oldBytes), {}};
    QSaveFile journal(JournalPathForCanonical(canonical));
    if (!journal.open(QIODevice::WriteOnly))
        return CFileResult::Failure(QStringLiteral("Cannot write the save journal “%1”: %2.")
                                        .arg(Shown(journal.fileName()), journal.errorString()));
    const QByteArray header = SerializeHeader(record);
    // QSaveFile syncs the data before it renames the file into place.
    if (journal.write(header) != header.size() ||
        journal.write(oldBytes.data(), oldBytes.size()) != oldBytes.size() || !journal.commit())
        return CFileResult::Failure(QStringLiteral("Cannot write the save journal “%1”: %2.")
                                        .arg(Shown(journal.fileName()), journal.errorString()));
    if (!SyncDirectory(Directory()))
        return CFileResult::Failure(QStringLiteral("Cannot make the save journal in “%1” durable.")
                                        .arg(Shown(Directory())));
    return CFileResult::Success();
}

void CSaveJournal::Remove(const QString& filePath)
{
    const QString journal = PathFor(filePath);
    if (!journal.isEmpty())
        RemoveJournalFile(journal);
}

CFileResult CSaveJournal::Settle(QFile& file, Settlement* settlement)
{
    Settlement done = Settlement::None;
    if (settlement)
        *settlement = done;
    const QString canonical = CanonicalPath(file.fileName());
    const QString journalPath = JournalPathForCanonical(canonical);
    if (!QFileInfo::exists(journalPath))
        return CFileResult::Success();

    const QString name = Shown(file.fileName());
    JournalRecord record;
    QString notice;
    if (!ReadJournal(journalPath, &record)) {
        // The file is only written after its journal is complete, so a damaged
        // journal never stands for a half-written file.
        done = Settlement::Discarded;
        notice = QStringLiteral("A damaged record of an interrupted save of “%1” was found and "
                                "discarded; the file was not changed.")
                     .arg(name);
    } else if (record.path != canonical || record.fileLength != file.size()) {
        done = Settlement::Discarded;
        notice = QStringLiteral("A record of an interrupted save of “%1” no longer matches the "
                                "file (it was changed since) and was discarded; the file was not "
                                "changed.")
                     .arg(name);
    } else {
        QByteArray current(record.oldBytes.size(), Qt::Uninitialized);
        if (!ReadExactly(file, record.offset, current.data(), current.size()))
            return CFileResult::Failure(
                QStringLiteral("The last save of “%1” was interrupted, and the file cannot be "
                               "read to settle it: %2.")
                    .arg(name, file.errorString()));
        if (Hash(current) == record.newHash) {
            done = Settlement::Completed;
            notice = QStringLiteral("The last save of “%1” was interrupted after all its bytes "
                                    "were written; the file holds the saved edits.")
                         .arg(name);
        } else {
            if (!WriteAll(file, record.offset, record.oldBytes.constData(),
                          record.oldBytes.size()) ||
                !SyncFile(file))
                return CFileResult::Failure(
                    QStringLiteral("The last save of “%1” was interrupted, and its previous "
                                   "contents cannot be written back: %2.")
                        .arg(name, file.errorString()));
            done = Settlement::Restored;
            notice = QStringLiteral("The last save of “%1” was interrupted; the file was restored "
                                    "to its contents before that save.")
                         .arg(name);
        }
    }
    RemoveJournalFile(journalPath);
    if (settlement)
        *settlement = done;
    return CFileResult::Success(notice);
}
