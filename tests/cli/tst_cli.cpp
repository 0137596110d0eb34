#include "CliRun.h"

#include <QDir>
#include <QImage>
#include <QImageReader>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QtTest>

#include <sys/stat.h>
#include <unistd.h>

// Runs the built glyphox-cli on generated ROM images. What the shared code does with the image
// (byte layout, tile files, rendering) has its own suites; these check that the command line
// reaches it with the right numbers and reports what happened.

using namespace RomFixture;

namespace {

constexpr int kImageSize = 0x300200;
constexpr int kHeaderless = 0x300000;
constexpr int kWindow = 5792;
// Files cut short: 31 bytes; one byte short of an image.
constexpr std::pair<const char*, int> kCut[] = {{"cut31", 31}, {"cut1", kImageSize - 1}};

} // namespace

class TestCli : public QObject, private CCliRun
{
    Q_OBJECT

    QByteArray m_base;

    // The demo ROM cut or padded to size bytes; header-less when size is a multiple of 1024.
    QByteArray Image(int size) const
    {
        const QByteArray image = size % 1024 ? m_base : m_base.mid(512);
        return image.left(size) + QByteArray(qMax(0, size - int(image.size())), '\x5A');
    }

private slots:
    void initTestCase()
    {
        QVERIFY(QDir(m_dir.path()).mkdir(QStringLiteral("folder")));
        QCOMPARE(Run("demo-rom @base --seed 7"), 0);
        m_base = ReadFile(Path("base"));
        QCOMPARE(m_base.size(), kImageSize);
        for (const auto& [name, size] : kCut)
            QVERIFY(WriteFile(Path(name), Image(size)));
        QVERIFY(WriteFile(Path("nohdr"), m_base.mid(512)));
        QByteArray paint = m_base; // see render_data
        const auto put = [&paint](int at, const QByteArray& bytes) {
            paint.replace(at, bytes.size(), bytes);
        };
        const int actor16 = 0x166C00, actor18 = 0x1696C0;
        put(actor16 + 2 * 32, QByteArray(32, 0));
        put(actor16 + 5 * 32, QByteArray(1, 0) + '\x80' + QByteArray(30, 0));
        put(actor16 + 6 * 32, '\x80' + QByteArray(31, 0));
        put(actor18 + 6 * 32, '\x80' + QByteArray(31, 0));
        put(0x2D6560 + 2, QByteArray("\x1F\x00\xE0\x03", 4)); // battle palette 3, words 1-2
        put(0x2D65C0 + 2, QByteArray("\x00\x7C", 2));         // battle palette 6, word 1
        QVERIFY(WriteFile(Path("paint"), paint.mid(512)) && WriteFile(Path("painth"), paint));
        QVERIFY(WriteFile(Path("odd"), Image(kHeaderless + 100)));
        QVERIFY(QFile::link(Path("rom"), Path("romlink")));
        QVERIFY(::mkfifo(QFile::encodeName(Path("fifo")).constData(), 0600) == 0);
    }

