#include "color/MemDC.h"
#include "color/PaletteCtrl.h"
#include "color/PaletteLayout.h"

#include "TestPixels.h"

#include <QPaintEvent>
#include <QSignalSpy>
#include <QtTest>

#include <memory>

namespace {

const QColor kFace(1, 2, 3); // never a screen colour: those are multiples of 8
const QRect kSwatches(31, 0, 169, 32), kFore(6, 7, 11, 11), kBack(13, 14, 11, 11);

// The screen colour of the fixture's colour word of an index.
QColor Screen(int index)
{
    return QColor((index + 1) * 8, 248, index * 16);
}

class CRecordingPaletteCtrl : public CPaletteCtrl
{
public:
    QList<QRegion> m_regions;

protected:
    void paintEvent(QPaintEvent* event) override
    {
        m_regions << event->region();
        CPaletteCtrl::paintEvent(event);
    }
};

} // namespace

using TestPixels::Find;
using Found = std::pair<int, QRect>; // count, bounds

class tst_PaletteCtrl : public QObject
{
    Q_OBJECT

    std::unique_ptr<CRecordingPaletteCtrl> m_pCtrl;

    QImage Grab() const { return m_pCtrl->grab().toImage(); }

private slots:
    void init()
    {
        m_pCtrl = std::make_unique<CRecordingPaletteCtrl>();
        QPalette palette = m_pCtrl->palette();
        palette.setColor(QPalette::Button, kFace);
        m_pCtrl->setPalette(palette);
        m_pCtrl->resize(200, 32);
        // A double click here only chooses; the Edit Color dialog is tst_editcolordlg's.
        m_pCtrl->m_fnEditColor = [](std::uint16_t*) { return false; };
        std::uint16_t words[16]; // bit 15 is set and must not show
        for (int i = 0; i < 16; ++i)
            words[i] = static_cast<std::uint16_t>(0x8000 | (i * 2) << 10 | 0x3E0 | (i + 1));
        m_pCtrl->SetColors(words, 8);
        m_pCtrl->SetColors(words + 8, 8);
    }

    void hitTest_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<QPoint>("point");
        QTest::addColumn<int>("index");
        QTest::newRow("left edge of a cell") << 16 << QPoint(31, 0) << 0;
        QTest::newRow("right edge is the next cell") << 16 << QPoint(47, 15) << 1;
        QTest::newRow("top edge of the bottom row") << 16 << QPoint(31, 16) << 8;
        QTest::newRow("right edge of the last column") << 16 << QPoint(159, 5) << -1;
        QTest::newRow("indicator area") << 16 << QPoint(30, 5) << -1;
        QTest::newRow("one colour: no column") << 1 << QPoint(31, 0) << -1;
        QTest::newRow("empty") << 0 << QPoint(31, 0) << -1;
    }

    void hitTest()
    {
        QFETCH(int, count);
        QFETCH(QPoint, point);
        QTEST(CPaletteLayout(count).HitTest(point), "index");
    }

    void paintsFaceBoxesAndSwatches()
    {
        const QImage image = Grab();
        for (int i = 0; i < 16; ++i)
            QCOMPARE(Find(image, Screen(i), kSwatches),
                     (Found{144, QRect(33 + i % 8 * 16, 2 + i / 8 * 16, 12, 12)}));
        // Foreground 0 over background 1, which loses the 6 x 6 corner under the other box.
        QCOMPARE(Find(image, Screen(0), QRect(0, 0, 31, 32)), (Found{121, kFore}));
        QCOMPARE(Find(image, Screen(1), QRect(0, 0, 31, 32)), (Found{85, kBack}));
        QCOMPARE(Find(image, kFace, QRect(159, 0, 41, 32)).first, 41 * 32);
        QCOMPARE(image.pixelColor(5, 12), kFace); // inside the foreground box's edge
    }

    void choose_data() // the row's name says what is done
    {
        QTest::addColumn<QPoint>("point");
        QTest::addColumn<int>("index");    // the box's index afterwards
        QTest::addColumn<int>("reported"); // the button of Selected, 0 for none
        QTest::addColumn<QColor>("fill");
        QTest::newRow("left on swatch 9") << QPoint(55, 20) << 9 << 1 << Screen(9);
        QTest::newRow("right on swatch 3") << QPoint(87, 8) << 3 << 2 << Screen(3);
        QTest::newRow("right double click on swatch 4") << QPoint(96, 3) << 4 << 2 << Screen(4);
        QTest::newRow("right on the indicator area") << QPoint(10, 10) << 1 << 0 << Screen(1);
        QTest::newRow("SetForeIndex 5") << QPoint() << 5 << 0 << Screen(5);
        QTest::newRow("SetBackIndex 16, outside") << QPoint() << 16 << 0 << kFace;
    }

    void choose()
    {
        const QByteArray action = QTest::currentDataTag();
        QFETCH(QPoint, point);
        QFETCH(int, index);
        QFETCH(int, reported);
        QFETCH(QColor, fill);
        m_pCtrl->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_pCtrl.get()));
        QTRY_VERIFY(!m_pCtrl->m_regions.isEmpty());
        const QImage before = Grab();
        m_pCtrl->m_regions.clear();
        QSignalSpy spy(m_pCtrl.get(), &CPaletteCtrl::Selected);
        const bool fore = action.startsWith("left") || action.startsWith("SetFore");
        const bool setter = action.startsWith("Set");
        const Qt::MouseButton button = fore ? Qt::LeftButton : Qt::RightButton;
        if (setter)
            fore ? m_pCtrl->SetForeIndex(index) : m_pCtrl->SetBackIndex(index);
        else
            QTest::mouseClick(m_pCtrl.get(), button, {}, point);
        if (action.contains("double")) {
            QTest::mouseDClick(m_pCtrl.get(), button, {}, point);
            QTest::mouseRelease(m_pCtrl.get(), button, {}, point);
        }
        const QRect box = fore ? kFore : kBack;
        if (reported || setter)
            QTRY_COMPARE(m_pCtrl->m_regions, QList<QRegion>{QRegion(box)});
        const QImage after = Grab();
        QCOMPARE(spy.count(), reported ? 1 : 0);
        if (reported)
            QCOMPARE(spy.at(0), (QVariantList{reported, index}));
        QCOMPARE(fore ? m_pCtrl->ForeIndex() : m_pCtrl->BackIndex(), index);
        QCOMPARE(Find(after, fill, box).second, box);
        QCOMPARE(after.copy(kSwatches), before.copy(kSwatches));
    }

    void memDCCopiesOnDestruction()
    {
        QImage target(80, 60, QImage::Format_RGB32);
        target.setDevicePixelRatio(2);
        target.fill(Qt::white);
        const QRect area(10, 5, 20, 15);
        {
            QPainter painter(&target);
            CMemDC dc(&painter, area);
            dc->fillRect(area, Qt::blue);
            QCOMPARE(TestPixels::Count(target, Qt::white), 80 * 60); // nothing yet
        }
        QCOMPARE(Find(target, Qt::blue), (Found{40 * 30, QRect(20, 10, 40, 30)}));
        QCOMPARE(TestPixels::Count(target, Qt::white), 80 * 60 - 40 * 30); // and nothing else
    }
};

QTEST_MAIN(tst_PaletteCtrl)
#include "tst_palettectrl.moc"
