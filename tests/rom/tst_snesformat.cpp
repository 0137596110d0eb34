#include <QtTest>

#include "rom/SnesFormat.h"

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

class TestSnesFormat : public QObject
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
        QByteArray back(TILE_BYTES, 0);
        MirrorTile(u8(source), u8(mirrored));
        QCOMPARE(mirrored, tileWith({{0, 0x01}, {5, 0x48}, {31, 0x0F}}));
        QCOMPARE(source, original);
        MirrorTile(u8(mirrored), u8(back));
        QCOMPARE(back, original);
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
        QTest::addColumn<int>("bytesPerPixel");
        QTest::newRow("3 bytes per pixel") << 3;
        QTest::newRow("4 bytes per pixel") << 4;
    }

    // The shuffle path against the portable one: every value of every tile byte
    // (the others random), random palettes, blocks drawn between sentinel bytes.
    void drawTileMatchesPortable()
    {
        QFETCH(int, bytesPerPixel);
        if (!SnesDetail::HasTileSimd())
            QSKIP("no byte-shuffle path on this processor");
        QRandomGenerator random(18);
        constexpr int kWidth = 3 * TILE_SIZE; // the block is drawn at column 8, tile row 1
        QByteArray expected(kWidth * 3 * TILE_SIZE * bytesPerPixel, '\xAA');
        QByteArray viaWords = expected, viaPixels = expected;
        for (int at = 0; at < TILE_BYTES; ++at) {
            for (int value = 0; value < 256; ++value) {
                QByteArray tile(TILE_BYTES, 0);
                random.fillRange(reinterpret_cast<quint32*>(tile.data()), TILE_BYTES / 4);
                tile[at] = char(value);
                std::uint16_t palette[PALETTE_COLORS];
                for (std::uint16_t& word : palette)
                    word = std::uint16_t(random.bounded(0x10000));
                std::uint32_t pixels[PALETTE_COLORS];
                MakeSpritePixels(palette, pixels);
                SnesDetail::DrawTilePixelsPortable(u8(tile), pixels, 8, 1, u8(expected), kWidth,
                                                   bytesPerPixel);
                DrawTile(u8(tile), palette, 8, 1, u8(viaWords), kWidth, 0, bytesPerPixel);
                DrawTilePixels(u8(tile), pixels, 8, 1, u8(viaPixels), kWidth, bytesPerPixel);
                QCOMPARE(viaWords, expected);
                QCOMPARE(viaPixels, expected);
            }
        }
    }
};

QTEST_APPLESS_MAIN(TestSnesFormat)
#include "tst_snesformat.moc"
