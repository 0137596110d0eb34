#include "edit/PixelEditor.h"

#include <QtTest>

#include <functional>

namespace {

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

    QRegion m_painted;

    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            m_painted += static_cast<QPaintEvent*>(event)->region();
        return false;
    }

private slots:
    void geometry()
    {
        CPixelEditor editor;
        SetUp(editor);
        QCOMPARE(editor.size(), QSize(132, 132));
        editor.resize(100, 50);
        editor.SetGridSize(4, 2, 0); // cells of 100 / 4, all pixels 0
        QCOMPARE(editor.size(), QSize(104, 54));
        QCOMPARE(editor.Grid().Bytes(), std::vector<std::uint8_t>(8, 0));
    }

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

    // A pixel repaints its cell; whole-tile operations repaint everything and report a change.
    void repaints()
    {
        CPixelEditor editor;
        SetUp(editor);
        editor.show();
        QVERIFY(QTest::qWaitForWindowExposed(&editor));
        editor.installEventFilter(this);
        QSignalSpy changed(&editor, &CPixelEditor::Changed);
        const auto painted = [&](const std::function<void()>& operation) {
            QTest::qWait(20);
            m_painted = QRegion();
            operation();
            return QTest::qWaitFor([&] { return !m_painted.isEmpty(); }) ? m_painted : QRegion();
        };
        const QRegion all(editor.rect());
        QCOMPARE(painted([&] { editor.SetPixel(2, 3, 9); }), QRegion(32, 48, 16, 16));
        QCOMPARE(painted([&] { editor.FillAll(3); }), all);
        for (auto operation :
             {&CPixelEditor::ShiftUp, &CPixelEditor::ShiftDown, &CPixelEditor::ShiftLeft,
              &CPixelEditor::ShiftRight, &CPixelEditor::FlipHorizontal, &CPixelEditor::FlipVertical,
              &CPixelEditor::RotateClockwise, &CPixelEditor::RotateCounterClockwise})
            QCOMPARE(painted([&] { (editor.*operation)(); }), all);
        QCOMPARE(changed.count(), 9);
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

    // Modes are tested as bits 1, 4, 2 in that order; other modes keep the cursor. Each cursor is
    // 32 x 32 with a black, opaque pixel at its hot spot.
    void cursor()
    {
        CPixelEditor editor;
        const auto hotSpot = [&editor](int mode) {
            editor.SetMode(mode);
            return editor.cursor().hotSpot();
        };
        QCOMPARE(hotSpot(2), QPoint(7, 23));
        QCOMPARE(hotSpot(6), QPoint(22, 23));
        QCOMPARE(hotSpot(0), QPoint(22, 23));
        QCOMPARE(hotSpot(7), QPoint(11, 20));
        for (int mode : {1, 2, 4}) {
            editor.SetMode(mode);
            const QCursor cursor = editor.cursor();
            QCOMPARE(cursor.bitmap().size(), QSize(32, 32));
            QVERIFY(cursor.bitmap().toImage().pixelColor(cursor.hotSpot()) == Qt::black &&
                    cursor.mask().toImage().pixelColor(cursor.hotSpot()) == Qt::black);
        }
    }
};

QTEST_MAIN(tst_PixelEditor)
#include "tst_pixeleditor.moc"
