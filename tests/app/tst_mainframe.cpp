#include "app/AboutBox.h"
#include "app/CommandTable.h"
#include "app/MainFrame.h"
#include "rom/DemoRom.h"
#include "rom/GlyphoxDoc.h"
#include "view/GlyphoxView.h"
#include "RomFixture.h"

#include <QLabel>
#include <QMenu>
#include <QSettings>
#include <QToolBar>
#include <QToolTip>
#include <QtTest>

#include <memory>

namespace {

QStringList Texts(const QList<QAction*>& actions)
{
    QStringList texts;
    for (QAction* action : actions) {
        if (action->isVisible())
            texts << (action->isSeparator() ? "-" : action->text());
    }
    return texts;
}

// What hovering over a toolbar button shows.
QString ShownToolTip(QToolBar* bar, QAction* action)
{
    QWidget* button = bar->widgetForAction(action);
    const QPoint at = button->mapToGlobal(QPoint(2, 2));
    QToolTip::showText(at, "(none)");
    QHelpEvent event(QEvent::ToolTip, QPoint(2, 2), at);
    QCoreApplication::sendEvent(button, &event);
    return QToolTip::text() == "(none)" ? QString() : QToolTip::text();
}

} // namespace

class tst_MainFrame : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    std::unique_ptr<CMainFrame> m_frame;
    QList<QPair<QMessageBox::Icon, QString>> m_listMessages;

    QString Rom(const char* name, std::uint32_t seed = 1)
    {
        CDemoRom::Write(m_dir.filePath(name), false, seed, true);
        return m_dir.filePath(name);
    }

    void Open(const QString& path)
    {
        m_frame->m_fnFileDialog = [path](bool) { return path; };
        m_frame->Action(ID_FILE_OPEN)->trigger();
    }

