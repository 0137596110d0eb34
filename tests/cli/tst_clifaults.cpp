#include "CliRun.h"
#include "rom/ActorTables.h"
#include "rom/GlyphoxDoc.h"
#include "rom/SaveJournal.h"

#include <QDir>
#include <QtTest>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

// glyphox-cli on a disk that fails: the n-th write, sync, close or rename of the
// journal, the ROM image or an output fails (through a preloaded library), and
// every command must say why, exit 1, and leave the ROM as it was (at once, or
// after recover when the ROM itself could not be written back) and every earlier
// output untouched. Also: a second program meeting a save half-way. (An editor's save
// after another program wrote the file is tst_glyphoxdoc's changedOnDisk.)

using namespace RomFixture;

class TestCliFaults : public QObject, private CCliRun
{
    Q_OBJECT

    QByteArray m_base;

    QProcessEnvironment Faults(const QString& match, const QString& op, int nth, int error) const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("LD_PRELOAD", FAULT_SHIM);
        // The shim comes before the sanitizer runtime in a sanitized build.
        env.insert("ASAN_OPTIONS", env.value("ASAN_OPTIONS") + ":verify_asan_link_order=0");
        env.insert("GLYPHOX_FAULT_MATCH", match);
        env.insert("GLYPHOX_FAULT_OP", op);
        env.insert("GLYPHOX_FAULT_NTH", QString::number(nth));
        env.insert("GLYPHOX_FAULT_ERRNO", QString::number(error));
        return env;
    }

    // Starts an import into rom that stops just before its first write to rom,
    // its journal already on disk, until Resume.
    QProcess* StartPausedSave(const QString& rom)
    {
        const QString ready = Path("ready.fifo");
        QFile::remove(ready);
        QFile::remove(Path("go.fifo"));
        if (::mkfifo(QFile::encodeName(ready), 0600) != 0 ||
            ::mkfifo(QFile::encodeName(Path("go.fifo")), 0600) != 0)
            return nullptr;
        QProcessEnvironment env = Faults(QFileInfo(rom).fileName(), "pause", 1, 0);
        env.insert("GLYPHOX_FAULT_READY", ready);
        env.insert("GLYPHOX_FAULT_GO", Path("go.fifo"));
        // Opened before the saver starts, so neither side can block on it for ever.
        const int readyFd = ::open(QFile::encodeName(ready), O_RDONLY | O_NONBLOCK);
        QProcess* saver =
            Start("import-palette " + rom + " --bank battle --palette 2 @pal.bin", env);
        pollfd waiting{readyFd, POLLIN, 0};
        char byte = 0;
        const bool paused = ::poll(&waiting, 1, 60000) == 1 && ::read(readyFd, &byte, 1) == 1;
        ::close(readyFd);
        return paused ? saver : nullptr;
    }

    void Resume()
    {
        const int goFd = ::open(QFile::encodeName(Path("go.fifo")), O_WRONLY);
        (void)!::write(goFd, "g", 1);
        ::close(goFd);
    }

