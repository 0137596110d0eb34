#include "edit/PixelGrid.h"

#include <QtTest>

#include <map>

using Bytes = std::vector<std::uint8_t>;

// 1, 2, 3 ... row by row, stored through Set.
static CPixelGrid Numbered(int width, int height)
{
    CPixelGrid grid(width, height);
    for (int i = 0; i < width * height; ++i)
        grid.Set(i % width, i / width, std::uint8_t(i + 1));
    return grid;
}

class tst_PixelGrid : public QObject
{
    Q_OBJECT

private slots:
    void operations_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QString>("steps"); // U D L R shifts, H V flips, C clockwise, A counter
        QTest::addColumn<Bytes>("expected");
        // 3 x 2 catches every mix-up of width and height; 3 x 3 is the smallest asymmetric square.
        // clang-format off
        QTest::newRow("shift up")          << QSize(3, 2) << "U" << Bytes{4, 5, 6, 0, 0, 0};
        QTest::newRow("shift down")        << QSize(3, 2) << "D" << Bytes{0, 0, 0, 1, 2, 3};
        QTest::newRow("shift left")        << QSize(3, 2) << "L" << Bytes{2, 3, 0, 5, 6, 0};
        QTest::newRow("shift right")       << QSize(3, 2) << "R" << Bytes{0, 1, 2, 0, 4, 5};
        QTest::newRow("flip horizontally") << QSize(3, 2) << "H" << Bytes{3, 2, 1, 6, 5, 4};
        QTest::newRow("flip vertically")   << QSize(3, 2) << "V" << Bytes{4, 5, 6, 1, 2, 3};
        QTest::newRow("rotate clockwise")  << QSize(3, 3) << "C" << Bytes{7, 4, 1, 8, 5, 2, 9, 6, 3};
        QTest::newRow("rotate counter")    << QSize(3, 3) << "A" << Bytes{3, 6, 9, 2, 5, 8, 1, 4, 7};
        QTest::newRow("clockwise, not square") << QSize(3, 2) << "C" << Numbered(3, 2).Bytes();
        // clang-format on
    }

    void operations()
    {
        QFETCH(QSize, size);
        QFETCH(QString, steps);
        const std::map<QChar, void (CPixelGrid::*)()> operations = {
            {'U', &CPixelGrid::ShiftUp},         {'D', &CPixelGrid::ShiftDown},
            {'L', &CPixelGrid::ShiftLeft},       {'R', &CPixelGrid::ShiftRight},
            {'H', &CPixelGrid::FlipHorizontal},  {'V', &CPixelGrid::FlipVertical},
            {'C', &CPixelGrid::RotateClockwise}, {'A', &CPixelGrid::RotateCounterClockwise}};
        CPixelGrid grid = Numbered(size.width(), size.height());
        for (QChar step : steps)
            (grid.*operations.at(step))();
        QTEST(grid.Bytes(), "expected");
    }

    void outsideTheGrid()
    {
        CPixelGrid grid(3, 2);
        for (const QPoint& at : {QPoint(-1, 0), QPoint(3, 0), QPoint(0, -1), QPoint(0, 2)})
            QVERIFY(!grid.Set(at.x(), at.y(), 9) && grid.Get(at.x(), at.y()) == 0);
        QCOMPARE(grid.Bytes(), Bytes(6, 0));
    }

    // 4-connected, in the order left, right, up, down, within the 8 x 8 area and the grid.
    void floodFill()
    {
        CPixelGrid grid(10, 10);
        for (const QPoint& at : {QPoint(1, 1), QPoint(2, 1), QPoint(1, 2), QPoint(3, 2)})
            grid.Set(at.x(), at.y(), 3);
        QCOMPARE(grid.FloodFill(2, 1, 5), (std::vector<QPoint>{{2, 1}, {1, 1}, {1, 2}}));
        QVERIFY(grid.FloodFill(1, 1, 5).empty()); // already the colour
        QVERIFY(grid.FloodFill(8, 0, 5).empty()); // outside the 8 x 8 area
        QCOMPARE(int(grid.FloodFill(7, 7, 7).size()), 64 - 4);
        QCOMPARE(grid.Get(8, 7), 0);
        QCOMPARE(int(CPixelGrid(4, 3).FloodFill(3, 2, 1).size()), 12);
    }
};

QTEST_APPLESS_MAIN(tst_PixelGrid)
#include "tst_pixelgrid.moc"
