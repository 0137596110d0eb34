#include "JournalRecord.h"

#include "rom/ContentHash.h"

#include <QDataStream>
#include <QIODevice>

namespace {

constexpr quint32 kMagic = 0x474C594A; // "GLYJ"
constexpr quint32 kVersion = 3;

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
    out << kMagic << kVersion << path << quint64(device) << quint64(inode) << fileLength << offset
        << qint64(oldBytes.size()) << quint64(newHash) << quint64(ContentHash(oldBytes));
    out << quint64(ContentHash(header));
    return header;
}

bool CJournalRecord::Parse(QByteArrayView bytes, CJournalRecord* record)
{
    const QByteArray data = QByteArray::fromRawData(bytes.data(), bytes.size());
    QDataStream in(data);
    in.setVersion(QDataStream::Qt_6_0);
    quint32 magic = 0;
    quint32 version = 0;
    in >> magic >> version;
    if (in.status() != QDataStream::Ok || magic != kMagic || version != kVersion)
        return false;
    quint64 device = 0;
    quint64 inode = 0;
    qint64 size = 0;
    quint64 newHash = 0;
    quint64 oldHash = 0;
    in >> record->path >> device >> inode >> record->fileLength >> record->offset >> size >>
        newHash >> oldHash;
    const qint64 headerSize = in.device()->pos();
    quint64 headerHash = 0;
    in >> headerHash;
    if (in.status() != QDataStream::Ok || headerHash != ContentHash(bytes.first(headerSize)))
        return false;
    const qint64 bodyStart = in.device()->pos();
    if (!SpanInside(record->offset, size, record->fileLength) ||
        size != qint64(bytes.size()) - bodyStart)
        return false;
    record->oldBytes = QByteArray(bytes.data() + bodyStart, size);
    record->device = device;
    record->inode = inode;
    record->newHash = newHash;
    return ContentHash(record->oldBytes) == oldHash;
}