private slots:
    void initTestCase()
    {
        QCOMPARE(Run("demo-rom @base.smc --seed 3"), 0);
        m_base = ReadFile(Path("base.smc"));
        QVERIFY(WriteFile(Path("pal.bin"), QByteArray(32, '\x7C')));
    }

    void failingDiskChangesNothing_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("match"); // the file that fails
        QTest::addColumn<QString>("op");
        QTest::addColumn<int>("nth");
        QTest::addColumn<int>("error");
        const auto row = [](const char* name, const char* match, const char* op, int nth, int error,
                            const QString& command) {
            QTest::newRow(name) << command << QString(match) << QString(op) << nth << error;
        };
        const QString import = "import-palette @rom.smc --bank battle --palette 2 @pal.bin";
        row("journal write, disk full", "journals/", "write", 1, ENOSPC, import);
        row("journal second write", "journals/", "write", 2, EIO, import);
        row("journal sync", "journals/", "fsync", 1, EIO, import);
        row("journal close", "journals/", "close", 1, EIO, import);
        row("journal rename", "journals/", "rename", 1, ENOSPC, import);
        row("ROM write", "rom.smc", "write", 1, EFBIG, import);
        row("ROM sync", "rom.smc", "fsync", 1, EIO, import);
        row("tile set export write", "out", "write", 1, ENOSPC,
            "export-tileset @rom.smc --actor 3 -o @out");
        row("palette export sync", "out", "fsync", 1, EIO,
            "export-palette @rom.smc --bank overworld --palette 1 -o @out");
        row("picture close", "out", "close", 1, EIO,
            "render-tiles @rom.smc --actor 3 --bank battle --auto -o @out");
        row("picture rename", "out", "rename", 1, ENOSPC,
            "render-strip @rom.smc --actor 3 --bank battle --auto --strip 1 -o @out");
        row("demo image write", "out", "write", 1, ENOSPC, "demo-rom @out --force");
    }

    void failingDiskChangesNothing()
    {
        QFETCH(QString, command);
        QFETCH(QString, match);
        QFETCH(QString, op);
        QFETCH(int, nth);
        QFETCH(int, error);
        QVERIFY(WriteFile(Path("rom.smc"), m_base));
        QVERIFY(WriteFile(Path("out"), "an earlier export"));

        QCOMPARE(Run(command, Faults(match, op, nth, error)), 1);
        QVERIFY2(m_err.contains(QString::fromLocal8Bit(std::strerror(error))), qPrintable(m_err));
        QVERIFY2(!m_err.trimmed().contains('\n'), qPrintable(m_err));
        QCOMPARE(ReadFile(Path("out")), QByteArray("an earlier export"));
        QCOMPARE(QDir(m_dir.path()).entryList(QDir::Hidden | QDir::Files).filter(".tmp"),
                 QStringList());
        if (match == "rom.smc") { // the ROM is refused until recover puts the old bytes back
            QCOMPARE(Run("info @rom.smc"), 0);
            QVERIFY2(m_out.contains("Interrupted save: pending"), qPrintable(m_out));
            QCOMPARE(Run("export-tileset @rom.smc --actor 0 -o @set"), 1);
            QVERIFY2(m_err.contains("glyphox-cli recover"), qPrintable(m_err));
            QVERIFY(!QFile::exists(Path("set")));
            QCOMPARE(Run("recover @rom.smc"), 0);
            QVERIFY2(m_out.contains("restored"), qPrintable(m_out));
        }
        QVERIFY(!CSaveJournal::IsPending(Path("rom.smc")));
        QCOMPARE(ReadFile(Path("rom.smc")), m_base);
    }

    // A save paused half-way: the editor's open and the CLI refuse the file instead
    // of taking the live journal for an interrupted save; the save then completes.
    void openDuringASaveRefuses()
    {
        const QString rom = Path("busy.smc");
        QVERIFY(WriteFile(rom, m_base));
        QProcess* saver = StartPausedSave(rom);
        QVERIFY(saver);
        QVERIFY(CSaveJournal::IsPending(rom));

        CGlyphoxDoc doc;
        const CFileResult opened = doc.OnOpenDocument(rom);
        QVERIFY2(!opened.ok && opened.message.contains("being saved by another program"),
                 qPrintable(opened.message));
        QCOMPARE(Run("recover @busy.smc"), 1);
        QVERIFY2(m_err.contains("being saved by another program"), qPrintable(m_err));
        QCOMPARE(Run("export-palette @busy.smc --bank battle --palette 2 -o @busy.pal"), 1);
        QVERIFY(CSaveJournal::IsPending(rom));

        Resume();
        QCOMPARE(Finish(saver), 0);
        QVERIFY(!CSaveJournal::IsPending(rom));
        QVERIFY(doc.OnOpenDocument(rom).ok);
        QByteArray imported = m_base; // palette 2 of the battle bank as the import leaves it
        imported.replace(CActorTables::PaletteOffset(true, 2), 32, QByteArray(32, '\x7C'));
        QCOMPARE(ReadFile(rom), imported);
    }

    // The ROM's name turned into a link to another file while a save was under way,
    // and the save killed: the journal never reaches the other file, nor a new file
    // put under the old name later.
    void journalStaysWithItsFile()
    {
        const QString rom = Path("moved.smc");
        const QString other = Path("other.smc");
        QVERIFY(WriteFile(rom, m_base) && WriteFile(other, m_base));
        QProcess* saver = StartPausedSave(rom);
        QVERIFY(saver);
        QVERIFY(QFile::rename(rom, Path("moved-away.smc")) && QFile::link(other, rom));
        saver->kill();
        Finish(saver);

        QCOMPARE(Run("recover @moved.smc"), 0);
        QCOMPARE(ReadFile(other), m_base);
        const QByteArray unrelated = Pattern(m_base.size());
        QVERIFY(QFile::remove(rom) && WriteFile(rom, unrelated));
        QCOMPARE(Run("recover @moved.smc"), 0);
        QVERIFY2(m_err.isEmpty(), qPrintable(m_err));
        QCOMPARE(ReadFile(rom), unrelated);
        QCOMPARE(ReadFile(Path("moved-away.smc")), m_base);
    }
};

QTEST_GUILESS_MAIN(TestCliFaults)
#include "tst_clifaults.moc"
