#include <QtTest>

class tst_HLSTransform : public QObject
{
    Q_OBJECT
};

QTEST_MAIN(tst_HLSTransform)
#include "tst_hlstransform.moc"
