#include "edit/PixelEditor.h"
#include "edit/PixelGrid.h"

#include <QtTest>

#include <map>

namespace {

using Bytes = std::vector<std::uint8_t>;

// 1, 2, 3 ... row by row, stored through Set.
CPixelGrid Numbered(int width, int height)
{
    CPixelGrid grid(width, height);
    for (int i = 0; i < width * height; ++i)
        grid.Set(i % width, i / width, std::uint8_t(i + 1));
    return grid;
}

// Index 5 has three different components.
const std::uint16_t kColors[16] = {0x7FFF, 0x001F, 0x83E0, 0x7C00, 0, 0x1CA3};

// Pens 1 and 2. (1,1), (2,1), (1,2) are a region of 3 that (3,2) touches only diagonally;
// index 20 at (4,6) has no colour.
const int kSeeds[][3] = {{1, 1, 3}, {2, 1, 3}, {1, 2, 3}, {3, 2, 3},
                         {5, 5, 1}, {6, 0, 2}, {7, 7, 5}, {4, 6, 20}};

void SetUp(CPixelEditor& editor)
{
    editor.SetGridSize(8, 8, 16);
    editor.SetPalette(kColors, 16);
    editor.SetPenColors(1, 2);
    for (const auto& [x, y, index] : kSeeds)
        editor.SetPixel(x, y, std::uint8_t(index));
}

// Steps: "lX,Y" / "rX,Y" press the left / right button at client point X,Y, "L" / "R"
// release it, "mX,Y" moves with the buttons held, "pL,R" sets the pen colours.
void Drive(CPixelEditor& editor, const QString& script)
{
    Qt::MouseButtons held;
    for (const QString& step : script.split(' ')) {
        const QStringList xy = step.mid(1).split(',');
        const QPoint at(xy.value(0).toInt(), xy.value(1).toInt());
        if (step[0] == 'p') {
            editor.SetPenColors(at.x(), at.y());
            continue;
        }
        QEvent::Type type = QEvent::MouseMove;
        Qt::MouseButton button = Qt::NoButton;
        if (step[0] != 'm') {
            type = step[0].isLower() ? QEvent::MouseButtonPress : QEvent::MouseButtonRelease;
            button = step[0].toLower() == 'l' ? Qt::LeftButton : Qt::RightButton;
        }
        held ^= button;
        QMouseEvent event(type, at, editor.mapToGlobal(at), button, held, Qt::NoModifier);
        QCoreApplication::sendEvent(&editor, &event);
    }
}

} // namespace

class tst_PixelEditor : public QObject
{
    Q_OBJECT

private slots:
    void painting_data()
    {
        QTest::addColumn<bool>("colours");
        QTest::addColumn<QPoint>("at");
        QTest::addColumn<QColor>("color");
        const QColor grey(192, 192, 192), none(Qt::transparent);
        // clang-format off
        QTest::newRow("index 1")            << true << QPoint(88, 88)   << QColor(248, 0, 0);
        QTest::newRow("components")         << true << QPoint(127, 127) << QColor(24, 40, 56);
        QTest::newRow("no colour: black")   << true << QPoint(72, 104)  << QColor(Qt::black);
        QTest::newRow("top left")           << true << QPoint(0, 0)     << grey;
        QTest::newRow("vertical line")      << true << QPoint(112, 120) << grey;
        QTest::newRow("horizontal line")    << true << QPoint(120, 112) << grey;
        QTest::newRow("right margin")       << true << QPoint(128, 64)  << none;
        QTest::newRow("bottom margin")      << true << QPoint(64, 128)  << none;
        QTest::newRow("no colours: nothing") << false << QPoint(8, 8)   << none;
        // clang-format on
    }

    void painting()
    {
        CPixelEditor editor;
        SetUp(editor);
        QFETCH(bool, colours);
        if (!colours)
            editor.SetPalette(nullptr, 0);
        QFETCH(QPoint, at);
        QTEST(editor.grab().toImage().pixelColor(at), "color");
    }

    void mouse_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("log");
        // clang-format off
        QTest::newRow("press paints") << 1 << "l24,8 L" << "C 1,0=1";
        QTest::newRow("press on own colour") << 1 << "l88,88 L" << "C";
        QTest::newRow("drag") << 1 << "l8,8 m12,8 m24,8 m88,88 L m40,8" << "C C 0,0=1 1,0=1";
        QTest::newRow("left wins") << 1 << "r24,8 l24,8 m40,8 R m56,8 L"
                                   << "C C C C 1,0=1 2,0=1 3,0=1";
        QTest::newRow("pens") << 1 << "p-1,5 l8,8 L r24,8 R p7,-1 l40,8 L r56,8 R"
                              << "C C C C 0,0=1 1,0=5 2,0=7 3,0=5";
        QTest::newRow("margin presses") << 1 << "l130,8 L l8,131 L" << "C C";
        QTest::newRow("5 px left") << 1 << "l24,40 m-5,40 L" << "C C 0,2=1 1,2=1";
        QTest::newRow("20 px left") << 1 << "l24,40 m-20,40 m8,-20 L" << "C 1,2=1";
        QTest::newRow("dropper") << 2 << "l24,24 m26,24 m104,8 m72,104 L m8,8" << "0:3 0:3 0:2 0:20";
        QTest::newRow("dropper, left wins") << 2 << "r24,24 m120,120 l88,88 m8,8 L R"
                                            << "1:3 1:5 0:1 0:0";
        QTest::newRow("dropper margin") << 2 << "l130,8 m8,131 L" << "";
        QTest::newRow("fill") << 4 << "l24,24 m8,8 L" << "C 1,1=1 2,1=1 1,2=1";
        QTest::newRow("fill own colour") << 4 << "l88,88 L" << "C";
        QTest::newRow("fill margin") << 4 << "l8,130 L" << "C";
        // clang-format on
    }

    // The log holds a C per change, the picks as button:index, then the changed pixels as
    // x,y=index.
    void mouse()
    {
        QFETCH(int, mode);
        QFETCH(QString, script);
        CPixelEditor editor;
        SetUp(editor);
        editor.SetMode(mode);
        const std::vector<std::uint8_t> before = editor.Grid().Bytes();
        QSignalSpy changed(&editor, &CPixelEditor::Changed);
        QSignalSpy picked(&editor, &CPixelEditor::Picked);
        Drive(editor, script);
        QStringList log(changed.count(), QStringLiteral("C"));
        for (const QList<QVariant>& pick : picked)
            log << QString("%1:%2").arg(pick[0].toInt()).arg(pick[1].toInt());
        for (int i = 0; i < 64; ++i) {
            if (editor.GetPixel(i % 8, i / 8) != before[i])
                log << QString("%1,%2=%3").arg(i % 8).arg(i / 8).arg(editor.GetPixel(i % 8, i / 8));
        }
        QTEST(log.join(' '), "log");
    }

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

QTEST_MAIN(tst_PixelEditor)
#include "tst_pixeleditor.moc"
