#include <QtTest>

#include "color/ColorModel.h"

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
};

QTEST_APPLESS_MAIN(TestColorModel)
#include "tst_colormodel.moc"
