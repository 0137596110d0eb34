#include "edit/PaletteFile.h"

#include <QBuffer>
#include <QImage>
#include <QtTest>

// Palette files as drawing programs write them: each format exports and reads back the same
// words; colours off the 5-bit grid round to the nearest SNES value and are counted; short or
// damaged files are refused.
class tst_PaletteFile : public QObject
{
    Q_OBJECT

    static constexpr std::uint16_t kWords[16] = {0x0000, 0x7FFF, 0x001F, 0x03E0, 0x7C00, 0x1234,
                                                 0x2108, 0x4210, 0x6318, 0x0C63, 0x5294, 0x7BDE,
                                                 0x0421, 0x3DEF, 0x56B5, 0x7FE0};

private slots:
    void everyFormatReadsBackItsWords_data()
    {
        QTest::addColumn<int>("format");
        QTest::addColumn<QByteArray>("start");
        QTest::newRow("raw") << int(CPaletteFile::Format::Raw) << QByteArray("\x00\x00\xFF\x7F", 4);
        QTest::newRow("jasc") << int(CPaletteFile::Format::Jasc) << QByteArray("JASC-PAL\r\n0100");
        QTest::newRow("gimp") << int(CPaletteFile::Format::Gimp) << QByteArray("GIMP Palette\n");
        QTest::newRow("act") << int(CPaletteFile::Format::Act)
                             << QByteArray("\0\0\0\xFF\xFF\xFF", 6);
    }

    void everyFormatReadsBackItsWords()
    {
        QFETCH(int, format);
        QFETCH(QByteArray, start);
        const QByteArray bytes = CPaletteFile::Encode(kWords, CPaletteFile::Format(format));
        QVERIFY(bytes.startsWith(start));
        CPaletteFile::Colors colors;
        QVERIFY(CPaletteFile::Decode(bytes, &colors).ok);
        QCOMPARE(colors.words, std::vector<std::uint16_t>(std::begin(kWords), std::end(kWords)));
        QCOMPARE(colors.rounded, 0);
    }

    // 31 widens to 255, 12 to 99 and 13 to 107; 100 is off the grid and rounds down to 12, 104
    // rounds up to 13.
    void offGridColoursRoundAndShortFilesFillWhatTheyHave()
    {
        QCOMPARE(CPaletteFile::Widen(31), 255);
        QCOMPARE(CPaletteFile::Widen(12), 99);
        CPaletteFile::Colors colors;
        QVERIFY(
            CPaletteFile::Decode("JASC-PAL\n0100\n3\n255 0 0\n100 99 99\n0 0 104\n", &colors).ok);
        QCOMPARE(colors.words,
                 (std::vector<std::uint16_t>{0x001F, 12 | 12 << 5 | 12 << 10, 13 << 10}));
        QCOMPARE(colors.rounded, 2);
        QVERIFY(CPaletteFile::Decode("GIMP Palette\nName: x\n#\n  8  16 255\tA\n", &colors).ok);
        QCOMPARE(colors.words, (std::vector<std::uint16_t>{1 | 2 << 5 | 31 << 10}));

        QImage indexed(2, 2, QImage::Format_Indexed8);
        indexed.setColorTable({qRgb(255, 255, 255), qRgb(8, 0, 0)});
        QByteArray png;
        QBuffer buffer(&png);
        QVERIFY(buffer.open(QIODevice::WriteOnly) && indexed.save(&buffer, "PNG"));
        QVERIFY(CPaletteFile::Decode(png, &colors).ok);
        QCOMPARE(colors.words, (std::vector<std::uint16_t>{0x7FFF, 0x0001}));
        QVERIFY(!CPaletteFile::Decode(png.left(40), &colors).ok);
    }

    void refusals_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("one byte") << QByteArray("x");
        QTest::newRow("three raw colours") << QByteArray(6, '\x1F');
        QTest::newRow("jasc count past the lines") << QByteArray("JASC-PAL\n0100\n4\n1 2 3\n");
        QTest::newRow("gimp component 256") << QByteArray("GIMP Palette\n256 0 0\n");
    }

    void refusals()
    {
        QFETCH(QByteArray, bytes);
        CPaletteFile::Colors colors;
        const CFileResult result = CPaletteFile::Decode(bytes, &colors);
        QVERIFY(!result.ok && !result.message.isEmpty());
    }
};

QTEST_GUILESS_MAIN(tst_PaletteFile)
#include "tst_palettefile.moc"
