#include <QDir>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

// Runs the built glyphox-cli on generated ROM images. Expected bytes and pixels follow from the
// ROM layout (buffer offsets count a 512-byte copier header), the 4-bit planar tile format and
// the screen colour of a colour word (each 5-bit component times 8).

namespace {

constexpr int kImageSize = 0x300200;
constexpr int kHeaderless = 0x300000;
constexpr int kWindow = 5792;

struct Result
{
    int code = -1;
    QString out;
    QString err;
};

// Colour index of pixel (x, y) of generated tile t: all 16 indices occur, and no tile equals
// another tile or a mirror image.
int Pattern(int t, int x, int y)
{
    return (x + 2 * y + t) % 16;
}

// Colour c of generated palette `key`; bit 15, set on some words, is not a colour bit.
QRgb Colour(int key, int c)
{
    return qRgb((2 * c + key) % 32 * 8, (31 - c + key) % 32 * 8, (5 * c + key) % 32 * 8);
}

quint16 Word(int key, int c)
{
    const QRgb rgb = Colour(key, c);
    return quint16(qRed(rgb) / 8 | qGreen(rgb) / 8 << 5 | qBlue(rgb) / 8 << 10 |
                   (c % 3 == 0) << 15);
}

QByteArray Filler(int size, int seed)
{
    QByteArray bytes(size, '\0');
    for (int i = 0; i < size; ++i)
        bytes[i] = char((i * 131 + seed * 71) >> 2 ^ seed);
    return bytes;
}

QByteArray ReadFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// Compares 24 x 24 cell (col, row) with tile t (-1: empty) in palette `key`, magnified three
// times; transparent pixels show key grey, or the 4 x 4 checkerboard of the tile sheet.
QString CheckCell(const QImage& image, int col, int row, int t, bool mirrored, int key,
                  bool checker)
{
    for (int i = 0; i < 24 * 24; ++i) {
        const int x = 24 * col + i % 24;
        const int y = 24 * row + i / 24;
        const int v = t < 0 ? 0 : Pattern(t, mirrored ? 7 - i % 24 / 3 : i % 24 / 3, i / 72);
        const int grey = !checker ? 127 : (x / 4 + y / 4) % 2 ? 128 : 204;
        const QRgb want = v ? Colour(key, v) : qRgb(grey, grey, grey);
        if (image.pixel(x, y) != want)
            return QStringLiteral("pixel %1,%2 is %3, not %4")
                .arg(x)
                .arg(y)
                .arg(image.pixel(x, y), 0, 16)
                .arg(want, 0, 16);
    }
    return {};
}

} // namespace

class TestCli : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void demoRom();
    void refusals_data();
    void refusals();
    void infoAndRecover_data();
    void infoAndRecover();
    void fileCommands_data();
    void fileCommands();
    void render_data();
    void render();
    void stripLabels();
    void color_data();
    void color();

private:
    Result Run(QStringList args) const;
    QString Path(const QString& name) const { return m_dir.filePath(name); }
    // The demo ROM with or without its header, cut or padded to size bytes.
    QByteArray Image(bool headerless, int size) const
    {
        const QByteArray image = headerless ? m_base.mid(512) : m_base;
        return size <= image.size() ? image.left(size) : image + Filler(size - image.size(), 3);
    }

    QTemporaryDir m_dir;
    QTemporaryDir m_dataHome;
    QByteArray m_base;
};

// Arguments starting with @ name files in the test's folder.
Result TestCli::Run(QStringList args) const
{
    for (QString& arg : args)
        if (arg.startsWith(QLatin1Char('@')))
            arg = Path(arg.mid(1));
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_DATA_HOME"), m_dataHome.path());
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(GLYPHOX_CLI), args);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit)
        return {};
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

