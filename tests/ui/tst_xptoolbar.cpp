#include "ui/XPToolBar.h"
#include "TestPixels.h"

#include <QMainWindow>
#include <QToolButton>
#include <QtTest>

namespace {

const QRgb kHighlight = qRgb(10, 36, 106);
const QRgb kBar = qRgb(204, 204, 204);         // T(face, 20, 0)
const QRgb kHotFill = qRgb(187, 197, 222);     // T(highlight, 75, -57)
const QRgb kCheckedFill = qRgb(121, 140, 190); // T(highlight, 50, -57)
const QRgb kHotShadow = qRgb(128, 144, 183);   // T(highlight, 50, -66)
const QRgb kShadow = qRgb(128, 128, 128);      // button shadow
const QRgb kSeparator = qRgb(163, 163, 163);   // T(face, -15, 0)
const QRgb kFace = qRgb(192, 192, 192);
const QRgb kText = qRgb(0, 0, 0);
const QRgb kPicture = qRgb(200, 0, 0);

} // namespace

using TestPixels::ComparePixels;
using TestPixels::Pixels;

class tst_XPToolBar : public QObject
{
    Q_OBJECT

    QMainWindow* m_frame = nullptr;
    CXPToolBar* m_bar = nullptr;

    // A bar of two red 16 x 15 pictures with a separator between them.
    void MakeBar(Qt::ToolBarArea area)
    {
        // Away from the window, whatever an earlier row left under the cursor.
        QCursor::setPos(QPoint(-100, -100));
        m_frame = new QMainWindow;
        m_bar = new CXPToolBar(QStringLiteral("bar"), m_frame);
        m_bar->setIconSize(QSize(16, 15));
        QPalette palette;
        palette.setColor(QPalette::Button, QColor(kFace));
        palette.setColor(QPalette::Highlight, QColor(kHighlight));
        palette.setColor(QPalette::WindowText, QColor(kText));
        palette.setColor(QPalette::Dark, QColor(kShadow));
        m_bar->setPalette(palette);
        QPixmap picture(16, 15);
        picture.fill(QColor(kPicture));
        m_bar->addAction(QIcon(picture), QStringLiteral("first"));
        m_bar->addSeparator();
        m_bar->addAction(QIcon(picture), QStringLiteral("second"));
        m_frame->addToolBar(area, m_bar);
        m_frame->setCentralWidget(new QWidget);
        m_frame->resize(300, 200);
        m_frame->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_frame));
    }

    QWidget* Widget(int nIndex) const
    {
        return m_bar->widgetForAction(m_bar->actions().at(nIndex));
    }

private slots:
    void cleanup() { delete m_frame; }

    // Pixels from the button's corner: the fill, the frame, the picture and its shadow.
    void buttonStates_data()
    {
        QTest::addColumn<QString>("state");
        QTest::addColumn<Pixels>("pixels");
        QTest::newRow("normal")
            << "normal" << Pixels{{0, 0, kBar}, {2, 2, kBar}, {3, 3, kPicture}, {18, 17, kPicture}};
        QTest::newRow("hot") << "hot"
                             << Pixels{{0, 0, kHighlight},
                                       {1, 1, kHotFill},
                                       {2, 2, kPicture},
                                       {17, 16, kPicture},
                                       {19, 18, kHotShadow}};
        QTest::newRow("checked") << "checked"
                                 << Pixels{
                                        {0, 0, kHighlight}, {2, 2, kCheckedFill}, {3, 3, kPicture}};
        QTest::newRow("pressed") << "pressed"
                                 << Pixels{{0, 0, kHighlight},
                                           {2, 2, kCheckedFill},
                                           {3, 3, kPicture},
                                           {19, 18, kCheckedFill}};
        QTest::newRow("disabled")
            << "disabled" << Pixels{{0, 0, kBar}, {2, 2, kBar}, {3, 3, kShadow}, {18, 17, kShadow}};
    }

    void buttonStates()
    {
        QFETCH(QString, state);
        QFETCH(Pixels, pixels);
        MakeBar(Qt::TopToolBarArea);
        auto* button = qobject_cast<QToolButton*>(Widget(2));
        QCOMPARE(button->size(), QSize(23, 22));
        button->defaultAction()->setCheckable(true);
        button->defaultAction()->setChecked(state == "checked");
        button->defaultAction()->setEnabled(state != "disabled");
        if (state == "hot" || state == "pressed") {
            QTest::mouseMove(button, QPoint(5, 5));
            QTRY_VERIFY(button->underMouse());
        }
        if (state == "pressed")
            QTest::mousePress(button, Qt::LeftButton, {}, QPoint(5, 5));
        ComparePixels(m_bar->grab().toImage(), button->pos(), pixels);
        if (state == "pressed")
            QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(5, 5));
    }

    void separatorAndGripper_data()
    {
        QTest::addColumn<bool>("horizontal");
        QTest::newRow("top") << true;
        QTest::newRow("left") << false;
    }

    void separatorAndGripper()
    {
        QFETCH(bool, horizontal);
        MakeBar(horizontal ? Qt::TopToolBarArea : Qt::LeftToolBarArea);
        const QImage image = m_bar->grab().toImage();
        // The bar's borders hold in either orientation.
        QCOMPARE(horizontal ? Widget(0)->y() : Widget(0)->x(), 2);
        // Stripes across the 3-pixel strip 4 pixels in from the leading edge, inset 6.
        const auto at = [&](int along, int across) {
            return horizontal ? image.pixel(across, along) : image.pixel(along, across);
        };
        QCOMPARE((QList<QRgb>{at(6, 3), at(6, 4), at(7, 6), at(7, 7), at(5, 5)}),
                 (QList<QRgb>{kBar, kFace, kText, kBar, kBar}));
        const QRect rect = Widget(1)->geometry();
        if (horizontal) {
            const int x = (rect.left() + rect.right() + 1) / 2 - 1;
            ComparePixels(image, QPoint(x, rect.top()),
                          {{0, 2, kSeparator}, {0, rect.height() - 3, kSeparator}, {1, 2, kBar}});
        } else {
            ComparePixels(image, QPoint(0, rect.bottom() - 3),
                          {{2, 0, kSeparator}, {m_bar->width() - 3, 0, kSeparator}, {2, -1, kBar}});
        }
    }
};

QTEST_MAIN(tst_XPToolBar)
#include "tst_xptoolbar.moc"
