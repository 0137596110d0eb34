#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <cstdint>

// The contents of a save journal: which file (canonical path, device, inode,
// length), which span of it, a hash of the bytes the save writes there, and the
// old bytes with their hash. The header carries a hash of its own, so a torn or
// altered record is never taken for a valid one. A settled record stands for
// no pending save: the journal file stays for the next save to overwrite in
// place, which costs far less than making and deleting a file each time.
struct CJournalRecord
{
    QString path;
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    qint64 fileLength = 0;
    qint64 offset = 0;
    std::uint64_t newHash = 0;
    QByteArray oldBytes;
    bool settled = false;

    // The header; the old bytes follow it in the journal file.
    QByteArray SerializeHeader() const;
    // True only for a complete record whose hashes match and whose span lies
    // inside the file; every field is checked without overflowing.
    static bool Parse(QByteArrayView bytes, CJournalRecord* record);

    // A complete header that marks its journal settled; nothing follows it.
    static QByteArray SettledHeader();
    // True if bytes start with a valid settled header (whatever follows it).
    static bool StartsSettled(QByteArrayView bytes);
};