void TestCli::initTestCase()
{
    QVERIFY(m_dir.isValid() && m_dataHome.isValid());
    QVERIFY(QDir(m_dir.path()).mkdir(QStringLiteral("folder")));
    QCOMPARE(Run({"demo-rom", "@base.smc"}).code, 0);
    m_base = ReadFile(Path("base.smc"));
    QCOMPARE(m_base.size(), kImageSize);

    // The windows of actors 16 and 18 get the generated tiles; battle palette 3, overworld
    // palette 8 and battle palette 6 get generated palettes 1, 9 and 20.
    QByteArray rom = m_base;
    for (const int window : {0x166C00, 0x1696C0}) {
        rom.replace(window, kWindow, QByteArray(kWindow, '\0'));
        for (int i = 0; i < 181 * 256; ++i) { // tile, row, column, plane
            const int t = i / 256, y = i / 32 % 8, x = i / 4 % 8, plane = i % 4;
            if (Pattern(t, x, y) >> plane & 1)
                rom[window + 32 * t + 2 * y + plane % 2 + plane / 2 * 16] |= char(0x80 >> x);
        }
    }
    const int palettes[][2] = {{0x2D6560, 1}, {0x268300, 9}, {0x2D65C0, 20}};
    for (const auto& [offset, key] : palettes)
        for (int c = 0; c < 16; ++c) {
            rom[offset + 2 * c] = char(Word(key, c) & 0xFF);
            rom[offset + 2 * c + 1] = char(Word(key, c) >> 8);
        }
    QVERIFY(WriteFile(Path("custom.smc"), rom));
    QVERIFY(WriteFile(Path("custom-headerless.smc"), rom.mid(512)));
}

void TestCli::demoRom()
{
    QCOMPARE(Run({"demo-rom", "@a.smc", "--seed", "7"}).code, 0);
    QCOMPARE(Run({"demo-rom", "@b.smc", "--seed", "7", "--headerless"}).code, 0);
    QCOMPARE(Run({"demo-rom", "@c.smc", "--seed", "7"}).code, 0);
    QCOMPARE(Run({"demo-rom", "@d.smc", "--seed", "8"}).code, 0);
    const QByteArray seven = ReadFile(Path("a.smc"));
    const QByteArray eight = ReadFile(Path("d.smc"));
    QCOMPARE(seven.size(), kImageSize);
    QCOMPARE(eight.size(), kImageSize);
    QCOMPARE(ReadFile(Path("b.smc")), seven.mid(512));
    QCOMPARE(ReadFile(Path("c.smc")), seven);
    QVERIFY(eight != seven);
    QVERIFY(seven.mid(0x17DAC0, kWindow).count('\0') < kWindow);

    const Result refused = Run({"demo-rom", "@a.smc", "--seed", "8"});
    QCOMPARE(refused.code, 1);
    QCOMPARE(ReadFile(Path("a.smc")), seven);
    QCOMPARE(Run({"demo-rom", "@a.smc", "--seed", "8", "--force"}).code, 0);
    QCOMPARE(ReadFile(Path("a.smc")), eight);
}

void TestCli::refusals_data()
{
    QTest::addColumn<QString>("args");
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("shortSize"); // length of short.smc
    const auto row = [](const char* name, const char* args, int code, int size = kImageSize - 1) {
        QTest::newRow(name) << QString::fromLatin1(args) << code << size;
    };
    row("no-command", "", 2);
    row("unknown-command", "paint @rom.smc", 2);
    row("actor-65", "export-tileset @rom.smc --actor 65 -o @out.bin", 2);
    row("palette-30", "export-palette @rom.smc --bank battle --palette 30 -o @out.bin", 2);
    row("bank-x", "import-palette @rom.smc --bank x --palette 0 @in40.bin", 2);
    row("strip-4", "render-strip @rom.smc --actor 0 --bank battle --palette 0 --strip 4 -o @o.png",
        2);
    row("palette-and-auto",
        "render-strip @rom.smc --actor 0 --bank battle --palette 0 --auto --strip 1 -o @o.png", 2);
    row("no-output", "export-tileset @rom.smc --actor 0", 2);
    row("word-above-0xFFFF", "color 0x10000", 2);
    row("hls-above-30", "color --hls 5,31,25", 2);
    row("missing-rom", "export-tileset @missing.smc --actor 0 -o @out.bin", 1);
    row("folder-as-rom", "export-palette @folder --bank battle --palette 0 -o @out.bin", 1);
    row("folder-as-output", "export-tileset @rom.smc --actor 0 -o @folder", 1);
    row("one-byte-short", "render-tiles @short.smc --actor 0 --bank battle --auto -o @out.bin", 1);
    row("short-headered", "import-tileset @short.smc --actor 3 @in40.bin", 1, kImageSize - 1024);
    row("short-headerless", "import-palette @short.smc --bank battle --palette 0 @in40.bin", 1,
        kHeaderless - 1024);
    row("palette-file-31-bytes", "import-palette @rom.smc --bank battle --palette 4 @in31.bin", 1);
    row("missing-tile-file", "import-tileset @rom.smc --actor 0 @missing.bin", 1);
}