    void demoRom()
    {
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

    void commands_data()
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
        row("bank-x", "import-palette @rom --bank x --palette 0 @cut31", 2);
        row("strip-4", "render-strip @rom --actor 0 --bank battle --palette 0 --strip 4 -o @out",
            2);
        row("palette-and-auto",
            "render-tiles @rom --actor 0 --bank battle --palette 0 --auto -o @out", 2);
        row("word-above-0xFFFF", "color 0x10000", 2);
        row("signed-hex-word", "color 0x-5", 2);
        row("folder-as-rom", "export-palette @folder --bank battle --palette 0 -o @out", 1);
        row("folder-as-output", "export-tileset @rom --actor 0 -o @folder", 1);
        row("one-byte-short", "render-tiles @cut1 --actor 0 --bank battle --auto -o @out", 1);
        row("palette-file-31-bytes", "import-palette @rom --bank battle --palette 4 @cut31", 1);
        row("demo-rom-over-a-file", "demo-rom @rom --seed 8", 1);
        row("output-links-to-the-rom", "export-palette @rom --bank battle --palette 0 -o @romlink",
            1);
        row("picture-over-the-rom", "render-tiles @rom --actor 0 --bank battle --auto -o @rom", 1);
        row("output-pipe", "export-tileset @rom --actor 0 -o @fifo", 1);
        row("pipe-as-rom", "export-tileset @fifo --actor 0 -o @out", 1);
        row("pipe-as-import", "import-palette @rom --bank battle --palette 0 @fifo", 1);
        row("info-odd-length", "info @odd", 0,
            "editable: no|3145828 bytes, not a multiple of 1,024|3,146,240 bytes");
        row("info-headered", "info @rom", 0, "header: yes|editable: yes|3146240|save: none");
        row("info-headerless", "info @nohdr", 0, "header: no|editable: yes|3145728|save: none");
        row("recover-nothing-pending", "recover @rom", 0, "nothing to do");
        row("tile-usage-other-actors-pose", "tile-usage @rom --actor 22 --tile 0x33", 0,
            "Tile 51 (33h), not used by this actor's poses:\n"
            "  strip 2, column 1, row 0, step 1\nUnused: 51-180 (130 tiles)\n");
        row("tile-usage-some-steps", "tile-usage @rom --actor 0 --tile 0", 0,
            "column 0, row 0, steps 0, 1, 2, 3\n  strip 1, column 6, row 0, steps 1, 2, 3\n"
            "|Unused: none");
        row("tile-usage-181", "tile-usage @rom --actor 0 --tile 181", 2);
        row("tile-usage-not-a-rom", "tile-usage @cut31 --actor 0", 1);
        row("command-help", "export-palette --help", 0,
            "Usage: glyphox-cli export-palette ROM|--format F|raw, jasc, gpl or act|--help");
        row("help-command", "help color", 0, "glyphox-cli color --hls H,S,L|each 0 to 30");
        row("help-unknown-command", "help paint", 2);
        row("white", "color 0x7FFF", 0, "word=0x7FFF rgb=248,248,248 hue=0 sat=0 lum=30\n");
        row("hls", "color --hls 5,30,25", 0, "word=0x53FF rgb=248,248,160 hue=5 sat=30 lum=25\n");
    }

    // Exit status and output; nothing but a successful command changes a file.
    void commands()
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

    // Every command the usage lists has its own help; an unknown option is named, with the
    // command's synopsis only.
    void commandHelp()
    {
        QCOMPARE(Run("--help"), 0);
        const QString usage = m_out;
        QStringList names;
        for (const QString& line : usage.split(QLatin1Char('\n')))
            if (line.startsWith(QLatin1String("  ")) && !line.startsWith(QLatin1String("   ")))
                names << line.section(QLatin1Char(' '), 2, 2);
        names.removeDuplicates();
        QVERIFY2(names.size() >= 10, qPrintable(usage));
        for (const QString& name : names) {
            QCOMPARE(Run(name + " --help"), 0);
            QVERIFY2(m_out.startsWith("Usage: glyphox-cli " + name + ' ') &&
                         m_out.contains("Options:\n"),
                     qPrintable(m_out));
            QCOMPARE(Run(name + " --no-such-option"), 2);
            QVERIFY2(m_err.contains("Usage: glyphox-cli " + name + ' ') &&
                         m_err.contains("--no-such-option") && !m_err.contains("Commands:"),
                     qPrintable(m_err));
        }
    }

    void fileCommands_data()
    {
        QTest::addColumn<int>("size"); // of the ROM file
        QTest::addColumn<QString>("args");
        QTest::addColumn<int>("inSize"); // 0: export to out
        QTest::addColumn<int>("offset"); // buffer offset, header included
        QTest::newRow("export-battle-29-headerless")
            << kHeaderless << "export-palette @rom --bank battle --palette 29" << 0 << 0x2D68A0;
        QTest::newRow("import-short-file-tail")
            << kImageSize + 700 << "import-tileset @rom --actor 64" << 100 << 0x17DAC0;
        QTest::newRow("import-palette-40")
            << kImageSize << "import-palette @rom --bank battle --palette 29" << 40 << 0x2D68A0;
    }

