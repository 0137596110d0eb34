#include <QtTest>

#include <numeric>

#include "rom/ActorTables.h"
#include "rom/SnesFormat.h"
#include "rom/TileUsage.h"

using Tables = CActorTables;

static std::uint8_t* u8(QByteArray& bytes)
{
    return reinterpret_cast<std::uint8_t*>(bytes.data());
}

// A 32-byte tile, zero except for the given (byte, value) pairs.
static QByteArray tileWith(std::initializer_list<std::pair<int, int>> bytes)
{
    QByteArray tile(TILE_BYTES, 0);
    for (auto [at, value] : bytes)
        tile[at] = char(value);
    return tile;
}

// The ROM's data: tiles in the SNES bit-plane format, colour words, and the game's tables.
class TestRomFormat : public QObject
{
    Q_OBJECT

private slots:
    void decode_data()
    {
        QTest::addColumn<QByteArray>("tile");
        QTest::addColumn<int>("pixel"); // 8 y + x
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("elsewhere");
        QTest::newRow("all 0xFF") << QByteArray(TILE_BYTES, '\xFF') << 0 << 15 << 15;
        QTest::newRow("plane 0 at (0,0)") << tileWith({{0, 0x80}}) << 0 << 1 << 0;
        QTest::newRow("plane 1 at (1,1)") << tileWith({{3, 0x40}}) << 9 << 2 << 0;
        QTest::newRow("plane 2 at (7,7)") << tileWith({{30, 0x01}}) << 63 << 4 << 0;
        QTest::newRow("plane 3 at (7,0)") << tileWith({{17, 0x01}}) << 7 << 8 << 0;
    }

    void decode()
    {
        QFETCH(QByteArray, tile);
        QFETCH(int, pixel);
        QFETCH(int, index);
        QFETCH(int, elsewhere);
        std::uint8_t pixels[TILE_PIXELS];
        DecodeTile(u8(tile), pixels);
        for (int i = 0; i < TILE_PIXELS; ++i)
            QCOMPARE(int(pixels[i]), i == pixel ? index : elsewhere);
    }

    void encode()
    {
        QRandomGenerator rng(1994);
        std::uint8_t pixels[TILE_PIXELS];
        QByteArray tile(TILE_BYTES, 0);
        QByteArray encoded(TILE_BYTES, 0);
        for (int i = 0; i < 500; ++i) {
            for (char& byte : tile)
                byte = char(rng.bounded(256));
            DecodeTile(u8(tile), pixels);
            EncodeTile(pixels, u8(encoded));
            QCOMPARE(encoded, tile);
        }
        std::fill(std::begin(pixels), std::end(pixels), 0xF3); // encodes as index 3
        EncodeTile(pixels, u8(encoded));
        QCOMPARE(encoded, QByteArray(16, '\xFF') + QByteArray(16, 0));
    }

    void mirror()
    {
        QByteArray source = tileWith({{0, 0x80}, {5, 0x12}, {31, 0xF0}});
        const QByteArray original = source;
        QByteArray mirrored(TILE_BYTES, 0);
        MirrorTile(u8(source), u8(mirrored));
        QCOMPARE(mirrored, tileWith({{0, 0x01}, {5, 0x48}, {31, 0x0F}}));
        QCOMPARE(source, original);
    }

    void screenColor()
    {
        QCOMPARE(SnesToScreen(0x7FFF), (ScreenColor{248, 248, 248}));
        QCOMPARE(SnesToScreen(0x001F), (ScreenColor{248, 0, 0}));
        QCOMPARE(SnesToScreen(0x0C41), (ScreenColor{8, 16, 24}));
        QCOMPARE(SnesToScreen(0x8000), (ScreenColor{0, 0, 0}));
    }

    void drawTileMatchesPortable_data()
    {
        QTest::addColumn<SnesDetail::TilePath>("path");
        QTest::newRow("shuffles") << SnesDetail::TilePath::Shuffles;
        QTest::newRow("bit matrix") << SnesDetail::TilePath::BitMatrix;
    }

