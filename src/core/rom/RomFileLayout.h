#pragma once

#include <QtGlobal>

#include <cstdint>

constexpr std::uint32_t ROM_IMAGE_SIZE = 0x300200; // 512-byte header + 3 MiB
constexpr std::uint32_t COPIER_HEADER_SIZE = 0x200;
constexpr std::uint32_t ROM_SIZE = 0x300000;

// Which bytes of a ROM image file map to which bytes of the image buffer.
// A file with the 512-byte copier header maps byte for byte; a header-less file
// maps behind 512 zero bytes, so every buffer offset means the same ROM byte.
struct CRomFileLayout
{
    enum Kind
    {
        Headered,
        Headerless,
        TooShort
    };

    Kind kind = TooShort;
    qint64 fileLength = 0;

    static CRomFileLayout ForLength(qint64 length);

    bool IsUsable() const { return kind != TooShort; }
    // Where the mapped region starts in the buffer, and its size (file offset 0).
    std::uint32_t BufferOffset() const { return kind == Headerless ? COPIER_HEADER_SIZE : 0; }
    std::uint32_t MappedSize() const { return kind == Headerless ? ROM_SIZE : ROM_IMAGE_SIZE; }
};
