#pragma once

#include "rom/FileResult.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QFile>
#include <QString>

#include <cstdint>

// Makes an in-place save recoverable. Before a region of a file is overwritten,
// its old bytes go to a synced journal in the application's data folder, with
// the file's identity (canonical path, length) and a hash of the new bytes; the
// journal is removed once the overwrite is on disk. A journal found later means
// the save was interrupted: the file is settled by keeping the new bytes if they
// are all there and putting the old ones back otherwise.
class CSaveJournal
{
public:
    enum class Settlement
    {
        None,      // no journal
        Completed, // the file already held every new byte
        Restored,  // the old bytes were written back
        Discarded, // the journal did not fit the file and was dropped, file untouched
    };

    // <application data>/journals; follows XDG_DATA_HOME on Linux.
    static QString Directory();
    // The journal path for a file (by canonical path); empty if the file does not exist.
    static QString PathFor(const QString& filePath);
    static bool IsPending(const QString& filePath);

    // Records the bytes about to be replaced at offset; the hash is of the new bytes.
    static CFileResult Record(const QString& filePath, qint64 fileLength, qint64 offset,
                              QByteArrayView oldBytes, QByteArrayView newBytes);
    static void Remove(const QString& filePath);

    // Settles a pending journal on a file opened for reading and writing. The
    // result's message tells the user what happened when there was a journal.
    static CFileResult Settle(QFile& file, Settlement* settlement = nullptr);

    static std::uint64_t Hash(QByteArrayView bytes);
};
