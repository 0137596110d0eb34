#include "Selection.h"

#include "rom/ActorTables.h"

void CSelection::Set(int* field, int value)
{
    if (*field == value)
        return;
    *field = value;
    emit Changed();
}

int CSelection::Wrap(int value, int last)
{
    return value > last ? 0 : value < 0 ? last : value;
}

void CSelection::FollowAutoPalette()
{
    if (m_bAutoPalette)
        Set(&m_nPalette, CActorTables::AutoPalette(m_nActor, m_bBattle));
}

void CSelection::SetActor(int actor)
{
    Set(&m_nActor, Wrap(actor, CActorTables::ACTOR_COUNT - 1));
    FollowAutoPalette();
}

void CSelection::SetTile(int tile)
{
    Set(&m_nTile, qBound(0, tile, CActorTables::WINDOW_TILES - 1));
}

void CSelection::SetBattle(bool battle)
{
    if (m_bBattle != battle) {
        m_bBattle = battle;
        emit Changed();
    }
    FollowAutoPalette();
}

void CSelection::SetPalette(int palette)
{
    if (!m_bAutoPalette)
        Set(&m_nPalette, Wrap(palette, CActorTables::PALETTE_COUNT - 1));
}

void CSelection::SetAutoPalette(bool automatic)
{
    if (m_bAutoPalette != automatic) {
        m_bAutoPalette = automatic;
        emit Changed();
    }
    FollowAutoPalette();
}

void CSelection::GoTo(const CEditSite& site)
{
    if (site.actor >= 0)
        SetActor(site.actor);
    if (site.tile >= 0)
        SetTile(site.tile);
    if (site.battle >= 0)
        SetBattle(site.battle == 1);
    // A colour step names its palette: shown by hand, even if it was automatic.
    if (site.palette >= 0 && site.palette != m_nPalette) {
        SetAutoPalette(false);
        SetPalette(site.palette);
    }
}

std::uint32_t CSelection::WindowOffset() const
{
    return CActorTables::TileSetOffset(m_nActor);
}

std::uint32_t CSelection::TileOffset() const
{
    return CActorTables::TileOffset(m_nActor, m_nTile);
}

std::uint32_t CSelection::PaletteOffset() const
{
    return CActorTables::PaletteOffset(m_bBattle, m_nPalette);
}

std::uint32_t CSelection::ColorOffset(int index) const
{
    return CActorTables::ColorOffset(m_bBattle, m_nPalette, index);
}
