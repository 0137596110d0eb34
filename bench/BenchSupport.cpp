#include "BenchSupport.h"

#include "rom/ActorTables.h"
#include "rom/DemoRom.h"

namespace {

constexpr std::uint32_t kSeed = 1;
constexpr int kActor = 0;

QString& Folder()
{
    static QString folder;
    return folder;
}

} // namespace

const std::uint8_t* BenchSprites::Window() const
{
    return CActorTables::TileWindow(reinterpret_cast<const std::uint8_t*>(image.constData()),
                                    kActor);
}

const BenchSprites& Sprites()
{
    static const BenchSprites sprites = [] {
        BenchSprites made{CDemoRom::Build(kSeed), {}};
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(made.image.constData());
        CActorTables::LoadPalette(bytes, true, CActorTables::AutoPalette(kActor, true),
                                  made.palette);
        return made;
    }();
    return sprites;
}

void SetFileFolder(const QString& path)
{
    Folder() = path;
}

const QString& FileFolder()
{
    return Folder();
}
