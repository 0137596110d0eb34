#include "app/RecentFileList.h"

#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

class tst_RecentFileList : public QObject
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
};

QTEST_GUILESS_MAIN(tst_RecentFileList)
#include "tst_recentfilelist.moc"
