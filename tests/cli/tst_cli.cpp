#include "rom/SaveJournal.h"

#include <QDir>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

// Runs the built glyphox-cli on generated ROM images. Expected bytes and pixels follow from the
// ROM layout (buffer offsets count a 512-byte copier header), the 4-bit planar tile format and
// the screen colour of a colour word (each 5-bit component times 8).

namespace {

constexpr int kImageSize = 0x300200;
constexpr int kHeaderless = 0x300000;
constexpr int kWindow = 5792;
// Files cut short: 31 bytes; one byte short; 1 KiB short of a headered, a header-less image.
constexpr std::pair<const char*, int> kCut[] = {{"cut31", 31},
                                                {"cut1", kImageSize - 1},
                                                {"cut512", kImageSize - 1024},
                                                {"cut0", kHeaderless - 1024}};

// Colour index of pixel (x, y) of generated tile t: all 16 indices occur, and no tile equals
// another tile or a mirror image.
int Pattern(int t, int x, int y)
{
    return (x + 2 * y + t) % 16;
}

// Colour c of generated palette `key`; bit 15, set on some words, is not a colour bit.
quint16 Word(int key, int c)
{
    return quint16((2 * c + key) % 32 | (31 - c + key) % 32 << 5 | (5 * c + key) % 32 << 10 |
                   (c % 3 == 0) << 15);
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
QString CheckCell(const QImage& image, int col, int row, int t, bool mirrored, int key)
{
    const bool checker = image.height() == 24;
    for (int i = 0; i < 24 * 24; ++i) {
        const int x = 24 * col + i % 24;
        const int y = 24 * row + i / 24;
        const int v = t < 0 ? 0 : Pattern(t, mirrored ? 7 - i % 24 / 3 : i % 24 / 3, i / 72);
        const int grey = !checker ? 127 : (x / 4 + y / 4) % 2 ? 128 : 204;
        const quint16 w = Word(key, v);
        const QRgb want =
            v ? qRgb((w & 31) * 8, (w >> 5 & 31) * 8, (w >> 10 & 31) * 8) : qRgb(grey, grey, grey);
        if (image.pixel(x, y) != want)
            return QStringLiteral("pixel %1,%2 is %3").arg(x).arg(y).arg(image.pixel(x, y), 0, 16);
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
    void commands_data();
    void commands();
    void fileCommands_data();
    void fileCommands();
    void render_data();
    void render();
    void interruptedSave();

private:
    int Run(const QString& command);
    QString Path(const QString& name) const { return m_dir.filePath(name); }
    // The demo ROM cut or padded to size bytes; header-less when size is a multiple of 1024.
    QByteArray Image(int size) const
    {
        const QByteArray image = size % 1024 ? m_base : m_base.mid(512);
        return image.left(size) + QByteArray(qMax(0, size - int(image.size())), '\x5A');
    }

    QTemporaryDir m_dir;
    QTemporaryDir m_dataHome;
    QByteArray m_base;
    QString m_out, m_err;
};

// Runs the words of command and returns the exit status; words starting with @ name files in
// the test's folder.
int TestCli::Run(const QString& command)
{
    QStringList args = command.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    for (QString& arg : args)
        if (arg.startsWith(QLatin1Char('@')))
            arg = Path(arg.mid(1));
    QProcess process;
    process.start(QStringLiteral(GLYPHOX_CLI), args);
    const bool finished = process.waitForFinished(60000);
    m_out = QString::fromUtf8(process.readAllStandardOutput());
    m_err = QString::fromUtf8(process.readAllStandardError());
    return finished && process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

void TestCli::initTestCase()
{
    QVERIFY(m_dir.isValid() && m_dataHome.isValid());
    // Save journals go to a folder of the test's own.
    qputenv("XDG_DATA_HOME", QFile::encodeName(m_dataHome.path()));
    QVERIFY(QDir(m_dir.path()).mkdir(QStringLiteral("folder")));
    QCOMPARE(Run("demo-rom @base --seed 7"), 0);
    m_base = ReadFile(Path("base"));
    QCOMPARE(m_base.size(), kImageSize);
    for (const auto& [name, size] : kCut)
        QVERIFY(WriteFile(Path(name), Image(size)));

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
        for (int c = 0; c < 16; ++c)
            qToLittleEndian(Word(key, c), rom.data() + offset + 2 * c);
    QVERIFY(WriteFile(Path("custom"), rom) && WriteFile(Path("nohdr"), rom.mid(512)));
}

void TestCli::demoRom()
{
    // m_base was made with seed 7.
    QCOMPARE(Run("demo-rom @a --seed 7"), 0);
    QCOMPARE(Run("demo-rom @b --seed 7 --headerless"), 0);
    QCOMPARE(Run("demo-rom @c --seed 8"), 0);
    const QByteArray eight = ReadFile(Path("c"));
    QCOMPARE(ReadFile(Path("a")), m_base);
    QCOMPARE(ReadFile(Path("b")), m_base.mid(512));
    QCOMPARE(eight.size(), kImageSize);
    QVERIFY(eight != m_base);
    QVERIFY(m_base.mid(0x17DAC0, kWindow).count('\0') < kWindow);
    QCOMPARE(Run("demo-rom @a --seed 8 --force"), 0);
    QCOMPARE(ReadFile(Path("a")), eight);
}

void TestCli::commands_data()
{
    QTest::addColumn<QString>("args");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("out"); // |-separated parts of standard output
    const auto row = [](const char* name, const char* args, int code, const char* out = "") {
        QTest::newRow(name) << QString::fromLatin1(args) << code << QString::fromLatin1(out);
    };
    row("no-command", "", 2);
    row("unknown-command", "paint @rom", 2);
    row("actor-65", "export-tileset @rom --actor 65 -o @out", 2);
    row("palette-30", "export-palette @rom --bank battle --palette 30 -o @out", 2);
    row("bank-x", "import-palette @rom --bank x --palette 0 @custom", 2);
    row("strip-4", "render-strip @rom --actor 0 --bank battle --palette 0 --strip 4 -o @out", 2);
    row("palette-and-auto", "render-tiles @rom --actor 0 --bank battle --palette 0 --auto -o @out",
        2);
    row("word-above-0xFFFF", "color 0x10000", 2);
    row("missing-rom", "export-tileset @missing --actor 0 -o @out", 1);
    row("folder-as-rom", "export-palette @folder --bank battle --palette 0 -o @out", 1);
    row("folder-as-output", "export-tileset @rom --actor 0 -o @folder", 1);
    row("one-byte-short", "render-tiles @cut1 --actor 0 --bank battle --auto -o @out", 1);
    row("palette-file-31-bytes", "import-palette @rom --bank battle --palette 4 @cut31", 1);
    row("demo-rom-over-a-file", "demo-rom @rom --seed 8", 1);
    row("info-headered", "info @custom", 0, "header: yes|editable: yes|3146240|save: none");
    row("info-headerless", "info @nohdr", 0, "header: no|editable: yes|3145728|save: none");
    row("info-short", "info @cut1", 0, "editable: no|3146239");
    row("recover-nothing-pending", "recover @rom", 0, "nothing to do");
    row("white", "color 0x7FFF", 0, "word=0x7FFF rgb=248,248,248 hue=0 sat=0 lum=30\n");
    row("hls", "color --hls 5,30,25", 0, "word=0x53FF rgb=248,248,160 hue=5 sat=30 lum=25\n");
}

// Exit status and output; nothing but a successful command changes a file.
void TestCli::commands()
{
    QFETCH(QString, args);
    QFETCH(int, code);
    QFETCH(QString, out);
    QVERIFY(WriteFile(Path("rom"), m_base));
    QCOMPARE(Run(args), code);
    // A usage error shows the usage; any other failure is a one-line message.
    const QString err = m_err.trimmed();
    QVERIFY2(code == 0 || (code == 2 ? err.contains(QLatin1String("Usage:"))
                                     : !err.isEmpty() && !err.contains(QLatin1Char('\n'))),
             qPrintable(err));
    for (const QString& part : out.split(QLatin1Char('|'), Qt::SkipEmptyParts))
        QVERIFY2(m_out.contains(part, Qt::CaseInsensitive), qPrintable(m_out));
    QCOMPARE(ReadFile(Path("rom")), m_base);
    for (const auto& [name, size] : kCut)
        QCOMPARE(ReadFile(Path(name)), Image(size));
    QVERIFY(!QFile::exists(Path("out")));
}

void TestCli::fileCommands_data()
{
    QTest::addColumn<int>("size"); // of the ROM file
    QTest::addColumn<QString>("args");
    QTest::addColumn<int>("inSize"); // 0: export to out; -1: import the window's own bytes
    QTest::addColumn<int>("offset"); // buffer offset, header included
    const auto row = [](const char* name, int size, const char* args, int inSize, int offset) {
        QTest::newRow(name) << size << QString::fromLatin1(args) << inSize << offset;
    };
    const int hd = kImageSize;
    const int hl = kHeaderless;
    row("export-tileset-0", hd, "export-tileset @rom --actor 0", 0, 0x150200);
    row("export-battle-29", hl, "export-palette @rom --bank battle --palette 29", 0, 0x2D68A0);
    row("import-short-file-tail", hd + 700, "import-tileset @rom --actor 64", 100, 0x17DAC0);
    row("import-palette-40", hd, "import-palette @rom --bank battle --palette 29", 40, 0x2D68A0);
}

// Exports write the bytes at the offset; imports replace them and nothing else in the file.
void TestCli::fileCommands()
{
    QFETCH(int, size);
    QFETCH(QString, args);
    QFETCH(int, inSize);
    QFETCH(int, offset);
    const int window = args.contains(QLatin1String("tileset")) ? kWindow : 32;
    const int length = inSize > 0 ? qMin(inSize, window) : window;
    const QByteArray image = Image(size);
    const int at = offset - (size % 1024 ? 0 : 512);
    const QByteArray in = inSize < 0 ? image.mid(at, length) : QByteArray(inSize, '\xA5');
    QVERIFY(WriteFile(Path("rom"), image) && WriteFile(Path("in"), in));
    QFile::remove(Path("out"));
    QCOMPARE(Run(args + (inSize ? " @in" : " -o @out")), 0);
    if (inSize == 0)
        QCOMPARE(ReadFile(Path("out")), image.mid(at, length));
    QCOMPARE(ReadFile(Path("rom")),
             inSize == 0 ? image : image.left(at) + in.left(length) + image.mid(at + length));
}

void TestCli::render_data()
{
    QTest::addColumn<QString>("args");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("cells"); // col,row,tile in hex; m: mirrored; --: empty cell
    const auto row = [](const char* name, const QString& args, int key, const char* cells) {
        QTest::newRow(name) << args << key << QString::fromLatin1(cells);
    };
    const QString strip = "render-strip @custom --actor 16 --bank battle --palette 3 --strip ";
    row("strip1", strip + "1", 1, "0,0,00 1,2,05 6,0,6A 7,1,07 9,2,15");
    row("strip1-step2", strip + "1 --step 2", 1, "0,1,0A 0,2,m05 1,2,m04 2,2,m11 3,2,m10 7,0,6B");
    row("strip2-step3", strip + "2 --step 3", 1, "1,0,33 17,1,5F 20,0,96");
    row("strip3-labels-spare-empty-cells", strip + "3 --labels", 1, "20,0,-- 21,0,-- 22,0,--");
    const char* tiles = "0,0,00 1,0,01 90,0,5A 180,0,B4";
    row("tiles", "render-tiles @custom --actor 16 --bank battle --palette 3", 1, tiles);
    row("tiles-auto-battle-6", "render-tiles @custom --actor 18 --bank battle --auto", 20, tiles);
}

void TestCli::render()
{
    QFETCH(QString, args);
    QFETCH(int, key);
    QFETCH(QString, cells);
    QCOMPARE(Run(args + " -o @out.png"), 0);
    const QByteArray png = ReadFile(Path("out.png"));
    QVERIFY2(png.mid(12, 4) == "IHDR" && png.at(24) == 8 && png.at(25) == 2, "not 8-bit RGB");
    const QImage image = QImage::fromData(png);
    const int strip = args.section(QLatin1String("--strip "), 1).left(1).toInt();
    const int cellsWide[] = {181, 10, 24, 27}; // the tile sheet, strips 1 to 3
    QCOMPARE(image.size(), QSize(24 * cellsWide[strip], strip ? 72 : 24));
    for (const QString& cell : cells.split(QLatin1Char(' '))) {
        const QStringList part = cell.split(QLatin1Char(','));
        const int tile = part[2] == QLatin1String("--") ? -1 : part[2].right(2).toInt(nullptr, 16);
        const QString error = CheckCell(image, part[0].toInt(), part[1].toInt(), tile,
                                        part[2].startsWith(QLatin1Char('m')), key);
        QVERIFY2(error.isEmpty(), qPrintable(cell + QLatin1String(": ") + error));
    }
}

// A save that died half-way through actor 0's window: the commands that read the
// ROM refuse it until recover puts the old bytes back.
void TestCli::interruptedSave()
{
    const QByteArray newBytes(0x100, '\x11');
    QByteArray torn = m_base;
    torn.replace(0x150200, 0x80, newBytes.left(0x80));
    QVERIFY(WriteFile(Path("torn"), torn));
    QVERIFY(CSaveJournal::Record(Path("torn"), torn.size(), 0x150200, m_base.mid(0x150200, 0x100),
                                 newBytes)
                .ok);

    QCOMPARE(Run("info @torn"), 0);
    QVERIFY2(m_out.contains("Interrupted save: pending"), qPrintable(m_out));
    QCOMPARE(Run("export-tileset @torn --actor 0 -o @tornset"), 1);
    QVERIFY2(m_err.contains("glyphox-cli recover"), qPrintable(m_err));
    QVERIFY(!QFile::exists(Path("tornset")));
    QCOMPARE(ReadFile(Path("torn")), torn);

    QCOMPARE(Run("recover @torn"), 0);
    QVERIFY2(m_out.contains("restored"), qPrintable(m_out));
    QCOMPARE(ReadFile(Path("torn")), m_base);
    QCOMPARE(Run("export-tileset @torn --actor 0 -o @tornset"), 0);
    QCOMPARE(ReadFile(Path("tornset")), m_base.mid(0x150200, 5792));
}

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