    // Each shuffle path against the portable one at 3 and 4 bytes per pixel: every value
    // of every tile byte (the others random), random palettes, blocks drawn between
    // sentinel bytes.
    void drawTileMatchesPortable()
    {
        using SnesDetail::TilePath;
        QFETCH(TilePath, path);
        if (SnesDetail::FastestTilePath() < path)
            QSKIP("this processor cannot run the path");
        QRandomGenerator random(18);
        constexpr int kWidth = 3 * TILE_SIZE; // the block is drawn at column 8, tile row 1
        for (const int bytesPerPixel : {3, 4}) {
            QByteArray expected(kWidth * 3 * TILE_SIZE * bytesPerPixel, '\xAA');
            QByteArray viaWords = expected, viaPixels = expected;
            for (int at = 0; at < TILE_BYTES * 256; ++at) {
                QByteArray tile(TILE_BYTES, 0);
                random.fillRange(reinterpret_cast<quint32*>(tile.data()), TILE_BYTES / 4);
                tile[at / 256] = char(at % 256);
                std::uint16_t palette[PALETTE_COLORS];
                for (std::uint16_t& word : palette)
                    word = std::uint16_t(random.bounded(0x10000));
                std::uint32_t pixels[PALETTE_COLORS];
                MakeSpritePixels(palette, pixels);
                SnesDetail::DrawTilePixelsOn(TilePath::Portable, u8(tile), pixels, 8, 1,
                                             u8(expected), kWidth, bytesPerPixel);
                SnesDetail::DrawTileOn(path, u8(tile), palette, 8, 1, u8(viaWords), kWidth,
                                       bytesPerPixel);
                SnesDetail::DrawTilePixelsOn(path, u8(tile), pixels, 8, 1, u8(viaPixels), kWidth,
                                             bytesPerPixel);
                QCOMPARE(viaWords, expected);
                QCOMPARE(viaPixels, expected);
            }
        }
    }

    // The game's tables: where each actor's tiles and palettes are, and how the strips use them.
    void offsets()
    {
        // Six runs of equally spaced sets: first actor, last actor, first offset, spacing.
        const std::uint32_t runs[][4] = {{0, 15, 0x150200, 0x16A0}, {16, 21, 0x166C00, 0x1560},
                                         {22, 25, 0x16EC40, 0x6E0}, {26, 28, 0x1707C0, 0x700},
                                         {29, 48, 0x171CC0, 0x5C0}, {49, 64, 0x178FC0, 0x500}};
        for (const auto& run : runs) {
            for (std::uint32_t actor = run[0]; actor <= run[1]; ++actor)
                QCOMPARE(Tables::TileSetOffset(int(actor)), run[2] + (actor - run[0]) * run[3]);
        }
        QVERIFY(Tables::TileSetOffset(64) + 5792 <= 0x300200u);

        QCOMPARE(Tables::PaletteOffset(true, 29) + 2 * 15, 0x2D68BEu);
        QCOMPARE(Tables::PaletteOffset(false, 0), 0x268200u);

        // Numbers out of range are clamped, never used to index.
        QCOMPARE(Tables::TileSetOffset(65), Tables::TileSetOffset(64));
        QCOMPARE(Tables::TileSetOffset(-1), Tables::TileSetOffset(0));
        QCOMPARE(Tables::PaletteOffset(true, 30), Tables::PaletteOffset(true, 29));
        QCOMPARE(Tables::AutoPalette(99, true), Tables::AutoPalette(64, true));
    }

    // Rows worked out from the game: the battle palette differs only for actors 18, 31, 61.
    void autoPalettes()
    {
        const int rows[][3] = {{0, 2, 2},  {10, 5, 5}, {18, 8, 6},
                               {31, 5, 0}, {61, 5, 0}, {64, 0, 0}};
        for (const auto& [actor, overworld, battle] : rows) {
            QCOMPARE(Tables::AutoPalette(actor, false), overworld);
            QCOMPARE(Tables::AutoPalette(actor, true), battle);
        }
    }

    void stripEntries_data()
    {
        QTest::addColumn<int>("strip");
        QTest::addColumn<int>("variant");
        QTest::addColumn<int>("cell");
        QTest::addColumn<QList<int>>("entries");
        QTest::newRow("1.0 row 0") << 0 << 0 << 6 << QList<int>{0x6A, 0x01, 0x70, 0x0D};
        QTest::newRow("1.1 row 1") << 0 << 1 << 10 << QList<int>{0x06, 0x07, 0x12, 0x13};
        QTest::newRow("1.2 row 2")
            << 0 << 2 << 20 << QList<int>{0x105, 0x104, 0x111, 0x110, 0x26, 0x27};
        QTest::newRow("2.0 row 0") << 1 << 0 << 20 << QList<int>{0x1E, 0x1F, 0xAB, 0xAC};
        QTest::newRow("2.1 row 1") << 1 << 1 << 40 << QList<int>{0x06, 0x5F, 0x5D, 0x5E};
        QTest::newRow("3 row 0") << 2 << 0 << 18 << QList<int>{0x51, 0x52, -1, -1, -1, 0x9D};
        QTest::newRow("3 row 2") << 2 << 0 << 75 << QList<int>{0x5B, 0x5C, 0xA1, 0xA2, 0xA9, 0xAA};
    }

