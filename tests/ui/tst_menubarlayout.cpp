#include <QtTest>

class tst_MenuBarLayout : public QObject
{
    Q_OBJECT
};

QTEST_MAIN(tst_MenuBarLayout)
#include "tst_menubarlayout.moc"