void TestCli::refusals()
{
    QFETCH(QString, args);
    QFETCH(int, code);
    QFETCH(int, shortSize);
    QVERIFY(WriteFile(Path("rom.smc"), m_base));
    QVERIFY(WriteFile(Path("short.smc"), m_base.left(shortSize)));
    QVERIFY(WriteFile(Path("in31.bin"), Filler(31, 5)) &&
            WriteFile(Path("in40.bin"), Filler(40, 5)));

    const Result result = Run(args.split(QLatin1Char(' '), Qt::SkipEmptyParts));
    const QString err = result.err.trimmed();
    QCOMPARE(result.code, code);
    // A usage error shows the usage; any other failure is a one-line message.
    QVERIFY2(code == 2 ? err.contains(QLatin1String("Usage:"))
                       : !err.isEmpty() && !err.contains(QLatin1Char('\n')),
             qPrintable(err));
    QCOMPARE(ReadFile(Path("rom.smc")), m_base);
    QCOMPARE(ReadFile(Path("short.smc")), m_base.left(shortSize));
    QVERIFY(!QFile::exists(Path("out.bin")) && !QFile::exists(Path("o.png")));
    QVERIFY(QFileInfo(Path("folder")).isDir());
}

void TestCli::infoAndRecover_data()
{
    QTest::addColumn<bool>("headerless");
    QTest::addColumn<int>("size");
    QTest::addColumn<QString>("facts"); // fragments of the lower-cased report
    QTest::newRow("headered") << false << kImageSize << "header: yes|editable: yes";
    QTest::newRow("headerless") << true << kHeaderless << "header: no|editable: yes";
    QTest::newRow("headered-with-tail") << false << kImageSize + 700 << "header: yes|editable: yes";
    QTest::newRow("headerless-with-tail")
        << true << kHeaderless + 1024 << "header: no|editable: yes";
    QTest::newRow("one-byte-short") << false << kImageSize - 1 << "editable: no";
    QTest::newRow("short-headered") << false << kImageSize - 1024 << "editable: no";
    QTest::newRow("short-headerless") << true << kHeaderless - 1024 << "editable: no";
}

// Without a journal, info reports no pending save and recover has nothing to do.
void TestCli::infoAndRecover()
{
    QFETCH(bool, headerless);
    QFETCH(int, size);
    QFETCH(QString, facts);
    QVERIFY(WriteFile(Path("info.smc"), Image(headerless, size)));
    const Result info = Run({"info", "@info.smc"});
    QCOMPARE(info.code, 0);
    const QString report = info.out.toLower();
    for (const QString& fact : facts.split(QLatin1Char('|')) << QString::number(size))
        QVERIFY2(report.contains(fact), qPrintable(fact + QLatin1String(" not in: ") + report));
    QVERIFY2(!report.contains(QLatin1String("recover")), qPrintable(report));
    const Result recover = Run({"recover", "@info.smc"});
    QCOMPARE(recover.code, 0);
    QVERIFY(!recover.out.isEmpty());
    QCOMPARE(ReadFile(Path("info.smc")), Image(headerless, size));
}

void TestCli::fileCommands_data()
{
    QTest::addColumn<bool>("headerless");
    QTest::addColumn<int>("size");
    QTest::addColumn<QString>("args");
    QTest::addColumn<int>("inSize"); // 0: an export to out.bin; -1: import the bytes in place
    QTest::addColumn<int>("offset"); // buffer offset, header included
    QTest::addColumn<int>("length");
    const auto row = [](const char* name, bool headerless, int size, const char* args, int inSize,
                        int offset, int length) {
        QTest::newRow(name) << headerless << size << QString::fromLatin1(args) << inSize << offset
                            << length;
    };
    const int hl = kHeaderless;
    row("export-tileset-0", false, kImageSize, "export-tileset @rom.smc --actor 0 -o @out.bin", 0,
        0x150200, kWindow);
    row("export-tileset-16", true, hl, "export-tileset @rom.smc --actor 16 -o @out.bin", 0,
        0x166C00, kWindow);
    row("export-tileset-64", false, kImageSize + 700,
        "export-tileset @rom.smc --actor 64 -o @out.bin", 0, 0x17DAC0, kWindow);
    row("export-battle-29", true, hl,
        "export-palette @rom.smc --bank battle --palette 29 -o @out.bin", 0, 0x2D68A0, 32);
    row("export-overworld-0", false, kImageSize,
        "export-palette @rom.smc --bank overworld --palette 0 -o @out.bin", 0, 0x268200, 32);
    row("import-whole-window", false, kImageSize, "import-tileset @rom.smc --actor 0 @in.bin",
        kWindow, 0x150200, kWindow);
    row("import-short-file-tail-kept", false, kImageSize + 700,
        "import-tileset @rom.smc --actor 64 @in.bin", 100, 0x17DAC0, 100);
    row("import-long-file", true, hl, "import-tileset @rom.smc --actor 16 @in.bin", 6000, 0x166C00,
        kWindow);
    row("import-own-window", true, hl + 1024, "import-tileset @rom.smc --actor 40 @in.bin", -1,
        0x175C00, kWindow);
    row("import-palette-40-bytes", false, kImageSize,
        "import-palette @rom.smc --bank battle --palette 29 @in.bin", 40, 0x2D68A0, 32);
    row("import-palette-tail-kept", true, hl + 1024,
        "import-palette @rom.smc --bank overworld --palette 5 @in.bin", 32, 0x2682A0, 32);
}

