#include <QtTest>

class tst_XPToolBar : public QObject
{
    Q_OBJECT
};

QTEST_MAIN(tst_XPToolBar)
#include "tst_xptoolbar.moc"