    // Exports write the bytes at the offset; imports replace them and nothing else in the file.
    void fileCommands()
    {
        QFETCH(int, size);
        QFETCH(QString, args);
        QFETCH(int, inSize);
        QFETCH(int, offset);
        const int window = args.contains(QLatin1String("tileset")) ? kWindow : 32;
        const int length = inSize > 0 ? qMin(inSize, window) : window;
        const QByteArray image = Image(size);
        const int at = offset - (size % 1024 ? 0 : 512);
        const QByteArray in(inSize, '\xA5');
        QVERIFY(WriteFile(Path("rom"), image) && WriteFile(Path("in"), in));
        QFile::remove(Path("out"));
        QCOMPARE(Run(args + (inSize ? " @in" : " -o @out")), 0);
        if (inSize == 0)
            QCOMPARE(ReadFile(Path("out")), image.mid(at, length));
        QCOMPARE(ReadFile(Path("rom")),
                 inSize == 0 ? image : image.left(at) + in.left(length) + image.mid(at + length));
    }

    // Pictures of the image with a few pixels set by hand: actor 16's tile 6 has index 1 at
    // (0, 0), its tile 5 index 2 there, its tile 2 is blank; battle palette 3 makes 1 red and
    // 2 green; actor 18's tile 6 has index 1 at (0, 0), blue in its automatic battle palette 6.
    // Cells are 24 pixels; index 0 is the key grey in strips, a checkerboard in the sheet.
    void render_data()
    {
        QTest::addColumn<QString>("args");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QPoint>("at");
        QTest::addColumn<QColor>("colour");
        const QString strip = "render-strip @paint --actor 16 --bank battle --palette 3 --strip ";
        const QString tiles = "render-tiles @painth --bank battle ";
        const QColor red(248, 0, 0), green(0, 248, 0), blue(0, 0, 248), key(127, 127, 127);
        const QSize strip1(240, 72), sheet(4344, 24);
        QTest::newRow("strip 1, row 1: tile 2") << strip + "1" << strip1 << QPoint(1, 25) << key;
        QTest::newRow("strip 1 step 3, row 1: tile 6")
            << strip + "1 --step 3" << strip1 << QPoint(1, 25) << red;
        QTest::newRow("strip 1 step 2, row 2: tile 5 mirrored")
            << strip + "1 --step 2" << strip1 << QPoint(22, 49) << green;
        QTest::newRow("strip 2, column 16 row 1: tile 6")
            << strip + "2" << QSize(576, 72) << QPoint(385, 25) << red;
        QTest::newRow("strip 3 labelled: 1 of 18h")
            << strip + "3 --labels" << QSize(648, 72) << QPoint(3, 1) << QColor(Qt::white);
        QTest::newRow("tiles: tile 6")
            << tiles + "--actor 16 --palette 3" << sheet << QPoint(145, 1) << red;
        QTest::newRow("tiles, automatic palette")
            << tiles + "--actor 18 --auto" << sheet << QPoint(145, 1) << blue;
    }

    void render()
    {
        QFETCH(QString, args);
        QCOMPARE(Run(args + " -o @out.png"), 0);
        const QByteArray png = ReadFile(Path("out.png"));
        QVERIFY2(png.mid(12, 4) == "IHDR" && png.at(24) == 8 && png.at(25) == 2, "not 8-bit RGB");
        const QImage image = QImage::fromData(png);
        QTEST(image.size(), "size");
        QFETCH(QPoint, at);
        QTEST(image.pixelColor(at), "colour");
    }

    void tileUsageJson()
    {
        QCOMPARE(Run("tile-usage @base --actor 40 --tile 4 --json"), 0);
        const QJsonObject report = QJsonDocument::fromJson(m_out.toUtf8()).object();
        QCOMPARE(report["ownTiles"].toInt(), 46);
        QCOMPARE(report["unused"].toArray().size(), 181 - 46);
        const QJsonArray cells = report["tiles"][0]["cells"].toArray();
        QCOMPARE(cells.size(), 2);
        const QByteArray cell =
            R"({"strip": 1, "column": 1, "row": 2, "steps": [2], "mirrored": true})";
        QCOMPARE(cells[1].toObject(), QJsonDocument::fromJson(cell).object());
    }