// Exports write the bytes at the offset; imports replace them and nothing else in the file.
void TestCli::fileCommands()
{
    QFETCH(bool, headerless);
    QFETCH(int, size);
    QFETCH(QString, args);
    QFETCH(int, inSize);
    QFETCH(int, offset);
    QFETCH(int, length);
    const QByteArray image = Image(headerless, size);
    const int at = offset - (headerless ? 512 : 0);
    const QByteArray in = inSize < 0 ? image.mid(at, length) : Filler(inSize, 9);
    QVERIFY(WriteFile(Path("rom.smc"), image) && WriteFile(Path("in.bin"), in));
    QFile::remove(Path("out.bin"));
    QCOMPARE(Run(args.split(QLatin1Char(' '))).code, 0);
    if (inSize == 0)
        QCOMPARE(ReadFile(Path("out.bin")), image.mid(at, length));
    QCOMPARE(ReadFile(Path("rom.smc")),
             inSize == 0 ? image : image.left(at) + in.left(length) + image.mid(at + length));
}

void TestCli::render_data()
{
    QTest::addColumn<QString>("args");
    QTest::addColumn<int>("width"); // in cells
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("cells"); // col,row,tile in hex; m: mirrored; --: empty cell
    const auto strip = [](const char* name, const char* rom, const char* strip, const char* cells) {
        QTest::newRow(name)
            << QStringLiteral("render-strip @%1 --actor 16 --bank battle --palette 3 --strip %2")
                   .arg(QLatin1String(rom), QLatin1String(strip))
            << QList<int>{10, 24, 27}.at(strip[0] - '1') << 1 << QString::fromLatin1(cells);
    };
    strip("strip1", "custom.smc", "1", "0,0,00 1,2,05 6,0,6A 7,1,07 9,2,15");
    strip("strip1-step1", "custom.smc", "1 --step 1", "0,1,06 4,0,1E 5,2,23");
    strip("strip1-step2", "custom.smc", "1 --step 2",
          "0,1,0A 0,2,m05 1,2,m04 2,2,m11 3,2,m10 7,0,6B");
    strip("strip1-step7", "custom.smc", "1 --step 7", "0,1,06 9,2,15");
    strip("strip1-step6-headerless", "custom-headerless.smc", "1 --step 6",
          "0,1,0A 0,2,m05 9,0,71");
    strip("strip2-step0", "custom.smc", "2 --step 0", "1,0,1F 17,1,07 23,2,B0");
    strip("strip2-step3", "custom.smc", "2 --step 3", "1,0,33 17,1,5F 20,0,96");
    strip("strip3-step5", "custom-headerless.smc", "3 --step 5",
          "1,0,2E 19,0,52 20,0,-- 21,0,-- 22,0,-- 20,1,57 26,2,AA");
    const char* tiles = "0,0,00 1,0,01 90,0,5A 180,0,B4";
    QTest::newRow("tiles") << "render-tiles @custom.smc --actor 16 --bank battle --palette 3" << 181
                           << 1 << tiles;
    QTest::newRow("tiles-auto-overworld-8")
        << "render-tiles @custom.smc --actor 18 --bank overworld --auto" << 181 << 9 << tiles;
    QTest::newRow("tiles-auto-battle-6")
        << "render-tiles @custom.smc --actor 18 --bank battle --auto" << 181 << 20 << tiles;
}

