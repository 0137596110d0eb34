#pragma once

class QSettings;

// The six view settings of group "Settings". Values read from the profile are clamped into
// their ranges, so a damaged file never makes the view index outside a table.
class CViewSettings
{
public:
    void Read(QSettings& settings);
    void Write(QSettings& settings) const;

    // Field names and defaults as in the view.
    int m_nPalette = 0;
    bool m_bAutoPal = true;
    int m_nTileSet = 0;
    bool m_bShowTileID = false;
    bool m_bBattlePal = false;
    bool m_bAnimate = true;
};
