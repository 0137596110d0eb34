#include "view/CachedSizeDelegate.h"

#include <QListWidget>
#include <QPixmap>
#include <QtTest>

// A list with the caching delegate lays out and paints exactly as one with the
// default delegate, through icon changes and a font change.
class TestCachedSizeDelegate : public QObject
{
    Q_OBJECT

    static void Fill(QListWidget& list, bool caching)
    {
        list.setViewMode(QListView::IconMode);
        list.setIconSize(QSize(24, 24));
        list.setGridSize(QSize(32, 50));
        list.setMovement(QListView::Static);
        list.setResizeMode(QListView::Adjust);
        list.setWordWrap(false);
        list.resize(374, 179);
        list.show();
        if (caching)
            list.setItemDelegate(new CCachedSizeDelegate(&list));
        for (int tile = 0; tile < 181; ++tile)
            list.addItem(QString::number(tile, 16).toUpper().rightJustified(2, '0') + 'h');
    }

    static void SetIcons(QListWidget& list, Qt::GlobalColor color, int size)
    {
        QPixmap pixmap(size, size);
        pixmap.fill(color);
        for (int row = 0; row < list.count(); ++row)
            list.item(row)->setIcon(QIcon(pixmap));
    }

    static void Compare(QListWidget& plain, QListWidget& cached)
    {
        QCoreApplication::processEvents();
        for (int row = 0; row < plain.count(); ++row)
            QCOMPARE(cached.visualItemRect(cached.item(row)),
                     plain.visualItemRect(plain.item(row)));
        QCOMPARE(cached.grab().toImage(), plain.grab().toImage());
    }

private slots:
    void paintsAsTheDefaultDelegate()
    {
        QListWidget plain, cached;
        Fill(plain, false);
        Fill(cached, true);
        Compare(plain, cached);
        for (QListWidget* list : {&plain, &cached})
            SetIcons(*list, Qt::red, 24);
        Compare(plain, cached);
        for (QListWidget* list : {&plain, &cached}) {
            SetIcons(*list, Qt::blue, 16); // a smaller decoration is measured again
            list->setFont(QFont(list->font().family(), 17));
        }
        Compare(plain, cached);

        // The list's own keys are not taken for an editor's: Tab is the list's to
        // handle, not swallowed by the delegate that watches the list.
        QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
        QVERIFY(!static_cast<QObject*>(cached.itemDelegate())->eventFilter(&cached, &tab));
    }
};

QTEST_MAIN(TestCachedSizeDelegate)
#include "tst_cachedsizedelegate.moc"
