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
        // A grey keeps its hue and saturation at 0: only the luminance byte moves.
        QTest::newRow("face 0 0") << face << 0 << 0 << QColor(192, 192, 192);
        QTest::newRow("face 20 0") << face << 20 << 0 << QColor(204, 204, 204);
        QTest::newRow("face 75 0") << face << 75 << 0 << QColor(239, 239, 239);
        QTest::newRow("face 73 0") << face << 73 << 0 << QColor(237, 237, 237);
        QTest::newRow("face -18 0") << face << -18 << 0 << QColor(157, 157, 157);
        QTest::newRow("face -27 0") << face << -27 << 0 << QColor(140, 140, 140);
        QTest::newRow("face -15 0") << face << -15 << 0 << QColor(163, 163, 163);
        QTest::newRow("face 70 -57") << face << 70 << -57 << QColor(236, 236, 236);
        // Packing the highlight loses a little even without any change.
        QTest::newRow("highlight 0 0") << highlight << 0 << 0 << QColor(10, 37, 105);
        QTest::newRow("highlight 70 -57") << highlight << 70 << -57 << QColor(173, 185, 216);
        QTest::newRow("highlight 50 -50") << highlight << 50 << -50 << QColor(115, 138, 196);
        QTest::newRow("highlight 50 -57") << highlight << 50 << -57 << QColor(121, 140, 190);
        QTest::newRow("highlight 50 -66") << highlight << 50 << -66 << QColor(128, 144, 183);
        QTest::newRow("highlight 75 -57") << highlight << 75 << -57 << QColor(187, 197, 222);
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