private slots:
    void initTestCase()
    {
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_dir.filePath("config")));
        RomFixture::UsePrivateDataHome(m_dir);
    }

    void init()
    {
        QSettings("Brackenfold", "Glyphox").clear();
        m_listMessages.clear();
        m_frame = std::make_unique<CMainFrame>();
        m_frame->m_fnMessageBox = [this](QMessageBox::Icon icon, const QString& text) {
            m_listMessages.append({icon, text});
        };
    }

    void cleanup() { m_frame.reset(); }

    void menus()
    {
        // The flat menu bar is the only one, in a row of its own above the toolbars.
        QVERIFY(!m_frame->menuWidget());
        auto* bar = m_frame->findChild<QToolBar*>("m_wndMenuBar");
        QVERIFY(bar);
        m_frame->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_frame.get()));
        QCOMPARE(m_frame->toolBarArea(bar), Qt::TopToolBarArea);
        QVERIFY(bar->geometry().bottom() < m_frame->MainToolBar()->y());
        QStringList menus;
        for (QMenu* menu : m_frame->Menus())
            menus << menu->title() + ": " + Texts(menu->actions()).join('|');
        QCOMPARE(
            menus,
            (QStringList{"&File: &Open...\tCtrl+O|&Save\tCtrl+S|Save &As...|-|Recent File|-|E&xit",
                         "&Edit: Undo\tCtrl+Z|Redo\tCtrl+Y|-|Tile copy|Paste tile|-|Erase all "
                         "tiles|-|Paint mode|Droper "
                         "mode|Fill mode|-|Shift left|Shift up|Shift right|Shift down|-|Flip "
                         "tile horizontally|Flip tile verticaly|-|Rotate left|Rotate right",
                         "Import/Export: &Export tile set|&Import tile set|-|Export "
                         "palette|Import palette|-|Export tile set as image...|Import tile set "
                         "from image...|Export palette as...|Import palette from...|Export poses "
                         "as animation...",
                         "&Help: &About Glyphox..."}));
    }

    void toolbars()
    {
        // The window icon comes from the compiled-in resource, at the installed sizes.
        QCOMPARE(m_frame->windowIcon().availableSizes().size(), 6);
        m_frame->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_frame.get()));
        QStringList bars;
        for (QToolBar* bar : {m_frame->MainToolBar(), m_frame->EditToolBar()}) {
            QStringList shown;
            for (QAction* action : bar->actions()) {
                QVERIFY(action->isSeparator() || !action->icon().isNull());
                shown << (action->isSeparator() ? "-" : ShownToolTip(bar, action));
            }
            bars << shown.join('|');
        }
        QCOMPARE(bars,
                 (QStringList{"Open|Save|-|About",
                              "Undo|Redo|-|Copy current tile|Paste tile|-|Fill tile with selected "
                              "colour|-|Paint mode|Droper mode|Fill mode|-|Shift tile "
                              "left|Shift tile up|Shift tile down||-|Flip tile "
                              "horizontally|Flip tile vertically|-|Rotate tile counter "
                              "clock wize|Rotate tile clock wize"}));
        // The whole form shows; both bars share the top row; the dialog bar is never offered.
        QVERIFY(m_frame->View()->rect().contains(m_frame->View()->childrenRect()));
        QCOMPARE(m_frame->toolBarArea(m_frame->EditToolBar()), Qt::TopToolBarArea);
        QCOMPARE(m_frame->MainToolBar()->y(), m_frame->EditToolBar()->y());
        QVERIFY(m_frame->EditToolBar()->x() > m_frame->MainToolBar()->x());
        QCOMPARE(Texts(std::unique_ptr<QMenu>(m_frame->createPopupMenu())->actions()),
                 (QStringList{"Standard", "Editing"}));
    }

    void openSaveAndNew()
    {
        m_frame->show();
        QVERIFY(QTest::qWaitForWindowActive(m_frame.get()));
        QCOMPARE(m_frame->windowTitle(), "Untitled[*] - Glyphox");
        QVERIFY(!m_frame->Action(ID_FILE_SAVE)->isEnabled());

        const QString path = Rom("first.smc");
        Open(path);
        QCOMPARE(m_frame->windowTitle(), "first.smc[*] - Glyphox");
        QVERIFY(m_frame->Action(ID_FILE_SAVE)->isEnabled());
        QCOMPARE(m_frame->RecentFiles().Entries(), QStringList{path});

        RomFixture::Flip(*m_frame->Document(), 0x1000);
        QTest::keyClick(m_frame.get(), Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(RomFixture::ReadFile(path).at(0x1000), char(CDemoRom::Build(1).at(0x1000) ^ 0xFF));

        // New keeps the image under the untitled name.
        QTest::keyClick(m_frame.get(), Qt::Key_N, Qt::ControlModifier);
        QCOMPARE(m_frame->windowTitle(), "Untitled[*] - Glyphox");
        QVERIFY(m_frame->Action(ID_FILE_SAVE)->isEnabled());
        QVERIFY(m_listMessages.isEmpty());
    }

    void refusedFilesAreReported()
    {
        const QString path = Rom("good.smc");
        Open(path);
        QVERIFY(RomFixture::WriteFile(m_dir.filePath("short.smc"), QByteArray(100, 0)));
        Open(m_dir.filePath("short.smc"));
        QCOMPARE(m_listMessages.value(0).first, QMessageBox::Critical);
        QCOMPARE(m_frame->windowTitle(), "good.smc[*] - Glyphox");
        QVERIFY(m_frame->Action(ID_FILE_SAVE)->isEnabled());

        QVERIFY(QFile::remove(path));
        m_frame->Action(ID_FILE_SAVE)->trigger();
        QCOMPARE(m_listMessages.size(), 2);
        QCOMPARE(m_listMessages[1].first, QMessageBox::Critical);
    }

    void missingRecentFileIsRemoved()
    {
        const QString first = Rom("a.smc");
        const QString second = Rom("b.smc", 2);
        Open(first);
        Open(second);
        QVERIFY(QFile::remove(first));
        const QList<QAction*> items = m_frame->FileMenu()->actions();
        QCOMPARE(Texts(items).mid(4, 2), (QStringList{"&1 " + QDir::toNativeSeparators(second),
                                                      "&2 " + QDir::toNativeSeparators(first)}));
        items[6]->trigger(); // after the hidden placeholder
        QCOMPARE(m_listMessages.size(), 1);
        QVERIFY(m_listMessages[0].second.contains("a.smc"));
        QCOMPARE(m_frame->windowTitle(), "b.smc[*] - Glyphox");
        QCOMPARE(m_frame->RecentFiles().Entries(), QStringList{second});
        QVERIFY(!QSettings("Brackenfold", "Glyphox").contains("Recent File List/File2"));
    }

    // A long path is shown cut in the middle, whole in its tooltip and the settings; a bar
    // docked at the left does not cut off the form.
    void longRecentFileAndSideBar()
    {
        const QString path = m_dir.filePath(QString(120, u'd') + ".smc");
        CDemoRom::Write(path, false, 1, true);
        Open(path);
        const QString full = QDir::toNativeSeparators(path);
        const QAction* item = m_frame->FileMenu()->actions().at(5); // after the placeholder
        QVERIFY(item->text().startsWith("&1 " + full.left(8)) && item->text().endsWith("dd.smc"));
        QVERIFY(item->text().contains(QChar(0x2026)) && item->text().size() < 80);
        QCOMPARE(item->toolTip(), full);
        QCOMPARE(QSettings("Brackenfold", "Glyphox").value("Recent File List/File1"), full);

        m_frame->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_frame.get()));
        m_frame->addToolBar(Qt::LeftToolBarArea, m_frame->EditToolBar());
        CGlyphoxView* view = m_frame->View();
        QTRY_VERIFY(m_frame->EditToolBar()->geometry().right() < view->x());
        QTRY_VERIFY(view->rect().contains(view->childrenRect()));
    }

    void aboutBox()
    {
        CAboutBox box;
        box.show();
        QStringList texts;
        for (QLabel* label : box.findChildren<QLabel*>())
            texts << label->text();
        QVERIFY(texts.contains("Glyphox Version 1.1"));
        // The links show their targets as tooltips.
        QCOMPARE(box.findChild<QLabel*>("m_linkMail")->toolTip(),
                 "mailto:\"The Glyphox team\" <glyphox@example.org>");
        const QLabel* web = box.findChild<QLabel*>("m_linkWeb");
        QCOMPARE(web->toolTip(), web->text());
        QTest::keyClick(&box, Qt::Key_Escape);
        QVERIFY(!box.isVisible());
    }
};

QTEST_MAIN(tst_MainFrame)
#include "tst_mainframe.moc"
