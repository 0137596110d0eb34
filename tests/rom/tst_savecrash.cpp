#include "RomFixture.h"

#include "rom/GlyphoxDoc.h"
#include "rom/SaveJournal.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QThread>
#include <QtTest>

using namespace RomFixture;

// Covers overwriting 3 MiB and syncing it on this kind of machine.
constexpr int kWriteWindowMicroseconds = 4000;

// Kills a process in the middle of saving, many times, and checks that the file
// is always the old image or the new one, at the latest after the next open.
class TestSaveCrash : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QTemporaryDir m_dataHome;

    QProcess* StartVictim(const QString& rom, int saves)
    {
        auto* process = new QProcess(this);
        process->start(QStringLiteral(SAVE_VICTIM), {rom, QString::number(saves)});
        return process->waitForStarted() ? process : nullptr;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        UsePrivateDataHome(m_dataHome);
    }

    // The victim saves over and over, flipping the file between two images that
    // differ in every ROM byte; each kill lands somewhere in one of those saves.
    void killedSaveNeverLeavesATornFile()
    {
        const QString rom = m_dir.filePath("victim.smc");
        const QByteArray imageA = Pattern(0x300200);
        QByteArray imageB = imageA;
        char* inverted = imageB.data();
        for (qint64 i = 0x200; i < imageB.size(); ++i)
            inverted[i] = char(~inverted[i]);

        // An undisturbed save gives the time span to aim the kills at.
        QVERIFY(WriteFile(rom, imageA));
        QProcess* once = StartVictim(rom, 1);
        QVERIFY(once && once->waitForReadyRead(60000));
        QElapsedTimer timer;
        timer.start();
        QVERIFY(once->waitForFinished(60000));
        const qint64 saveMicroseconds = qMax<qint64>(timer.nsecsElapsed() / 1000, 1000);
        QCOMPARE(once->exitCode(), 0);
        QCOMPARE(ReadFile(rom), imageB);

        // Half the kills land anywhere in a few saves; the other half shortly after a
        // pending journal appears, when the file itself is being overwritten and synced.
        QRandomGenerator random(20261206);
        int whole = 0, torn = 0, restored = 0;
        constexpr int kRuns = 120;
        for (int run = 0; run < kRuns; ++run) {
            QVERIFY(WriteFile(rom, imageA));
            QProcess* victim = StartVictim(rom, 1000);
            QVERIFY(victim && victim->waitForReadyRead(60000));
            if (run % 2 == 0) {
                QThread::usleep(random.bounded(saveMicroseconds * 3));
            } else {
                QElapsedTimer waited;
                waited.start();
                while (!CSaveJournal::IsPending(rom) && waited.elapsed() < 10000)
                    QThread::usleep(20);
                QThread::usleep(random.bounded(kWriteWindowMicroseconds));
            }
            victim->kill();
            victim->waitForFinished(60000);
            delete victim;

            const QByteArray afterKill = ReadFile(rom);
            const bool pending = CSaveJournal::IsPending(rom);
            const bool wasTorn = afterKill != imageA && afterKill != imageB;
            if (wasTorn)
                QVERIFY2(pending,
                         qPrintable(QStringLiteral("run %1: torn file, no journal").arg(run)));

            CGlyphoxDoc doc;
            QVERIFY(doc.OnOpenDocument(rom).ok);
            const QByteArray settled = ReadFile(rom);
            QVERIFY2(settled == imageA || settled == imageB,
                     qPrintable(QStringLiteral("run %1: file torn after the next open").arg(run)));
            // A save writes front to back, so the last byte still shows the image it replaced.
            if (wasTorn)
                QVERIFY2(
                    settled.back() == afterKill.back(),
                    qPrintable(QStringLiteral("run %1: not restored to the old image").arg(run)));
            QVERIFY(!CSaveJournal::IsPending(rom));
            whole += !wasTorn;
            torn += wasTorn;
            restored += pending;
        }
        qInfo("%d kills: %d left a whole image, %d a torn one; %d journals settled on open", kRuns,
              whole, torn, restored);
    }
};

QTEST_GUILESS_MAIN(TestSaveCrash)
#include "tst_savecrash.moc"
