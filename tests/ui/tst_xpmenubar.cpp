#include "app/CommandTable.h"
#include "app/MainFrame.h"
#include "edit/PixelEditor.h"
#include "rom/DemoRom.h"
#include "ui/BarItem.h"
#include "ui/HLSTransform.h"
#include "ui/SysColors.h"
#include "ui/XPMenuBar.h"
#include "view/GlyphoxView.h"
#include "RomFixture.h"
#include "TestPixels.h"

#include <QLineEdit>
#include <QMenu>
#include <QSettings>
#include <QToolBar>
#include <QToolButton>
#include <QtTest>

#include <functional>
#include <memory>

using namespace MenuBarLayout;

namespace {

void CloseAllPopups()
{
    for (int n = 0; n < 8 && QApplication::activePopupWidget(); ++n)
        QApplication::activePopupWidget()->close();
}

// Runs steps 50 ms apart, also from inside popup loops, then closes what is left open.
class CStepper : public QObject
{
public:
    explicit CStepper(const QList<std::function<void()>>& steps) : m_steps(steps)
    {
        m_timer.start(50, this);
    }
    bool Done() const { return m_nStep > m_steps.size(); }

protected:
    void timerEvent(QTimerEvent*) override
    {
        if (Done())
            return;
        // Counted first: a step may run an event loop in which the timer fires again.
        const qsizetype nStep = m_nStep++;
        if (nStep < m_steps.size()) {
            m_steps[nStep]();
            return;
        }
        m_timer.stop();
        CloseAllPopups();
    }

private:
    QList<std::function<void()>> m_steps;
    qsizetype m_nStep = 0;
    QBasicTimer m_timer;
};

} // namespace

class tst_XPMenuBar : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    std::unique_ptr<CMainFrame> m_frame;

    CXPMenuBar* Bar() const { return m_frame->MenuBarControl(); }
    QWindow* Window() const { return m_frame->windowHandle(); }
    QRect ItemRect(int i) const { return Bar()->Item(i)->ItemRect(); }
    // A button's centre in the frame window's coordinates.
    QPoint Center(int i) const { return Bar()->mapTo(m_frame.get(), ItemRect(i).center()); }
    QMenu* Popup() const { return qobject_cast<QMenu*>(QApplication::activePopupWidget()); }

    // Calls start, which runs the bar's popup loop, with the steps run 50 ms apart inside it;
    // whatever is still open afterwards is closed, so that no test hangs in a popup.
    void Drive(const std::function<void()>& start, const QList<std::function<void()>>& steps)
    {
        CStepper stepper(steps);
        start();
        QDeadlineTimer deadline(20000);
        while (!stepper.Done() && !deadline.hasExpired())
            QTest::qWait(10);
        CloseAllPopups();
        QVERIFY(stepper.Done());
        QVERIFY(!QApplication::activePopupWidget());
        QCOMPARE(Bar()->TrackingState(), int(CXPMenuBar::TRACK_NONE));
    }

    void Press(int i) { QTest::mousePress(Window(), Qt::LeftButton, {}, Center(i)); }
    void Release(int i) { QTest::mouseRelease(Window(), Qt::LeftButton, {}, Center(i)); }

