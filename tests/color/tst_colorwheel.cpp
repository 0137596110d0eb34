#include "color/ColorModel.h"
#include "color/ColorWheel.h"
#include "color/LumBar.h"
#include "TestPixels.h"

#include <QPainter>
#include <QSignalSpy>
#include <QtTest>

#include <memory>

using TestPixels::Find;
using TestPixels::Screen;

namespace {

// Sends a move with modifiers, which QTest::mouseMove drops.
void Move(QWidget* widget, QPoint point, Qt::KeyboardModifiers modifiers)
{
    QTest::mouseEvent(QTest::MouseMove, widget, Qt::NoButton, modifiers, point);
}

} // namespace

class tst_ColorWheel : public QObject
{
    Q_OBJECT

    std::unique_ptr<CColorWheel> m_pWheel;

private slots:
    void init()
    {
        m_pWheel = std::make_unique<CColorWheel>();
        m_pWheel->resize(210, 208);
        m_pWheel->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_pWheel.get()));
    }
    void cleanup() { m_pWheel.reset(); }

    void fieldFollowsModel()
    {
        const QImage field = m_pWheel->Field();
        QCOMPARE(field.size(), QSize(210, 208));
        for (int x = 0; x < 210; ++x) {
            for (int j = 0; j < 208; ++j) {
                if (field.pixel(x, 207 - j) != Screen(HLSToSNES(x / 210.0, 0.5, j / 208.0)).rgb())
                    QFAIL(qPrintable(QString("pixel %1, %2").arg(x).arg(207 - j)));
            }
        }
    }

    // The field with the crosshair's visible arms in black, and nothing else.
    void crosshair_data()
    {
        QTest::addColumn<double>("hue");
        QTest::addColumn<double>("sat");
        QTest::addColumn<QList<QRect>>("arms");
        QTest::newRow("centre -1, -1: parts of two arms")
            << 0.0 << 1.0 << QList<QRect>{QRect(4, 0, 5, 1), QRect(0, 4, 1, 5)};
        QTest::newRow("centre 104, 103: open square")
            << 0.5 << 0.5
            << QList<QRect>{QRect(109, 102, 5, 3), QRect(103, 108, 3, 5), QRect(95, 102, 5, 3),
                            QRect(103, 94, 3, 5)};
    }
    void crosshair()
    {
        QFETCH(double, hue);
        QFETCH(double, sat);
        QFETCH(QList<QRect>, arms);
        m_pWheel->SetHueSat(hue, sat);
        QImage expected = m_pWheel->Field();
        for (const QRect& arm : arms)
            QPainter(&expected).fillRect(arm, Qt::black);
        QCOMPARE(m_pWheel->grab().toImage().convertToFormat(QImage::Format_RGB32), expected);
    }

    // A 210 x 208 wheel: press grid 7 x 6, drag grid 6 x 6 over 206 columns.
    void picks_data()
    {
        QTest::addColumn<QPoint>("press");
        QTest::addColumn<QPoint>("move"); // null: no drag
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<double>("hue");
        QTest::addColumn<double>("sat");
        QTest::addColumn<QPoint>("marker");
        const int ctrl = Qt::ControlModifier, shift = Qt::ShiftModifier;
        QTest::newRow("press column 20")
            << QPoint(20, 100) << QPoint() << 0 << 14 / 210.0 << 112 / 208.0 << QPoint(14, 96);
        QTest::newRow("press top left")
            << QPoint(3, 2) << QPoint() << 0 << 0.0 << 1.0 << QPoint(0, 0);
        QTest::newRow("press bottom row")
            << QPoint(209, 207) << QPoint() << 0 << 203 / 210.0 << 4 / 208.0 << QPoint(203, 204);
        QTest::newRow("drag column 20") << QPoint(100, 100) << QPoint(20, 100) << 0 << 19 / 206.0
                                        << 112 / 208.0 << QPoint(18, 96);
        QTest::newRow("ctrl press keeps column")
            << QPoint(150, 100) << QPoint() << ctrl << 49 / 210.0 << 112 / 208.0 << QPoint(49, 96);
        QTest::newRow("shift press keeps row") << QPoint(150, 100) << QPoint() << shift
                                               << 147 / 210.0 << 160 / 208.0 << QPoint(147, 48);
        QTest::newRow("ctrl drag keeps column") << QPoint(100, 100) << QPoint(20, 30) << ctrl
                                                << 97 / 206.0 << 178 / 208.0 << QPoint(96, 30);
        QTest::newRow("shift drag keeps row") << QPoint(100, 100) << QPoint(20, 30) << shift
                                              << 19 / 206.0 << 112 / 208.0 << QPoint(18, 96);
        QTest::newRow("drag outside stops at the edges")
            << QPoint(100, 100) << QPoint(-50, 400) << 0 << 1 / 206.0 << 4 / 208.0
            << QPoint(0, 204);
    }
    void picks()
    {
        QFETCH(QPoint, press);
        QFETCH(QPoint, move);
        QFETCH(int, modifiers);
        const auto keys = Qt::KeyboardModifiers(modifiers);
        QList<QPoint> markersSeen; // where the marker was when the owner heard of a pick
        QList<double> huesSeen;
        connect(m_pWheel.get(), &CColorWheel::Clicked, this, [&] {
            markersSeen << QPoint(m_pWheel->m_nMarkerX, m_pWheel->m_nMarkerY);
            huesSeen << m_pWheel->m_dHue;
        });
        const bool drag = !move.isNull();
        QTest::mousePress(m_pWheel.get(), Qt::LeftButton, drag ? Qt::KeyboardModifiers() : keys,
                          press);
        if (drag)
            Move(m_pWheel.get(), move, keys);
        QTest::mouseRelease(m_pWheel.get(), Qt::LeftButton, {}, drag ? move : press);
        Move(m_pWheel.get(), QPoint(5, 5), {}); // after the release: nothing
        QTEST(m_pWheel->m_dHue, "hue");
        QTEST(m_pWheel->m_dSat, "sat");
        QTEST(QPoint(m_pWheel->m_nMarkerX, m_pWheel->m_nMarkerY), "marker");
        QCOMPARE(markersSeen.size(), drag ? 2 : 1);
        QCOMPARE(markersSeen.first(), QPoint(50, 50));
        QCOMPARE(huesSeen.last(), m_pWheel->m_dHue);
        QVERIFY(!m_pWheel->m_bTracking);
    }

    // The bar in a parent, its gradient at 10, 10, 12 x 208: a grid of 6 rows.
    void lumBar_data()
    {
        QTest::addColumn<double>("setLum"); // negative: pick with the mouse instead
        QTest::addColumn<int>("pressY");    // bar rows
        QTest::addColumn<int>("dragY");
        QTest::addColumn<int>("marker");
        QTest::addColumn<double>("lum");
        QTest::newRow("SetLum 1.0") << 1.0 << 0 << 0 << 0 << 1.0;
        QTest::newRow("SetLum 0") << 0.0 << 0 << 0 << 208 << 0.0;
        QTest::newRow("press row 100") << -1.0 << 100 << 100 << 96 << 112 / 208.0;
        QTest::newRow("drag to the top") << -1.0 << 100 << 0 << 0 << 1.0;
        QTest::newRow("drag below the bar") << -1.0 << 100 << 300 << 204 << 4 / 208.0;
    }
    void lumBar()
    {
        QFETCH(double, setLum);
        QFETCH(int, pressY);
        QFETCH(int, dragY);
        QFETCH(int, marker);
        QFETCH(double, lum);
        QWidget parent;
        parent.resize(60, 240);
        auto* bar = new CLumBar(&parent);
        bar->SetBarGeometry(QRect(10, 10, 12, 208));
        bar->m_dHue = 0.4;
        bar->m_dSat = 0.7;
        parent.show();
        QVERIFY(QTest::qWaitForWindowExposed(&parent));
        QSignalSpy spy(bar, &CLumBar::Clicked);
        const int top = CLumBar::MARGIN_Y;
        if (setLum >= 0) {
            bar->SetLum(setLum);
        } else { // in the strip right of the bar, where the pointer is kept
            QTest::mousePress(bar, Qt::LeftButton, {}, QPoint(12, top + pressY));
            QTest::mouseMove(bar, QPoint(13, top + dragY));
            QTest::mouseRelease(bar, Qt::LeftButton, {}, QPoint(13, top + dragY));
        }
        QCOMPARE(bar->m_nMarkerY, marker);
        QCOMPARE(bar->m_dLum, lum);
        QCOMPARE(spy.count(), setLum >= 0 ? 0 : 2);

        const QImage image = bar->grab().toImage().convertToFormat(QImage::Format_RGB32);
        for (int j = 0; j < 208; ++j)
            QCOMPARE(image.pixel(11, top + 207 - j), Screen(HLSToSNES(0.4, j / 208.0, 0.7)).rgb());
        // A triangle of 25 black pixels, its tip two columns right of the bar, its side on
        // column w + 6.
        QCOMPARE(Find(image, Qt::black, QRect(12, 0, 8, image.height())).first, 25);
        for (int k = 0; k < 9; ++k) {
            const int from = k < 5 ? 18 - k : 19 - (9 - k), y = top + marker - 4 + k;
            QCOMPARE(Find(image, Qt::black, QRect(12, y, 8, 1)).second,
                     QRect(from, y, 19 - from, 1));
        }
    }

    // On a dark face a black marker would vanish: it takes the light text colour.
    void lumBarMarkerOnDarkFace()
    {
        CLumBar bar;
        bar.setPalette(TestPixels::DarkPalette());
        bar.SetBarGeometry(QRect(0, 0, 12, 208));
        bar.SetLum(0.5);
        QCOMPARE(Find(bar.grab().toImage(), QColor(230, 230, 230), QRect(12, 0, 8, 218)).first, 25);
    }
};

QTEST_MAIN(tst_ColorWheel)
#include "tst_colorwheel.moc"
