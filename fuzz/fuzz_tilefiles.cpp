// Importing tile-set and palette files into a document: only the actor's tile
// window or the palette's 32 bytes may change, and only with the file's bytes;
// a failed import changes nothing. An import that changed bytes is one undo
// step, and undoing it brings back every byte.
//
// Input: byte 0 picks tile set or palette (bit 0), the bank (bit 1) and a folder
// or a missing file instead of a file (bits 2-3); byte 1 the actor or palette
// (values from 0xF0 on are out of range); the rest is the file.

#include "FuzzSupport.h"

#include "edit/TileFiles.h"
#include "rom/ActorTables.h"
#include "rom/GlyphoxDoc.h"
#include "rom/RomFileLayout.h"

#include <QDir>

#include <algorithm>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

namespace {

constexpr int kOutOfRange[] = {-1, 65, 30, 255, -100000, INT_MIN, INT_MAX};

int PickIndex(std::uint8_t byte, int count)
{
    if (byte < 0xF0)
        return byte % count;
    return kOutOfRange[(byte - 0xF0) % (sizeof(kOutOfRange) / sizeof(kOutOfRange[0]))];
}

// The document every run imports into, opened once on a patterned image so that
// a stray write shows; reference holds the image as opened.
CGlyphoxDoc* g_doc = nullptr;
std::vector<std::uint8_t> g_reference;

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz::MakeScratchFolder();
    g_reference.resize(ROM_IMAGE_SIZE);
    std::uint32_t state = 0x9E3779B9u;
    for (std::uint8_t& byte : g_reference) {
        state = state * 1664525u + 1013904223u;
        byte = std::uint8_t(state >> 24);
    }
    const QString rom = fuzz::ScratchPath("image.smc");
    fuzz::WriteFile(rom, reinterpret_cast<const char*>(g_reference.data()), g_reference.size());
    g_doc = new CGlyphoxDoc;
    FUZZ_CHECK(g_doc->OnOpenDocument(rom).ok);
    FUZZ_CHECK(std::memcmp(g_doc->Image(), g_reference.data(), ROM_IMAGE_SIZE) == 0);
    FUZZ_CHECK(QDir().mkpath(fuzz::ScratchPath("folder")));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const QString file = fuzz::ScratchPath("import.bin");
    static const QString folder = fuzz::ScratchPath("folder");
    static const QString missing = fuzz::ScratchPath("missing");

    if (size < 2)
        return 0;
    const bool palette = data[0] & 1;
    const bool battle = data[0] & 2;
    const bool useFolder = data[0] & 4;
    const bool useMissing = !useFolder && (data[0] & 8);
    const int index =
        PickIndex(data[1], palette ? CActorTables::PALETTE_COUNT : CActorTables::ACTOR_COUNT);
    const char* content = reinterpret_cast<const char*>(data + 2);
    const size_t length = size - 2;
    fuzz::WriteFile(file, content, length);
    const QString path = useFolder ? folder : useMissing ? missing : file;

    CGlyphoxDoc& doc = *g_doc;
    FUZZ_CHECK(doc.UndoStep() == nullptr);
    std::uint32_t start = 0;
    std::uint32_t span = 0;
    CFileResult result;
    if (palette) {
        start = CActorTables::PaletteOffset(battle, index);
        span = CTileFiles::PALETTE_FILE_BYTES;
        result = CTileFiles::ImportPalette(doc, battle, index, path);
    } else {
        start = std::uint32_t(CActorTables::TileWindow(doc.Image(), index) - doc.Image());
        span = CTileFiles::TILESET_FILE_BYTES;
        result = CTileFiles::ImportTileSet(doc, index, path);
    }
    FUZZ_CHECK(start <= ROM_IMAGE_SIZE && span <= ROM_IMAGE_SIZE - start);

    const bool readable = path == file;
    const bool expectOk = readable && (!palette || length >= CTileFiles::PALETTE_FILE_BYTES);
    FUZZ_CHECK(result.ok == expectOk);
    if (!result.ok)
        FUZZ_CHECK(result.message ==
                   (readable ? CTileFiles::PaletteTooShortText() : CTileFiles::CannotReadText()));

    const std::uint8_t* image = doc.Image();
    const std::uint8_t* before = g_reference.data();
    FUZZ_CHECK(std::memcmp(image, before, start) == 0);
    FUZZ_CHECK(std::memcmp(image + start + span, before + start + span,
                           ROM_IMAGE_SIZE - start - span) == 0);
    const size_t copied = result.ok ? std::min<size_t>(length, span) : 0;
    FUZZ_CHECK(std::memcmp(image + start, content, copied) == 0);
    FUZZ_CHECK(std::memcmp(image + start + copied, before + start + copied, span - copied) == 0);

    const bool changed = std::memcmp(image + start, before + start, span) != 0;
    FUZZ_CHECK((doc.UndoStep() != nullptr) == changed);
    FUZZ_CHECK(doc.IsModified() == changed);
    if (changed) {
        FUZZ_CHECK(doc.Undo());
        FUZZ_CHECK(!doc.IsModified());
        FUZZ_CHECK(std::memcmp(doc.Image(), before, ROM_IMAGE_SIZE) == 0);
        // Back to a history without the redo step, as the next run expects.
        doc.MakeUntitled();
        FUZZ_CHECK(doc.UndoStep() == nullptr && doc.RedoStep() == nullptr);
    }
    return 0;
}
