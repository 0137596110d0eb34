#pragma once

#include <QByteArray>
#include <QString>

class CTileUsage;

// glyphox-cli's account of where an actor's tiles show in the strips, per tile or for one
// tile, with the tiles none of the actor's poses use: as lines to read or as JSON.
class CTileUsageReport
{
public:
    // tile: 0..180, or -1 for every tile of the window.
    static QString Text(const CTileUsage& usage, int tile);
    static QByteArray Json(const CTileUsage& usage, int tile);
};
