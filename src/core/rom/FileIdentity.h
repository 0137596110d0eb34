#pragma once

#include <QString>

#include <cstdint>

#include <sys/types.h>

class CPosixFile;

// Which file an open descriptor refers to: device and inode, and the canonical
// path it is reached by. Taken from the descriptor itself, so a path swapped
// for a link after the open cannot make it describe another file.
struct CFileIdentity
{
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    QString canonicalPath;

    static CFileIdentity Of(CPosixFile& file, const QString& openedPath);

    bool operator==(const CFileIdentity&) const = default;
};

// "a folder", "a named pipe", "a device", "a socket", "a link" or "not a regular file".
QString FileKindName(mode_t mode);
