#include "ui/HLSTransform.h"

#include <QtTest>

// Expected colours worked out step by step in single precision from the transform's rules:
// packed bytes truncated, percentages applied in integers, stored reciprocals for the scalings.
class tst_HLSTransform : public QObject
{
    Q_OBJECT

private slots:
    void derivedColours_data()
    {
        QTest::addColumn<QColor>("base");
        QTest::addColumn<int>("lum");
        QTest::addColumn<int>("sat");
        QTest::addColumn<QColor>("expected");

        const QColor face(192, 192, 192);
        const QColor highlight(10, 36, 106);
        // The menu's and toolbar's own tints (face 20, 75, -15, -18, -27; highlight 70 -57,
        // 50 -50, 50 -57, 50 -66, 75 -57) are checked pixel by pixel in their suites.
        // A grey keeps its hue and saturation at 0: only the luminance byte moves.
        QTest::newRow("face 0 0") << face << 0 << 0 << QColor(192, 192, 192);
        QTest::newRow("face 73 0") << face << 73 << 0 << QColor(237, 237, 237);
        QTest::newRow("face 70 -57") << face << 70 << -57 << QColor(236, 236, 236);
        // Packing the highlight loses a little even without any change.
        QTest::newRow("highlight 0 0") << highlight << 0 << 0 << QColor(10, 37, 105);
        QTest::newRow("highlight 20 0") << highlight << 20 << 0 << QColor(16, 62, 177);
        QTest::newRow("highlight -18 0") << highlight << -18 << 0 << QColor(8, 30, 85);
        // Red sits at hue 360, which is not wrapped; its luminance byte 127 gives 254 back.
        QTest::newRow("red 0 0") << QColor(255, 0, 0) << 0 << 0 << QColor(254, 0, 0);
        QTest::newRow("red 50 0") << QColor(255, 0, 0) << 50 << 0 << QColor(255, 127, 127);
        QTest::newRow("green -50 20") << QColor(0, 128, 0) << -50 << 20 << QColor(0, 64, 0);
        QTest::newRow("orange 50 0") << QColor(200, 100, 50) << 50 << 0 << QColor(228, 176, 151);
        QTest::newRow("orange -50 20") << QColor(200, 100, 50) << -50 << 20 << QColor(104, 47, 19);
        QTest::newRow("white stays") << QColor(255, 255, 255) << 60 << -40 << QColor(255, 255, 255);
        QTest::newRow("black to grey") << QColor(0, 0, 0) << 50 << 0 << QColor(127, 127, 127);
    }

    void derivedColours()
    {
        QFETCH(QColor, base);
        QFETCH(int, lum);
        QFETCH(int, sat);
        QFETCH(QColor, expected);
        QCOMPARE(HLSTransform(base, lum, sat).rgb(), expected.rgb());
    }
};

QTEST_APPLESS_MAIN(tst_HLSTransform)
#include "tst_hlstransform.moc"
