#include "view/ViewSettings.h"

#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

using Values = QList<int>; // palette, auto, actor, show ID, battle, animation

class tst_ViewSettings : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

private slots:
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

QTEST_GUILESS_MAIN(tst_ViewSettings)
#include "tst_viewsettings.moc"
