#pragma once

#include "rom/ImageEdit.h"

#include <QObject>

#include <cstdint>

// What the editor shows and edits: the actor (0..64), its tile (0..180), the
// palette bank and number (0..29) and whether the number follows the actor
// automatically, with their rules: numbers typed outside a range wrap (above
// to the first, below to the last), a tile is clamped, and an automatic
// palette is the actor's own for the bank. Every ROM address the editor needs
// comes from here.
class CSelection : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    int Actor() const { return m_nActor; }
    int Tile() const { return m_nTile; }
    bool IsBattle() const { return m_bBattle; }
    int Palette() const { return m_nPalette; }
    bool IsAutoPalette() const { return m_bAutoPalette; }

    void SetActor(int actor);
    void SetTile(int tile);
    void SetBattle(bool battle);
    // Ignored while the palette is automatic.
    void SetPalette(int palette);
    void SetAutoPalette(bool automatic);
    // Shows where an edit happened: the fields it names, others kept.
    void GoTo(const CEditSite& site);

    // A number outside 0..last wraps: above to 0, below to last.
    static int Wrap(int value, int last);

    std::uint32_t WindowOffset() const;
    std::uint32_t TileOffset() const;
    std::uint32_t PaletteOffset() const;
    std::uint32_t ColorOffset(int index) const;
    // Everything shown, as a site; this tile, or this palette, as the site of an edit.
    CEditSite Site() const { return {m_nActor, m_nTile, m_bBattle ? 1 : 0, m_nPalette}; }
    CEditSite TileSite() const { return {m_nActor, m_nTile, -1, -1}; }
    CEditSite PaletteSite() const { return {-1, -1, m_bBattle ? 1 : 0, m_nPalette}; }

signals:
    void Changed();

private:
    void FollowAutoPalette();
    void Set(int* field, int value);

    int m_nActor = 0;
    int m_nTile = 0;
    bool m_bBattle = true;
    int m_nPalette = 0;
    bool m_bAutoPalette = false;
};
