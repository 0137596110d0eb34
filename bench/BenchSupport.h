#pragma once

#include "rom/SnesFormat.h"

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstring>

// What the benchmarks draw: one actor's tile window and palette in a demo image.
struct BenchSprites
{
    QByteArray image;
    std::uint16_t palette[PALETTE_COLORS];

    const std::uint8_t* Window() const;
};

const BenchSprites& Sprites();

// The folder that holds the files of the open and save benchmarks (on the disk
// being measured); set once by main before any benchmark runs.
void SetFileFolder(const QString& path);
const QString& FileFolder();

// The floor of every renderer: its output rows copied from another buffer of the
// same geometry, one memcpy per row.
inline void CopyRows(std::uint8_t* destination, const std::uint8_t* source, std::size_t stride,
                     std::size_t rowBytes, int rows)
{
    for (int y = 0; y < rows; ++y)
        std::memcpy(destination + y * stride, source + y * stride, rowBytes);
}
