#pragma once

#include <QtGlobal>

#include <cstdint>

// What a ROM image file was like when the document last read or wrote it: its
// identity, length, modification time and a hash of its mapped region. A file
// whose identity, length or mapped bytes differ was changed by someone else.
struct CDiskState
{
    bool known = false;
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    qint64 length = 0;
    qint64 modifiedNs = 0;
    std::uint64_t hash = 0;

    bool SameContent(const CDiskState& other) const
    {
        return known && other.known && device == other.device && inode == other.inode &&
               length == other.length && hash == other.hash;
    }
};