void TestCli::render()
{
    QFETCH(QString, args);
    QFETCH(int, width);
    QFETCH(int, key);
    QFETCH(QString, cells);
    QCOMPARE(Run(args.split(QLatin1Char(' ')) << "-o"
                                              << "@out.png")
                 .code,
             0);
    const QByteArray png = ReadFile(Path("out.png"));
    QVERIFY2(png.mid(12, 4) == "IHDR" && png.at(24) == 8 && png.at(25) == 2, "not 8-bit RGB");
    const QImage image = QImage::fromData(png);
    const bool sheet = args.startsWith(QLatin1String("render-tiles"));
    QCOMPARE(image.size(), QSize(24 * width, sheet ? 24 : 72));
    for (const QString& cell : cells.split(QLatin1Char(' '))) {
        const QStringList part = cell.split(QLatin1Char(','));
        const int tile = part[2] == QLatin1String("--") ? -1 : part[2].right(2).toInt(nullptr, 16);
        const QString error = CheckCell(image, part[0].toInt(), part[1].toInt(), tile,
                                        part[2].startsWith(QLatin1Char('m')), key, sheet);
        QVERIFY2(error.isEmpty(), qPrintable(cell + QLatin1String(": ") + error));
    }
}

// Labels go unmagnified over the top 8 lines of each non-empty cell, body white and outline
// black; the empty cells 20 to 22 of strip 3 get none.
void TestCli::stripLabels()
{
    const QStringList args = {"render-strip", "@custom.smc", "--actor", "16", "--bank", "battle",
                              "--palette",    "3",           "--strip", "3",  "-o"};
    QCOMPARE(Run(args + QStringList{"@plain.png"}).code, 0);
    QCOMPARE(Run(args + QStringList{"@labels.png", "--labels"}).code, 0);
    const QImage plain(Path("plain.png"));
    const QImage labels(Path("labels.png"));
    QCOMPARE(labels.size(), plain.size());
    for (int cell = 0; cell < 81; ++cell) {
        const bool empty = cell >= 20 && cell <= 22;
        int white = 0;
        for (int i = 0; i < 24 * 24; ++i) {
            const QPoint at(24 * (cell % 27) + i % 24, 24 * (cell / 27) + i / 24);
            const QRgb is = labels.pixel(at);
            white += is == qRgb(255, 255, 255);
            const bool glyph = is == qRgb(255, 255, 255) || is == qRgb(0, 0, 0);
            QVERIFY2(is == plain.pixel(at) || (!empty && i < 24 * 8 && glyph),
                     qPrintable(QStringLiteral("cell %1 pixel %2").arg(cell).arg(i)));
        }
        QVERIFY2((white > 0) != empty, qPrintable(QStringLiteral("cell %1").arg(cell)));
    }
}

void TestCli::color_data()
{
    QTest::addColumn<QString>("args");
    QTest::addColumn<QString>("line");
    QTest::newRow("white") << "0x7FFF"
                           << "word=0x7FFF rgb=248,248,248 hue=0 sat=0 lum=30";
    QTest::newRow("red-decimal") << "31"
                                 << "word=0x001F rgb=248,0,0 hue=0 sat=30 lum=15";
    QTest::newRow("bit-15") << "0x8000"
                            << "word=0x8000 rgb=0,0,0 hue=0 sat=0 lum=0";
    QTest::newRow("grey-lum-truncated") << "0x3DEF"
                                        << "word=0x3DEF rgb=120,120,120 hue=0 sat=0 lum=14";
    QTest::newRow("hls") << "--hls 5,30,25"
                         << "word=0x53FF rgb=248,248,160 hue=5 sat=30 lum=25";
    QTest::newRow("hls-green-truncated") << "--hls 15,30,15"
                                         << "word=0x7FC0 rgb=0,240,248 hue=15 sat=30 lum=15";
    QTest::newRow("hls-grey") << "--hls 7,0,15"
                              << "word=0x3DEF rgb=120,120,120 hue=7 sat=0 lum=15";
}

void TestCli::color()
{
    QFETCH(QString, args);
    QFETCH(QString, line);
    const Result result = Run(QStringList{"color"} + args.split(QLatin1Char(' ')));
    QCOMPARE(result.code, 0);
    QCOMPARE(result.out, line + QLatin1Char('\n'));
}

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
