#include <QtTest>

class tst_XPMenuBar : public QObject
{
    Q_OBJECT
};

QTEST_MAIN(tst_XPMenuBar)
#include "tst_xpmenubar.moc"
