#include <QtTest>

class tst_XPMenu : public QObject
{
    Q_OBJECT
};

QTEST_MAIN(tst_XPMenu)
#include "tst_xpmenu.moc"
