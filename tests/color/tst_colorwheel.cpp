#include <QtTest>

class tst_ColorWheel : public QObject
{
    Q_OBJECT
};

QTEST_MAIN(tst_ColorWheel)
#include "tst_colorwheel.moc"
