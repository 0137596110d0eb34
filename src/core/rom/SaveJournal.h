#pragma once

#include "rom/FileIdentity.h"
#include "rom/FileResult.h"

#include <QByteArrayView>
#include <QString>

#include <cstdint>

class CPosixFile;

// Makes an in-place save recoverable. Before a region of a file is overwritten,
// its old bytes go to a synced journal in the application's data folder, bound
// to the file's identity (canonical path, device, inode, length) and to a hash
// of the new bytes; the journal is marked settled once the overwrite is on disk,
// and kept for the next save to overwrite in place. An unsettled journal found
// later means the save was interrupted: the file is settled by
// keeping the new bytes if they are all there and putting the old ones back
// otherwise. Saving and settling happen under an exclusive lock on the file, so
// a journal is never taken for an interrupted save while its save is running.
// A journal that cannot be used is moved aside (".damaged"), never applied and
// never deleted.
class CSaveJournal
{
public:
    enum class Settlement
    {
        None,      // no journal
        Completed, // the file already held every new byte
        Restored,  // the old bytes were written back
        Discarded, // the journal was unusable or not this file's; moved aside, file untouched
    };

    // <application data>/journals; follows XDG_DATA_HOME on Linux.
    static QString Directory();
    // The journal path for a file (by canonical path); empty if the file does not exist.
    static QString PathFor(const QString& filePath);
    static QString PathFor(const CFileIdentity& identity);
    // Whether the slot holds anything but a settled journal.
    static bool IsPending(const QString& filePath);
    static bool IsPending(const CFileIdentity& identity);

    // Records the bytes about to be replaced at offset; the hash is of the new bytes.
    static CFileResult Record(const CFileIdentity& identity, qint64 fileLength, qint64 offset,
                              QByteArrayView oldBytes, QByteArrayView newBytes);
    // The same for a file named by path (for tools and tests).
    static CFileResult Record(const QString& filePath, qint64 fileLength, qint64 offset,
                              QByteArrayView oldBytes, QByteArrayView newBytes);
    // After the file holds the new bytes (or the old ones again).
    static void MarkSettled(const CFileIdentity& identity);
    static void Remove(const CFileIdentity& identity);

    // Settles a pending journal of file, open for reading and writing and
    // locked by the caller. The result's message tells the user what happened
    // when there was a journal; shownName names the file in it.
    static CFileResult Settle(CPosixFile& file, const CFileIdentity& identity,
                              const QString& shownName, Settlement* settlement = nullptr);

    static std::uint64_t Hash(QByteArrayView bytes);
};
