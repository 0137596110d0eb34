#include "JournalRecord.h"

#include "rom/ContentHash.h"

#include <QDataStream>
#include <QIODevice>

namespace {

constexpr quint32 kMagic = 0x474C594A; // "GLYJ"
// Version 4 added the settled flag; a version 3 record is always pending.
constexpr quint32 kVersion = 4;
constexpr quint32 kUnsettledVersion = 3;

// offset + size <= length, written so that no sum can overflow.
bool SpanInside(qint64 offset, qint64 size, qint64 length)
{
    return offset >= 0 && size >= 0 && length >= 0 && size <= length && offset <= length - size;
}

} // namespace

QByteArray CJournalRecord::SerializeHeader() const
{
    QByteArray header;
    QDataStream out(&header, QIODevice::WriteOnly);
    out.setVersion(QDataStream::Qt_6_0);
    out << kMagic << kVersion << quint8(settled) << path << quint64(device) << quint64(inode)
        << fileLength << offset << qint64(oldBytes.size()) << quint64(newHash)
        << quint64(ContentHash(oldBytes));
    out << quint64(ContentHash(header));
    return header;
}

namespace {

// Reads and checks the hashed header; the old bytes' size and hash are left for
// the caller, who finds them at bodyStart.
bool ParseHeader(QByteArrayView bytes, CJournalRecord* record, qint64* size, quint64* oldHash,
                 qint64* bodyStart)
{
    const QByteArray data = QByteArray::fromRawData(bytes.data(), bytes.size());
    QDataStream in(data);
    in.setVersion(QDataStream::Qt_6_0);
    quint32 magic = 0;
    quint32 version = 0;
    in >> magic >> version;
    if (in.status() != QDataStream::Ok || magic != kMagic ||
        (version != kVersion && version != kUnsettledVersion))
        return false;
    quint8 settled = 0;
    if (version == kVersion)
        in >> settled;
    quint64 device = 0;
    quint64 inode = 0;
    quint64 newHash = 0;
    in >> record->path >> device >> inode >> record->fileLength >> record->offset >> *size >>
        newHash >> *oldHash;
    const qint64 headerSize = in.device()->pos();
    quint64 headerHash = 0;
    in >> headerHash;
    if (in.status() != QDataStream::Ok || headerHash != ContentHash(bytes.first(headerSize)) ||
        settled > 1)
        return false;
    record->device = device;
    record->inode = inode;
    record->newHash = newHash;
    record->settled = settled == 1;
    *bodyStart = in.device()->pos();
    return true;
}

} // namespace

bool CJournalRecord::Parse(QByteArrayView bytes, CJournalRecord* record)
{
    qint64 size = 0;
    quint64 oldHash = 0;
    qint64 bodyStart = 0;
    if (!ParseHeader(bytes, record, &size, &oldHash, &bodyStart) ||
        !SpanInside(record->offset, size, record->fileLength) ||
        size != qint64(bytes.size()) - bodyStart)
        return false;
    record->oldBytes = QByteArray(bytes.data() + bodyStart, size);
    return ContentHash(record->oldBytes) == oldHash;
}

QByteArray CJournalRecord::SettledHeader()
{
    CJournalRecord record;
    record.settled = true;
    return record.SerializeHeader();
}

bool CJournalRecord::StartsSettled(QByteArrayView bytes)
{
    CJournalRecord record;
    qint64 size = 0;
    quint64 oldHash = 0;
    qint64 bodyStart = 0;
    return ParseHeader(bytes, &record, &size, &oldHash, &bodyStart) && record.settled;
}