    void stripEntries()
    {
        QFETCH(int, strip);
        QFETCH(int, variant);
        QFETCH(int, cell);
        QFETCH(QList<int>, entries);
        QList<int> actual;
        for (int i = 0; i < entries.size(); ++i)
            actual << Tables::Strip(strip).Entry(variant, cell + i);
        QCOMPARE(actual, entries);
    }

    // Every cell is a tile of the 181-tile window, mirrored only in strip 1 variant 2, or
    // empty only in strip 3, row 0, columns 20-22.
    void stripShapes()
    {
        const int shapes[][2] = {{10, 3}, {24, 2}, {27, 1}}; // width, variants
        int mirrored = 0;
        QList<int> empty;
        for (int strip = 0; strip < 3; ++strip) {
            const Tables::StripMap& map = Tables::Strip(strip);
            QCOMPARE(map.width, shapes[strip][0]);
            QCOMPARE(map.variants, shapes[strip][1]);
            for (int variant = 0; variant < map.variants; ++variant) {
                for (int cell = 0; cell < 3 * map.width; ++cell) {
                    const int entry = map.Entry(variant, cell);
                    if (entry == -1)
                        empty << strip * 100 + cell;
                    else
                        QVERIFY(entry >= 0 && (entry & 0xFF) <= 180 && entry <= 0x1FF);
                    mirrored += entry > 0xFF;
                }
            }
        }
        QCOMPARE(mirrored, 4);
        QCOMPARE(empty, (QList<int>{220, 221, 222}));
    }

    void variantForStep()
    {
        const QList<int> cycles[] = {{0, 1, 2, 1, 0, 1, 2, 1}, {0, 1, 0, 1, 0, 1, 0, 1}, {0, 0, 0}};
        for (int strip = 0; strip < 3; ++strip) {
            QList<int> actual;
            for (int step = 0; step < cycles[strip].size(); ++step)
                actual << Tables::StripVariantForStep(strip, step);
            QCOMPARE(actual, cycles[strip]);
        }
    }

    // Worked out from the maps: a cell reads "strip:column,row@steps", m when mirrored.
    void tileUsage()
    {
        const auto cells = [](const CTileUsage& usage, int tile) {
            QStringList shown;
            for (const CTileUsage::Cell& cell : usage.CellsOf(tile)) {
                QString steps;
                for (int step = 0; step < Tables::StripStepCount(cell.strip); ++step)
                    steps += cell.ShowsAt(step) ? QString::number(step) : QString();
                shown << QString::asprintf("%d:%d,%d@%s%s", cell.strip + 1, cell.column, cell.row,
                                           qPrintable(steps), cell.mirrored ? "m" : "");
            }
            return shown.join(' ');
        };
        const CTileUsage actor0(0);
        QCOMPARE(cells(actor0, 0x00), "1:0,0@0123 1:6,0@123 2:16,0@01 2:18,0@01");
        QCOMPARE(cells(actor0, 0x04), "1:0,2@0 1:1,2@2m");
        QCOMPARE(cells(actor0, 0x33), "2:1,0@1");
        QCOMPARE(cells(actor0, 0xB4), "2:23,1@1");
        QCOMPARE(cells(actor0, 181), "");

        // Own tiles per run: 181, 171, 55, 56, 46, 40; the last actor is spaced like its run.
        QCOMPARE((QList<int>{Tables::OwnTiles(15), Tables::OwnTiles(16), Tables::OwnTiles(25),
                             Tables::OwnTiles(26), Tables::OwnTiles(48), Tables::OwnTiles(64)}),
                 (QList<int>{181, 171, 55, 56, 46, 40}));

        // A pose is the actor's only when all its tiles are: 0x33 to 0x36 of a 55-tile actor
        // show only in the pose that also takes 0x37, the next actor's first tile.
        const auto unused = [](int actor) {
            const std::vector<int> tiles = CTileUsage(actor).UnusedTiles();
            return QList<int>(tiles.begin(), tiles.end());
        };
        const auto range = [](int first, int last) {
            QList<int> tiles(last - first + 1);
            std::iota(tiles.begin(), tiles.end(), first);
            return tiles;
        };
        QCOMPARE(unused(0), QList<int>{});
        QCOMPARE(unused(16), range(171, 180));
        QCOMPARE(unused(22), range(0x33, 180));
        QCOMPARE(unused(26), range(56, 180));
        QCOMPARE(unused(40), range(46, 180));
        QCOMPARE(unused(64), range(40, 180));
        QVERIFY(CTileUsage(22).IsUsed(0x32) && !CTileUsage(22).IsUsed(0x33));
        QCOMPARE(cells(CTileUsage(22), 0x04), cells(actor0, 0x04));
    }
};

QTEST_APPLESS_MAIN(TestRomFormat)
#include "tst_romformat.moc"
