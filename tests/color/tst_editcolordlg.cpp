#include <QtTest>

class tst_EditColorDlg : public QObject
{
    Q_OBJECT
};

QTEST_MAIN(tst_EditColorDlg)
#include "tst_editcolordlg.moc"
