#include <QtTest>

#include "rom/ActorTables.h"
#include "rom/TileUsage.h"

using Tables = CActorTables;

class TestActorTables : public QObject
{
    Q_OBJECT

private slots:
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
                shown << QString("%1:%2,%3@%4%5")
                             .arg(cell.strip + 1)
                             .arg(cell.column)
                             .arg(cell.row)
                             .arg(steps, cell.mirrored ? "m" : "");
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
            QList<int> tiles;
            for (int tile = first; tile <= last; ++tile)
                tiles << tile;
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

QTEST_APPLESS_MAIN(TestActorTables)
#include "tst_actortables.moc"
