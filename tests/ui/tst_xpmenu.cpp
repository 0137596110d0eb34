#include "app/CommandTable.h"
#include "app/MainFrame.h"
#include "app/ToolbarIcons.h"
#include "rom/DemoRom.h"
#include "ui/XPMenu.h"
#include "ui/XPMenuStyle.h"
#include "ui/XPToolBar.h"
#include "RomFixture.h"
#include "TestPixels.h"

#include <QMainWindow>
#include <QMenu>
#include <QSettings>
#include <QToolBar>
#include <QToolButton>
#include <QtTest>

// Colours from the classic face grey and blue highlight, as the transform gives them.
namespace {

const QRgb kHighlight = qRgb(10, 36, 106);
const QRgb kColumn = qRgb(204, 204, 204);     // T(face, 20, 0)
const QRgb kTextArea = qRgb(239, 239, 239);   // T(face, 75, 0)
const QRgb kSelected = qRgb(173, 185, 216);   // T(highlight, 70, -57)
const QRgb kCheckedHot = qRgb(115, 138, 196); // T(highlight, 50, -50)
const QRgb kHotShadow = qRgb(128, 144, 183);  // T(highlight, 50, -66)
const QRgb kGreyShadow = qRgb(140, 140, 140); // T(face, -27, 0)
const QRgb kSeparator = qRgb(157, 157, 157);  // T(face, -18, 0)
const QRgb kPicture = qRgb(200, 0, 0);
// The toolbar's.
const QRgb kBar = kColumn;
const QRgb kHotFill = qRgb(187, 197, 222);      // T(highlight, 75, -57)
const QRgb kCheckedFill = qRgb(121, 140, 190);  // T(highlight, 50, -57)
const QRgb kShadow = qRgb(128, 128, 128);       // button shadow
const QRgb kBarSeparator = qRgb(163, 163, 163); // T(face, -15, 0)
const QRgb kFace = qRgb(192, 192, 192);

QAction* AddItem(QMenu* menu, int nId, const QString& text)
{
    QAction* action = menu->addAction(text);
    action->setData(nId);
    return action;
}

// Opens the popup with the given item selected and returns what it painted.
QImage Shot(QMenu* menu, QAction* selected, bool bDark = false)
{
    QPalette palette;
    palette.setColor(QPalette::Button, QColor(192, 192, 192));
    palette.setColor(QPalette::Highlight, QColor(kHighlight));
    palette.setColor(QPalette::WindowText, Qt::black);
    menu->setPalette(bDark ? TestPixels::DarkPalette() : palette);
    menu->popup(QPoint(0, 0));
    menu->setActiveAction(selected);
    return QTest::qWaitForWindowExposed(menu) ? menu->grab().toImage() : QImage();
}

} // namespace

using TestPixels::ComparePixels;
using TestPixels::Pixels;

class tst_XPMenu : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    CXPMenuStyle m_style;
    QMainWindow m_frame;
    QToolBar* m_bar = nullptr;
    QMenu* m_menu = nullptr;
    QMainWindow* m_barFrame = nullptr;
    CXPToolBar* m_xpBar = nullptr;

    // A bar of two red 16 x 15 pictures with a separator between them.
    void MakeBar(Qt::ToolBarArea area)
    {
        // Away from the window, whatever an earlier row left under the cursor.
        QCursor::setPos(QPoint(-100, -100));
        m_barFrame = new QMainWindow;
        m_xpBar = new CXPToolBar(QStringLiteral("bar"), m_barFrame);
        m_xpBar->setIconSize(QSize(16, 15));
        QPalette palette;
        palette.setColor(QPalette::Button, QColor(kFace));
        palette.setColor(QPalette::Highlight, QColor(kHighlight));
        palette.setColor(QPalette::WindowText, Qt::black);
        palette.setColor(QPalette::Dark, QColor(kShadow));
        m_xpBar->setPalette(palette);
        QPixmap picture(16, 15);
        picture.fill(QColor(kPicture));
        m_xpBar->addAction(QIcon(picture), QStringLiteral("first"));
        m_xpBar->addSeparator();
        m_xpBar->addAction(QIcon(picture), QStringLiteral("second"));
        m_barFrame->addToolBar(area, m_xpBar);
        m_barFrame->setCentralWidget(new QWidget);
        m_barFrame->resize(300, 200);
        m_barFrame->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_barFrame));
    }

    QWidget* Widget(int nIndex) const
    {
        return m_xpBar->widgetForAction(m_xpBar->actions().at(nIndex));
    }

