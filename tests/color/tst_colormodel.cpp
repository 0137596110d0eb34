#include <QtTest>

#include "color/ColorModel.h"
#include "ui/HLSTransform.h"

static std::uint16_t roundTrip(int word)
{
    double hue, sat, lum;
    SNESToHLS(static_cast<std::uint16_t>(word), &hue, &sat, &lum);
    return HLSToSNES(hue, lum, sat);
}

class TestColorModel : public QObject
{
    Q_OBJECT

private slots:
    void snesToHls_data()
    {
        QTest::addColumn<int>("word");
        QTest::addColumn<double>("hue");
        QTest::addColumn<double>("sat");
        QTest::addColumn<double>("lum");
        QTest::newRow("black") << 0x0000 << 0.0 << 0.0 << 0.0;
        QTest::newRow("white") << 0x7FFF << 0.0 << 0.0 << 1.0;
        QTest::newRow("red") << 0x001F << 0.0 << 1.0 << 0.5;
        QTest::newRow("green") << 0x03E0 << 0.3333333333333333 << 1.0 << 0.5;
        QTest::newRow("blue") << 0x7C00 << 0.6666666666666666 << 1.0 << 0.5;
        QTest::newRow("blue, bit 15 set") << 0xFC00 << 0.6666666666666666 << 1.0 << 0.5;
    }

    void snesToHls()
    {
        QFETCH(int, word);
        QFETCH(double, hue);
        QFETCH(double, sat);
        QFETCH(double, lum);
        double h = -1, s = -1, l = -1;
        SNESToHLS(static_cast<std::uint16_t>(word), &h, &s, &l);
        QCOMPARE_EQ(h, hue);
        QCOMPARE_EQ(s, sat);
        QCOMPARE_EQ(l, lum);
        QCOMPARE(HLSToSNES(h, l, s), std::uint16_t(word & 0x7FFF));
    }

    void hlsToSnes()
    {
        QCOMPARE(HLSToSNES(0.0, 0.5, 0.0), std::uint16_t(0x3DEF));
        QCOMPARE(HLSToSNES(0.7, 0.5, 0.0), std::uint16_t(0x3DEF));
        QCOMPARE(HLSToSNES(1.0, 0.5, 1.0), std::uint16_t(0x001F));
        // Green is (two thirds - 0.5) x 6, just below 1, and truncates to 30.
        QCOMPARE(HLSToSNES(0.5, 0.5, 1.0), std::uint16_t(0x7FC0));
    }

    // Both directions truncate, so a word comes back unchanged or one step lower per component.
    void roundTripAllWords()
    {
        int unchanged = 0;
        for (int word = 0; word < 0x8000; ++word) {
            const int back = roundTrip(word);
            for (int shift : {0, 5, 10}) {
                const int loss = (word >> shift & 31) - (back >> shift & 31);
                QVERIFY2(loss == 0 || loss == 1, qPrintable(QString::number(word, 16)));
            }
            QVERIFY(back < 0x8000);
            unchanged += back == word;
        }
        QCOMPARE(unchanged, 6525);

        // 9 x 0.03225806451612903 x 31 is just below 9, and so for 13, 18 and 26.
        QCOMPARE(roundTrip(0x2529), std::uint16_t(0x2108)); // grey 9 comes back as grey 8
        QCOMPARE(roundTrip(0x35AD), std::uint16_t(0x318C)); // 13 as 12
        QCOMPARE(roundTrip(0x4A52), std::uint16_t(0x4631)); // 18 as 17
        QCOMPARE(roundTrip(0x6B5A), std::uint16_t(0x6739)); // 26 as 25
        QCOMPARE(roundTrip(0x0029), std::uint16_t(0x0008)); // red 9, green 1 as red 8
    }

    void fields()
    {
        QCOMPARE(HLSToField(0.99), 29);
        QCOMPARE(HLSToField(0.3333333333333333), 10);
        for (int field = 0; field <= 30; ++field)
            QCOMPARE(HLSToField(FieldToHLS(field)), field);
        // Fields H 5, L 25, S 30 give this word only when no multiply-add is fused.
        QCOMPARE(HLSToSNES(FieldToHLS(5), FieldToHLS(25), FieldToHLS(30)), std::uint16_t(0x53FF));
        // Field 23 scales to 0.7666666666666666, just below 23 / 30.0, and red stays 31.
        QCOMPARE(HLSToSNES(FieldToHLS(0), FieldToHLS(23), FieldToHLS(30)), std::uint16_t(0x421F));
    }

    // Expected colours worked out step by step in single precision from the transform's rules:
    // packed bytes truncated, percentages applied in integers, stored reciprocals for the
    // scalings.
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

QTEST_APPLESS_MAIN(TestColorModel)
#include "tst_colormodel.moc"
