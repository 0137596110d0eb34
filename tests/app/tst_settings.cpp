#include "app/RecentFileList.h"
#include "view/ViewSettings.h"

#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

using Values = QList<int>; // palette, auto, actor, show ID, battle, animation

// What the profile keeps: the recent files and the view's settings.
class tst_Settings : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

private slots:
    void add_data()
    {
        QTest::addColumn<QStringList>("added");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("most-recent-first")
            << QStringList{"/r/a", "/r/b", "/r/c"} << QStringList{"/r/c", "/r/b", "/r/a"};
        QTest::newRow("repeat-moves-up")
            << QStringList{"/r/a", "/r/b", "/r/c", "/r/a"} << QStringList{"/r/a", "/r/c", "/r/b"};
        QTest::newRow("same-file-other-spelling")
            << QStringList{"/r/a", "/r/x/../a", "/r//a"} << QStringList{"/r/a"};
        QTest::newRow("at-most-four") << QStringList{"/r/a", "/r/b", "/r/c", "/r/d", "/r/e"}
                                      << QStringList{"/r/e", "/r/d", "/r/c", "/r/b"};
        QTest::newRow("empty-ignored") << QStringList{"/r/a", ""} << QStringList{"/r/a"};
    }

    void add()
    {
        QFETCH(QStringList, added);
        CRecentFileList list;
        for (const QString& path : added)
            list.Add(path);
        QTEST(list.Entries(), "expected");
    }

    void readsAndWritesGroup()
    {
        QSettings settings(m_dir.filePath("profile.ini"), QSettings::IniFormat);
        settings.beginGroup("Recent File List");
        for (const auto& [key, value] :
             {std::pair{"File1", "/r/a"}, {"File2", ""}, {"File3", "/r/a"}, {"File4", "/r/b"}})
            settings.setValue(key, value);
        settings.setValue("File5", "/r/e");
        settings.endGroup();

        CRecentFileList list;
        list.Read(settings);
        QCOMPARE(list.Entries(), (QStringList{"/r/a", "/r/b"}));

        list.Add("/r/c");
        list.Write(settings);
        CRecentFileList reread;
        reread.Read(settings);
        QCOMPARE(reread.Entries(), (QStringList{"/r/c", "/r/a", "/r/b"}));
    }
    void read_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<Values>("expected");
        QTest::newRow("absent-gives-defaults") << "" << Values{0, 1, 0, 0, 0, 1};
        QTest::newRow("in-range-kept") << "Pal Idx=29\nAuto pal=0\nTile Set=64\nShow tile ID=1\n"
                                          "Pal for battles=1\nAnimation=0"
                                       << Values{29, 0, 64, 1, 1, 0};
        QTest::newRow("out-of-range-clamped")
            << "Pal Idx=4000\nAuto pal=-5\nTile Set=-2147483648\nShow tile ID=7"
            << Values{29, 0, 0, 1, 0, 1};
        QTest::newRow("not-a-number-default")
            << "Pal Idx=abc\nTile Set=1e9\nAnimation=yes" << Values{0, 1, 0, 0, 0, 1};
    }

    void read()
    {
        QFETCH(QString, stored);
        QSettings profile(m_dir.filePath(QTest::currentDataTag()), QSettings::IniFormat);
        for (const QString& line : stored.split('\n', Qt::SkipEmptyParts))
            profile.setValue("Settings/" + line.section('=', 0, 0), line.section('=', 1));

        CViewSettings settings;
        settings.Read(profile);
        QTEST((Values{settings.m_nPalette, settings.m_bAutoPal, settings.m_nTileSet,
                      settings.m_bShowTileID, settings.m_bBattlePal, settings.m_bAnimate}),
              "expected");
    }
};

QTEST_GUILESS_MAIN(tst_Settings)
#include "tst_settings.moc"
