#include "ui/MenuBarLayout.h"

#include <QtTest>

using namespace MenuBarLayout;

namespace {

// Buttons 20 high written as widths: "50*" may not wrap, "(50)" is hidden, "50!" cannot be hit.
std::vector<CItemBox> Items(const QString& widths)
{
    std::vector<CItemBox> items;
    for (QString word : widths.split(u' ', Qt::SkipEmptyParts)) {
        CItemBox item;
        if (word.startsWith(u'(')) {
            item.nState |= kStateHidden;
            word = word.mid(1, word.size() - 2);
        }
        if (word.endsWith(u'*'))
            item.nStyle &= ~kStyleWrap;
        if (word.endsWith(u'!'))
            item.nStyle &= ~kStyleHit;
        word.remove(u'*').remove(u'!');
        item.sizeHorz = QSize(word.toInt(), 20);
        items.push_back(item);
    }
    return items;
}

// One character per button: W where a row ends.
QString Marks(const std::vector<CItemBox>& items)
{
    QString marks;
    for (const CItemBox& item : items)
        marks += (item.nState & kStateWrap) ? u'W' : u'-';
    return marks;
}

QString Rects(const std::vector<QRect>& rects)
{
    QStringList list;
    for (const QRect& r : rects)
        list << QStringLiteral("%1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
    return list.join(u';');
}

} // namespace

class tst_MenuBarLayout : public QObject
{
    Q_OBJECT

private slots:
    void wrap_data()
    {
        QTest::addColumn<QString>("items");
        QTest::addColumn<int>("width");
        QTest::addColumn<QString>("marks");
        QTest::addColumn<int>("rows");
        QTest::newRow("fits-one-row") << "40 50 60 30" << 200 << "----" << 1;
        QTest::newRow("ends-row-before-next-overflows") << "40 50 60 30" << 100 << "-W--" << 2;
        QTest::newRow("each-too-wide-last-never-marked") << "40 50 60 30" << 30 << "WWW-" << 4;
        QTest::newRow("no-wrap-button-keeps-its-room") << "40 50* 20 30" << 100 << "--W-" << 2;
        QTest::newRow("hidden-never-ends-a-row") << "40 (50) 60 30" << 100 << "--W-" << 2;
        QTest::newRow("hidden-last-leaves-last-visible") << "40 60 (30)" << 90 << "W--" << 2;
        QTest::newRow("empty") << "" << 100 << "" << 0;
    }

    void wrap()
    {
        QFETCH(QString, items);
        QFETCH(int, width);
        std::vector<CItemBox> boxes = Items(items);
        for (CItemBox& box : boxes)
            box.nState |= kStateWrap;
        QTEST(WrapMenuBar(boxes, width), "rows");
        QTEST(Marks(boxes), "marks");
    }

    void placement_data()
    {
        QTest::addColumn<QString>("items");
        QTest::addColumn<int>("width");
        QTest::addColumn<bool>("horizontal");
        QTest::addColumn<QString>("rects");
        QTest::addColumn<QSize>("size");
        QTest::newRow("one-row") << "40 50 60" << 200 << true << "9,2 40x20;49,2 50x20;99,2 60x20"
                                 << QSize(150, 20);
        QTest::newRow("two-rows") << "40 50 60" << 100 << true << "9,2 40x20;49,2 50x20;9,22 60x20"
                                  << QSize(90, 40);
        QTest::newRow("hidden-takes-no-room")
            << "40 (50) 60" << 200 << true << "9,2 40x20;0,0 0x0;49,2 60x20" << QSize(100, 20);
        QTest::newRow("vertical-turned")
            << "40 50 60" << 0 << false << "2,9 20x40;2,49 20x50;2,99 20x60" << QSize(22, 150);
    }

    void placement()
    {
        QFETCH(QString, items);
        QFETCH(int, width);
        QFETCH(bool, horizontal);
        std::vector<CItemBox> boxes = Items(items);
        const CInsets insets = BarInsets(horizontal, true);
        if (horizontal)
            WrapMenuBar(boxes, width);
        QTEST(Rects(Place(boxes, QPoint(insets.nLeft, insets.nTop), horizontal)), "rects");
        QTEST(horizontal ? CalcSize(boxes) : CalcVertSize(boxes, 22), "size");
    }

    // Wrapping round the ends is tst_xpmenubar's slideBetweenPopups.
    void nextItem_data()
    {
        QTest::addColumn<QString>("items");
        QTest::addColumn<int>("from");
        QTest::addColumn<bool>("forward");
        QTest::addColumn<int>("next");
        QTest::newRow("skips-hidden-and-unhittable") << "10 (10) 10! 10" << 0 << true << 3;
        QTest::newRow("from-none-backwards") << "10 10 10" << -1 << false << 2;
        QTest::newRow("from-none-forwards") << "10 10 10" << -1 << true << 0;
        QTest::newRow("none-to-hit") << "10! (10)" << 0 << true << -1;
    }

    void nextItem()
    {
        QFETCH(QString, items);
        QFETCH(int, from);
        QFETCH(bool, forward);
        QTEST(NextItem(Items(items), from, forward), "next");
    }

    void popupPosition_data()
    {
        QTest::addColumn<QRect>("button");
        QTest::addColumn<bool>("horizontal");
        QTest::addColumn<QPoint>("pos");
        QTest::newRow("below") << QRect(100, 20, 40, 20) << true << QPoint(99, 40);
        QTest::newRow("right") << QRect(100, 20, 20, 40) << false << QPoint(121, 19);
        QTest::newRow("above-when-no-room-below")
            << QRect(100, 560, 40, 20) << true << QPoint(99, 360);
        QTest::newRow("left-when-no-room-right")
            << QRect(760, 20, 20, 40) << false << QPoint(660, 19);
    }

    void popupPosition()
    {
        QFETCH(QRect, button);
        QFETCH(bool, horizontal);
        QTEST(PopupPosition(button, horizontal, QSize(100, 200), QRect(0, 0, 800, 600)), "pos");
    }
};

QTEST_MAIN(tst_MenuBarLayout)
#include "tst_menubarlayout.moc"