private slots:
    void initTestCase()
    {
        QVERIFY(RomFixture::UsePrivateHome(m_dir));
        // Command 1 has a red 16 x 15 picture on the frame's toolbar.
        m_bar = m_frame.addToolBar(QStringLiteral("bar"));
        m_bar->setIconSize(QSize(16, 15));
        QPixmap picture(16, 15);
        picture.fill(QColor(kPicture));
        m_bar->addAction(QIcon(picture), QString())->setData(1);
    }

    void init()
    {
        m_menu = new QMenu(&m_frame);
        m_menu->setStyle(&m_style);
    }

    void cleanup()
    {
        delete m_menu;
        delete m_barFrame;
        m_barFrame = nullptr;
    }

    // Pixels from the item's corner. State letters: p picture, d disabled, c checked, s selected.
    void itemLook_data()
    {
        QTest::addColumn<QString>("state");
        QTest::addColumn<Pixels>("pixels");
        const auto row = [](const char* name, const char* state, const Pixels& pixels) {
            QTest::newRow(name) << QString(state) << pixels;
        };
        row("plain", "p",
            {{2, 3, kColumn},
             {3, 3, kPicture},
             {18, 17, kPicture},
             {21, 5, kColumn},
             {22, 5, kTextArea}});
        row("selected", "s", {{0, 0, kHighlight}, {25, 5, kSelected}});
        row("disabled selected", "ds", {{0, 0, kHighlight}, {25, 5, kColumn}});
        row("picture raised", "ps", {{2, 2, kPicture}, {17, 16, kPicture}, {19, 18, kHotShadow}});
        row("disabled: silhouette only", "pd",
            {{2, 2, kColumn}, {3, 3, kGreyShadow}, {18, 17, kGreyShadow}});
        row("checked box", "pc",
            {{1, 1, kHighlight}, {19, 1, kHighlight}, {2, 2, kSelected}, {3, 3, kPicture}});
        row("checked selected stays at 3", "pcs",
            {{2, 2, kCheckedHot}, {3, 3, kPicture}, {19, 18, kHighlight}});
        row("checked, no picture: tick", "c",
            {{1, 1, kHighlight}, {2, 2, kSelected}, {11, 10, qRgb(0, 0, 0)}});
    }

    void itemLook()
    {
        QFETCH(QString, state);
        QFETCH(Pixels, pixels);
        AddItem(m_menu, 5, QStringLiteral("Above"));
        QAction* action = AddItem(m_menu, state.contains('p') ? 1 : 9, QStringLiteral("&Item"));
        action->setEnabled(!state.contains('d'));
        action->setCheckable(true);
        action->setChecked(state.contains('c'));
        QAction* separator = m_menu->addSeparator();
        AddItem(m_menu, 6, QStringLiteral("Below"));
        XPMenu::PrepareMenu(m_menu, m_bar);
        const QImage image = Shot(m_menu, state.contains('s') ? action : nullptr);
        ComparePixels(image, m_menu->actionGeometry(action).topLeft(), pixels);

        const QRect rule = m_menu->actionGeometry(separator);
        const int w = rule.width();
        ComparePixels(image, rule.topLeft() + QPoint(0, rule.height() / 2),
                      {{29, 0, kTextArea}, {30, 0, kSeparator}, {w - 2, 0, kSeparator}});
    }

    // Dark tints under light text: it reads on items and selection; pictures get a light rim.
    void darkPalette()
    {
        AddItem(m_menu, 1, QStringLiteral("&Picture"));
        QAction* selected = AddItem(m_menu, 10, QStringLiteral("&Selected item"));
        XPMenu::PrepareMenu(m_menu, m_bar);
        QCOMPARE(qRound(ContrastRatio(QColor(118, 118, 118), Qt::white) * 100), 454); // by hand
        const QImage image = Shot(m_menu, selected, true);
        for (QAction* action : m_menu->actions()) {
            const QRect item = m_menu->actionGeometry(action);
            const QColor background = image.pixelColor(item.topLeft() + QPoint(25, 3));
            QVERIFY(TestPixels::StrongestContrast(image, item.adjusted(30, 0, 0, 0), background) >=
                    4.5);
        }
        const QPoint picture = m_menu->actionGeometry(m_menu->actions().at(0)).topLeft();
        QVERIFY(ContrastRatio(image.pixelColor(picture + QPoint(2, 8)),
                              image.pixelColor(picture + QPoint(1, 8))) >= 3);
    }

    void menuChar_data()
    {
        QTest::addColumn<QStringList>("labels");
        QTest::addColumn<QChar>("typed");
        QTest::addColumn<int>("position"); // -1: no match
        QTest::newRow("lower") << QStringList{"&Open", "E&xit"} << QChar('x') << 1;
        QTest::newRow("upper") << QStringList{"E&xit"} << QChar('X') << 0;
        QTest::newRow("first of two")
            << QStringList{"&Save", "Sa&ve", "&Second"} << QChar('s') << 0;
        QTest::newRow("literal ampersand") << QStringList{"Salt && Pepper"} << QChar('p') << -1;
        QTest::newRow("after literal") << QStringList{"A&&B", "&B"} << QChar('b') << 1;
        QTest::newRow("not in shortcut") << QStringList{"Open\t&K"} << QChar('k') << -1;
    }

    void menuChar()
    {
        QFETCH(QStringList, labels);
        QFETCH(QChar, typed);
        QFETCH(int, position);
        for (int i = 0; i < labels.size(); ++i)
            AddItem(m_menu, 200 + i, labels[i]);
        XPMenu::PrepareMenu(m_menu, nullptr);
        QCOMPARE(XPMenu::MenuChar(m_menu, typed),
                 position < 0 ? 0 : XPMenu::MNC_EXECUTE << 16 | position);
    }

    void typedMnemonicRunsItem()
    {
        AddItem(m_menu, 300, QStringLiteral("&Open"));
        QSignalSpy triggered(AddItem(m_menu, 301, QStringLiteral("E&xit")), &QAction::triggered);
        XPMenu::PrepareMenu(m_menu, nullptr);
        m_menu->popup(QPoint(0, 0));
        QVERIFY(QTest::qWaitForWindowExposed(m_menu));
        QTest::keyClick(m_menu, Qt::Key_X);
        QCOMPARE(triggered.size(), 1);
        QVERIFY(!m_menu->isVisible());
    }

    // The frame converts its popups as they open: the current mode's box and picture, and
    // the recent files under their new names.
    void frameMenus()
    {
        QSettings("Brackenfold", "Glyphox").clear();
        CMainFrame frame;
        frame.m_fnMessageBox = [](QMessageBox::Icon, const QString&) {};
        const QString first = m_dir.filePath("first.smc");
        const QString second = m_dir.filePath("second.smc");
        CDemoRom::Write(first, false, 1, true);
        CDemoRom::Write(second, false, 2, true);
        QVERIFY(frame.OpenDocumentFile(first));
        frame.Action(ID_MODE_FILL)->trigger();

        QMenu* edit = frame.Menus().at(1);
        QAction* fill = frame.Action(ID_MODE_FILL);
        ComparePixels(Shot(edit, fill), edit->actionGeometry(fill).topLeft(), {{1, 1, kHighlight}});
        QCOMPARE(XPMenu::ItemImages().value(ID_MODE_FILL).toImage(),
                 ToolbarIcons::Picture(ID_MODE_FILL).toImage());
        edit->hide();

        const auto secondRecent = [&frame] {
            frame.FileMenu()->popup(QPoint(0, 0));
            frame.FileMenu()->hide();
            return XPMenu::ItemTexts().value(ID_FILE_MRU_FILE1 + 1);
        };
        QVERIFY(frame.OpenDocumentFile(second));
        QVERIFY(secondRecent().endsWith("first.smc"));
        QVERIFY(frame.OpenDocumentFile(first));
        QVERIFY(secondRecent().endsWith("second.smc"));
    }

    // Pixels from the button's corner: the fill, the frame, the picture and its shadow.
    void toolbarButtons_data()
    {
        QTest::addColumn<QString>("state");
        QTest::addColumn<Pixels>("pixels");
        const auto row = [](const char* state, const Pixels& pixels) {
            QTest::newRow(state) << QString(state) << pixels;
        };
        row("normal", {{0, 0, kBar}, {2, 2, kBar}, {3, 3, kPicture}, {18, 17, kPicture}});
        row("hot", {{0, 0, kHighlight},
                    {1, 1, kHotFill},
                    {2, 2, kPicture},
                    {17, 16, kPicture},
                    {19, 18, kHotShadow}});
        row("checked", {{0, 0, kHighlight}, {2, 2, kCheckedFill}, {3, 3, kPicture}});
        row("pressed",
            {{0, 0, kHighlight}, {2, 2, kCheckedFill}, {3, 3, kPicture}, {19, 18, kCheckedFill}});
        row("disabled", {{0, 0, kBar}, {2, 2, kBar}, {3, 3, kShadow}, {18, 17, kShadow}});
    }

    void toolbarButtons()
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
        ComparePixels(m_xpBar->grab().toImage(), button->pos(), pixels);
        if (state == "pressed")
            QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(5, 5));
    }

    void toolbarSeparatorAndGripper_data()
    {
        QTest::addColumn<bool>("horizontal");
        QTest::newRow("top") << true;
        QTest::newRow("left") << false;
    }
};

QTEST_MAIN(tst_XPMenu)
#include "tst_xpmenu.moc"