private slots:
    void initTestCase() { QVERIFY(RomFixture::UsePrivateHome(m_dir)); }

    void init()
    {
        QSettings("Brackenfold", "Glyphox").clear();
        m_frame = std::make_unique<CMainFrame>();
        m_frame->show();
        QVERIFY(QTest::qWaitForWindowActive(m_frame.get()));
    }

    void cleanup() { m_frame.reset(); }

    void pressOpensPopup_data()
    {
        QTest::addColumn<int>("button");
        QTest::addColumn<bool>("left");
        QTest::newRow("file-below") << 0 << false;
        QTest::newRow("help-below") << 3 << false;
        QTest::newRow("edit-at-right-when-docked-left") << 1 << true;
    }

    void pressOpensPopup()
    {
        QFETCH(int, button);
        QFETCH(bool, left);
        if (left) {
            m_frame->addToolBar(Qt::LeftToolBarArea, Bar());
            QTRY_VERIFY(!Bar()->IsHorizontal());
            QTRY_VERIFY(Bar()->height() > Bar()->width());
            QVERIFY(ItemRect(1).top() > ItemRect(0).bottom());
        }
        const QRect rect(Bar()->mapToGlobal(ItemRect(button).topLeft()), ItemRect(button).size());
        const QPoint expected = left ? QPoint(rect.right() + 2, rect.top() - 1)
                                     : QPoint(rect.left() - 1, rect.bottom() + 1);
        const CSysColors colors = CSysColors::FromPalette(Bar()->palette());
        Drive([&] { Press(button); }, {[&] {
                  Release(button);
                  QCOMPARE(Popup(), m_frame->Menus().at(button));
                  QCOMPARE(Popup()->pos(), expected);
                  // The open button is pressed: a tinted face framed in the shadow colour.
                  const QImage image = Bar()->grab().toImage();
                  const QPoint corner = ItemRect(button).topLeft();
                  QCOMPARE(image.pixel(corner), colors.buttonShadow.rgb());
                  QCOMPARE(image.pixel(corner + QPoint(2, 2)),
                           HLSTransform(colors.face, 20, 0).rgb());
              }});
        QVERIFY(!Bar()->Item(button)->HasState(kStatePressed | kStateHot));
    }

    void slideBetweenPopups_data()
    {
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("key"); // 0: move the pointer onto button "to"
        QTest::addColumn<int>("to");
        QTest::addColumn<bool>("left");
        QTest::newRow("move-onto-next") << 0 << 0 << 1 << false;
        QTest::newRow("move-back") << 2 << 0 << 1 << false;
        QTest::newRow("right") << 1 << int(Qt::Key_Right) << 2 << false;
        QTest::newRow("right-on-last-opens-first") << 3 << int(Qt::Key_Right) << 0 << false;
        QTest::newRow("left-on-first-opens-last") << 0 << int(Qt::Key_Left) << 3 << false;
        QTest::newRow("right-when-docked-left") << 1 << int(Qt::Key_Right) << 2 << true;
    }

    void slideBetweenPopups()
    {
        QFETCH(int, from);
        QFETCH(int, key);
        QFETCH(int, to);
        QFETCH(bool, left);
        if (left) {
            m_frame->addToolBar(Qt::LeftToolBarArea, Bar());
            QTRY_VERIFY(!Bar()->IsHorizontal());
            QTRY_VERIFY(Bar()->height() > Bar()->width());
        }
        Drive([&] { Press(from); }, {[&] {
                                         Release(from);
                                         QCOMPARE(Popup(), m_frame->Menus().at(from));
                                         if (key)
                                             QTest::keyClick(Popup(), Qt::Key(key));
                                         else
                                             QTest::mouseMove(Window(), Center(to));
                                     },
                                     [&] {
                                         QCOMPARE(Popup(), m_frame->Menus().at(to));
                                         QCOMPARE(Bar()->CurrentIndex(), to);
                                         QVERIFY(Bar()->Item(to)->HasState(kStatePressed));
                                         QVERIFY(!Bar()->Item(from)->HasState(kStatePressed));
                                     }});
    }

    void pressOnOpenButtonCloses()
    {
        Drive([&] { Press(1); }, {[&] {
                                      Release(1);
                                      QVERIFY(Popup());
                                      Press(1);
                                      // Closed by the bar: its button stays hot till the loop ends.
                                      QCOMPARE(Bar()->TrackingState(),
                                               int(CXPMenuBar::TRACK_BUTTON));
                                      QVERIFY(Bar()->Item(1)->HasState(kStateHot));
                                  },
                                  [&] {
                                      QVERIFY(!QApplication::activePopupWidget());
                                      Release(1);
                                  }});
    }

    // A command chosen in a popup reaches the view. A letter typed in a field stays there;
    // Alt+E opens Edit, its first item selected, and F10 opens File.
    void commandsAndKeys()
    {
        const QString path = m_dir.filePath("rom.smc");
        CDemoRom::Write(path, false, 1, true);
        m_frame->m_fnFileDialog = [path](bool) { return path; };
        m_frame->Action(ID_FILE_OPEN)->trigger();
        QAction* fill = m_frame->Action(ID_MODE_FILL);
        Drive([&] { Press(1); }, {[&] {
                  Release(1);
                  QVERIFY(Popup());
                  QTest::mouseClick(Popup(), Qt::LeftButton, {},
                                    Popup()->actionGeometry(fill).center());
              }});
        QCOMPARE(m_frame->View()->Mode(), CPixelEditor::MODE_FILL);
        QVERIFY(fill->isChecked());
        auto* button = qobject_cast<QToolButton*>(m_frame->EditToolBar()->widgetForAction(fill));
        QVERIFY(button && button->isChecked());

        auto* edit = m_frame->View()->findChild<QLineEdit*>("editTileSet");
        edit->setFocus();
        QSignalSpy typed(edit, &QLineEdit::textEdited);
        QTest::keyClick(edit, Qt::Key_E);
        QVERIFY(typed.size() == 1 && typed[0][0].toString().endsWith('e'));
        QVERIFY(!QApplication::activePopupWidget());
        Drive([&] { QTest::keyClick(edit, Qt::Key_E, Qt::AltModifier); }, {[&] {
                  QCOMPARE(Popup(), m_frame->Menus().at(1));
                  QCOMPARE(Popup()->activeAction(), Popup()->actions().at(0));
              }});
        Drive([&] { QTest::keyClick(edit, Qt::Key_F10); },
              {[&] { QCOMPARE(Popup(), m_frame->Menus().at(0)); }});
        QCOMPARE(typed.size(), 1);
    }

    // The hot button is framed in the highlight colour; texts grey while the frame is inactive.
    void hotButtonAndInactiveFrame()
    {
        const CSysColors colors = CSysColors::FromPalette(Bar()->palette());
        QTest::mouseMove(Window(), Center(2));
        QImage image = Bar()->grab().toImage();
        QCOMPARE(image.pixel(ItemRect(2).topLeft()), colors.highlight.rgb());
        QCOMPARE(image.pixel(ItemRect(2).topLeft() + QPoint(2, 2)),
                 HLSTransform(colors.highlight, 70, -57).rgb());
        QTest::mouseMove(Window(), m_frame->View()->geometry().center());
        image = Bar()->grab().toImage();
        QCOMPARE(image.pixel(ItemRect(2).topLeft()), colors.face.rgb());

        QPalette palette = Bar()->palette();
        palette.setColor(QPalette::Active, QPalette::WindowText, Qt::blue);
        palette.setColor(QPalette::Disabled, QPalette::Text, Qt::red);
        Bar()->setPalette(palette);
        const auto count = [this](const QColor& color) {
            return TestPixels::Find(Bar()->grab().toImage(), color, ItemRect(0), true).first;
        };
        QVERIFY(count(Qt::blue) > 0);
        QCOMPARE(count(Qt::red), 0);
        QWidget other;
        other.show();
        other.activateWindow();
        QTRY_VERIFY(!m_frame->isActiveWindow());
        QVERIFY(count(Qt::red) > 0);
        QCOMPARE(count(Qt::blue), 0);
        m_frame->activateWindow();
        QTRY_VERIFY(m_frame->isActiveWindow());
        QCOMPARE(count(Qt::red), 0);
    }

    void layoutFollowsFrameAndFont()
    {
        const int nRowHeight = ItemRect(0).height();
        QCOMPARE(ItemRect(3).top(), ItemRect(0).top());

        // Narrower than its buttons, the bar wraps and grows.
        m_frame->resize(ItemRect(2).right(), m_frame->height());
        QTRY_VERIFY(ItemRect(3).top() >= ItemRect(0).bottom());
        QVERIFY(Bar()->height() >= 2 * nRowHeight);
        m_frame->resize(1000, m_frame->height());
        QTRY_COMPARE(ItemRect(3).top(), ItemRect(0).top());

        // A larger font rebuilds the buttons at the new size.
        const QFont font = QApplication::font();
        QFont larger = font;
        larger.setPointSizeF(font.pointSizeF() * 2);
        QApplication::setFont(larger);
        QTRY_VERIFY(ItemRect(0).height() > nRowHeight);
        QTRY_VERIFY(Bar()->height() > ItemRect(0).height());
        QApplication::setFont(font);
        QTRY_COMPARE(ItemRect(0).height(), nRowHeight);
    }
};

QTEST_MAIN(tst_XPMenuBar)
#include "tst_xpmenubar.moc"
