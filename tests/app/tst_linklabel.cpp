#include <QtTest>

class tst_LinkLabel : public QObject
{
    Q_OBJECT
};

QTEST_MAIN(tst_LinkLabel)
#include "tst_linklabel.moc"