    // Every palette format exported and imported back leaves the ROM byte for byte; a JASC
    // file with one colour changed changes exactly that word, keeping its bit 15.
    void paletteFormatsRoundTrip()
    {
        QVERIFY(WriteFile(Path("rom"), m_base));
        const QString palette = "@rom --bank overworld --palette 7";
        for (const char* out : {"p.pal", "p.gpl", "p.act", "p.jasc --format jasc"}) {
            QCOMPARE(Run(QString("export-palette %1 -o @%2").arg(palette, out)), 0);
            const QString file = QString(out).section(' ', 0, 0);
            QCOMPARE(Run(QString("import-palette %1 @%2").arg(palette, file)), 0);
            QCOMPARE(ReadFile(Path("rom")), m_base);
        }
        const QByteArray jasc = ReadFile(Path("p.jasc"));
        QVERIFY(jasc.startsWith("JASC-PAL"));
        QList<QByteArray> lines = jasc.split('\n');
        lines[3 + 5] = "255 255 255\r";
        QVERIFY(WriteFile(Path("p.jasc"), lines.join('\n')));
        QCOMPARE(Run(QString("import-palette %1 @p.jasc").arg(palette)), 0);
        const int at = 0x268200 + 7 * 32 + 2 * 5;
        QByteArray expected = m_base;
        expected[at] = char(0xFF);
        expected[at + 1] = char(0x7F | (m_base[at + 1] & 0x80));
        QCOMPARE(ReadFile(Path("rom")), expected);
    }

    // A tile sheet exported as an indexed PNG imports back to the same bytes; without a
    // palette choice the image commands are usage errors.
    void tileSheetImageRoundTrip()
    {
        QVERIFY(WriteFile(Path("rom"), m_base));
        QCOMPARE(Run("export-tileset @rom --actor 16 -o @sheet.png --bank battle --auto"), 0);
        QCOMPARE(QImage(Path("sheet.png")).format(), QImage::Format_Indexed8);
        QCOMPARE(Run("import-tileset @rom --actor 16 @sheet.png --bank battle --auto"), 0);
        QCOMPARE(ReadFile(Path("rom")), m_base);
        QCOMPARE(Run("import-tileset @rom --actor 15 @sheet.png"), 2);
        QCOMPARE(Run("export-tileset @rom --actor 15 -o @other.png --palette 2"), 2);
        QCOMPARE(Run("export-tileset @rom --actor 16 -o @default.png"), 0); // battle, automatic
        QCOMPARE(ReadFile(Path("default.png")), ReadFile(Path("sheet.png")));
        QCOMPARE(ReadFile(Path("rom")), m_base);

        const QString strip = "render-strip @rom --actor 3 --bank battle --auto --strip 2 ";
        QCOMPARE(Run(strip + "--animate --scale 2 -o @anim.gif"), 0);
        QImageReader gif(Path("anim.gif"));
        QCOMPARE(gif.imageCount(), 2);
        QCOMPARE(gif.size(), QSize(24 * 16, 3 * 16));
        QCOMPARE(Run(strip + "--animate --scale 9 -o @anim.gif"), 2);
    }

    // A file name that is not UTF-8 cannot reach the file through Qt: said as such.
    void nonUtf8Name()
    {
        const QByteArray name = QFile::encodeName(Path("rom")) + "\xFF";
        QVERIFY(::symlink("rom", name.constData()) == 0);
        QProcess process;
        process.start("/bin/sh", {"-c", "exec \"$0\" info \"$(printf '%s\\377' \"$1\")\"",
                                  GLYPHOX_CLI, Path("rom")});
        QVERIFY(process.waitForFinished(60000));
        ::unlink(name.constData()); // a name the temporary folder's clean-up cannot spell
        QCOMPARE(process.exitCode(), 1);
        QVERIFY2(process.readAllStandardError().contains("not valid UTF-8"), "no encoding message");
    }
};

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
