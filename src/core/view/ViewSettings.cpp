#include "ViewSettings.h"

#include "app/SettingsValue.h"
#include "rom/ActorTables.h"

#include <QSettings>

#include <algorithm>

namespace {

// The stored integer clamped into low..high; an absent or unreadable value gives fallback.
int ReadInt(const QSettings& settings, const char* key, int fallback, int low, int high)
{
    bool ok = false;
    const int value = settings.value(key).toInt(&ok);
    return ok ? std::clamp(value, low, high) : fallback;
}

} // namespace

void CViewSettings::Read(QSettings& settings)
{
    settings.beginGroup("Settings");
    m_nPalette = ReadInt(settings, "Pal Idx", 0, 0, CActorTables::PALETTE_COUNT - 1);
    m_bAutoPal = ReadInt(settings, "Auto pal", 1, 0, 1);
    m_nTileSet = ReadInt(settings, "Tile Set", 0, 0, CActorTables::ACTOR_COUNT - 1);
    m_bShowTileID = ReadInt(settings, "Show tile ID", 0, 0, 1);
    m_bBattlePal = ReadInt(settings, "Pal for battles", 0, 0, 1);
    m_bAnimate = ReadInt(settings, "Animation", 1, 0, 1);
    settings.endGroup();
}

void CViewSettings::Write(QSettings& settings) const
{
    settings.beginGroup("Settings");
    SetIfChanged(settings, QStringLiteral("Pal Idx"), m_nPalette);
    SetIfChanged(settings, QStringLiteral("Auto pal"), int(m_bAutoPal));
    SetIfChanged(settings, QStringLiteral("Tile Set"), m_nTileSet);
    SetIfChanged(settings, QStringLiteral("Show tile ID"), int(m_bShowTileID));
    SetIfChanged(settings, QStringLiteral("Pal for battles"), int(m_bBattlePal));
    SetIfChanged(settings, QStringLiteral("Animation"), int(m_bAnimate));
    settings.endGroup();
}
