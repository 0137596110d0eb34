#include "app/AboutBox.h"
#include "app/CommandTable.h"
#include "app/LazyStandardIconStyle.h"
#include "app/MainFrame.h"
#include "rom/ActorTables.h"
#include "rom/DemoRom.h"
#include "rom/GlyphoxDoc.h"
#include "view/GlyphoxView.h"
#include "RomFixture.h"

#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QProcess>
#include <QSettings>
#include <QStatusBar>
#include <QStyleFactory>
#include <QStyleOption>
#include <QToolBar>
#include <QToolTip>
#include <QtTest>

#include <memory>

namespace {

constexpr int kOffset = 0x1000;
const char kEdited = char(CDemoRom::Build(1).at(kOffset) ^ 0xFF);

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

// The main window: its menus and bars, opening and saving, and the save question before
// anything drops the edits.
class tst_MainFrame : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    std::unique_ptr<CMainFrame> m_frame;
    QList<QPair<QMessageBox::Icon, QString>> m_listMessages;
    QStringList m_listAsked;
    QMessageBox::StandardButton m_answer = QMessageBox::Cancel;
    QString m_strPath, m_strOther, m_strOpen, m_strSaveAs;

    void Open(const QString& path)
    {
        m_strOpen = path;
        m_frame->Action(ID_FILE_OPEN)->trigger();
    }

    // Drags urls onto the window and drops them, as a file manager does.
    void Drop(const QList<QUrl>& urls)
    {
        QMimeData data;
        data.setUrls(urls);
        const QPoint at = m_frame->rect().center();
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(m_frame.get(), &enter);
        if (enter.isAccepted())
            QCoreApplication::sendEvent(m_frame.get(), &drop);
        QCoreApplication::processEvents();
    }

    void Edit() { RomFixture::Poke(*m_frame->Document(), kOffset, std::uint8_t(kEdited)); }

private slots:
    void initTestCase() { QVERIFY(RomFixture::UsePrivateHome(m_dir)); }

    void init()
    {
        QSettings("Brackenfold", "Glyphox").clear();
        m_listMessages.clear();
        m_listAsked.clear();
        m_strSaveAs.clear();
        m_strPath = m_dir.filePath("a.smc");
        m_strOther = m_dir.filePath("other.smc");
        CDemoRom::Write(m_strPath, false, 1, true);
        CDemoRom::Write(m_strOther, false, 2, true);
        m_frame = std::make_unique<CMainFrame>();
        m_frame->m_fnMessageBox = [this](QMessageBox::Icon icon, const QString& text) {
            m_listMessages.append({icon, text});
        };
        m_frame->m_fnFileDialog = [this](bool bSave) { return bSave ? m_strSaveAs : m_strOpen; };
        m_frame->m_fnAskSave = [this](const QString& text) {
            m_listAsked << text;
            return m_answer;
        };
        const auto ask = [this](const QString& text) {
            m_listAsked << text;
            return m_answer == QMessageBox::Yes;
        };
        m_frame->m_fnAskOverwrite = m_frame->m_fnAskReload = m_frame->m_fnAskOpenAnyway = ask;
        m_frame->show();
    }

    void cleanup() { m_frame.reset(); }

    // The application's style reads the toolbars' extension arrows when they are drawn,
    // and draws them, in either direction, as its base style does.
    void lazyExtensionArrows()
    {
        CLazyStandardIconStyle lazy(QStyleFactory::create("Fusion"));
        const std::unique_ptr<QStyle> plain(QStyleFactory::create("Fusion"));
        for (const QStyle::StandardPixmap arrow : {QStyle::SP_ToolBarHorizontalExtensionButton,
                                                   QStyle::SP_ToolBarVerticalExtensionButton}) {
            for (const Qt::LayoutDirection direction : {Qt::LeftToRight, Qt::RightToLeft}) {
                QStyleOption option;
                option.direction = direction;
                const QIcon made = lazy.standardIcon(arrow, &option);
                const QIcon wanted = plain->standardIcon(arrow, &option);
                QCOMPARE(made.availableSizes(), wanted.availableSizes());
                for (const QSize size : wanted.availableSizes())
                    QCOMPARE(made.pixmap(size).toImage(), wanted.pixmap(size).toImage());
            }
        }
    }

    // The flat menu bar is the only one, in a row of its own above the toolbars; a floating
    // one refuses to close, and one hidden anyway is offered back by the toolbars' menu.
    void menusAndBars()
    {
        QVERIFY(!m_frame->menuWidget());
        auto* menuBar = m_frame->findChild<QToolBar*>("m_wndMenuBar");
        QVERIFY(menuBar);
        QVERIFY(QTest::qWaitForWindowExposed(m_frame.get()));
        QCOMPARE(m_frame->toolBarArea(menuBar), Qt::TopToolBarArea);
        QVERIFY(menuBar->geometry().bottom() < m_frame->MainToolBar()->y());
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

        // The window icon comes from the compiled-in resource, at the installed sizes; the
        // two largest join it after the first paint.
        QTRY_COMPARE(m_frame->windowIcon().availableSizes().size(), 6);
        for (const int size : {16, 64, 256}) {
            const QImage file(
                QString(":/icons/hicolor/%1x%1/apps/org.glyphox.Glyphox.png").arg(size));
            QCOMPARE(m_frame->windowIcon().pixmap(QSize(size, size), 1.0).toImage(),
                     file.convertToFormat(QImage::Format_ARGB32_Premultiplied));
        }
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

        QCloseEvent close;
        QCoreApplication::sendEvent(menuBar, &close);
        QVERIFY(!close.isAccepted());
        std::unique_ptr<QMenu> visible(m_frame->createPopupMenu());
        QVERIFY(!visible->actions().contains(menuBar->toggleViewAction()) ||
                !menuBar->toggleViewAction()->isVisible());
        menuBar->hide();
        std::unique_ptr<QMenu> hidden(m_frame->createPopupMenu());
        QVERIFY(hidden->actions().contains(menuBar->toggleViewAction()));
        menuBar->toggleViewAction()->trigger();
        QVERIFY(menuBar->isVisible());
    }

    // Opened as the window shows, the tile list is laid out before its first paint.
    void openedAtStartPaintsTheListOnce()
    {
        auto* viewport = m_frame->findChild<QListWidget*>("listTiles")->viewport();
        struct SPaintCount : QObject
        {
            int paints = 0;
            bool eventFilter(QObject*, QEvent* event) override
            {
                paints += event->type() == QEvent::Paint;
                return false;
            }
        } count;
        viewport->installEventFilter(&count);
        QVERIFY(m_frame->OpenDocumentFile(m_strPath));
        QVERIFY(QTest::qWaitForWindowExposed(m_frame.get()));
        QTest::qWait(200); // past the list's delayed layout
        QCOMPARE(count.paints, 1);
    }

    void openSaveAndNew()
    {
        QVERIFY(QTest::qWaitForWindowActive(m_frame.get()));
        QCOMPARE(m_frame->windowTitle(), "Untitled[*] - Glyphox");
        QVERIFY(!m_frame->Action(ID_FILE_SAVE)->isEnabled());

        Open(m_strPath);
        QCOMPARE(m_frame->windowTitle(), "a.smc[*] - Glyphox");
        QVERIFY(m_frame->Action(ID_FILE_SAVE)->isEnabled());
        QCOMPARE(m_frame->RecentFiles().Entries(), QStringList{m_strPath});
        Edit();
        QTest::keyClick(m_frame.get(), Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(RomFixture::ReadFile(m_strPath).at(kOffset), kEdited);

        // New keeps the image under the untitled name.
        QTest::keyClick(m_frame.get(), Qt::Key_N, Qt::ControlModifier);
        QCOMPARE(m_frame->windowTitle(), "Untitled[*] - Glyphox");
        QVERIFY(m_frame->Action(ID_FILE_SAVE)->isEnabled());
        QVERIFY(m_listMessages.isEmpty());
    }

    void missingRecentFileIsRemoved()
    {
        Open(m_strPath);
        Open(m_strOther);
        QVERIFY(QFile::remove(m_strPath));
        const QList<QAction*> items = m_frame->FileMenu()->actions();
        QCOMPARE(Texts(items).mid(4, 2),
                 (QStringList{"&1 " + QDir::toNativeSeparators(m_strOther),
                              "&2 " + QDir::toNativeSeparators(m_strPath)}));
        items[6]->trigger(); // after the hidden placeholder
        QCOMPARE(m_listMessages.size(), 1);
        QVERIFY(m_listMessages[0].second.contains("a.smc"));
        QCOMPARE(m_frame->windowTitle(), "other.smc[*] - Glyphox");
        QCOMPARE(m_frame->RecentFiles().Entries(), QStringList{m_strOther});
        QVERIFY(!QSettings("Brackenfold", "Glyphox").contains("Recent File List/File2"));
    }

    // A long path is shown cut in the middle, whole in its tooltip and the settings; a bar
    // docked at the left does not cut off the form.
    void longRecentFileAndSideBar()
    {
        const QString path = m_dir.filePath(QString(120, u'd') + ".smc");
        QVERIFY(QFile::copy(m_strPath, path));
        Open(path);
        const QString full = QDir::toNativeSeparators(path);
        const QAction* item = m_frame->FileMenu()->actions().at(5); // after the placeholder
        QVERIFY(item->text().startsWith("&1 " + full.left(8)) && item->text().endsWith("dd.smc"));
        QVERIFY(item->text().contains(QChar(0x2026)) && item->text().size() < 80);
        QCOMPARE(item->toolTip(), full);
        QCOMPARE(QSettings("Brackenfold", "Glyphox").value("Recent File List/File1"), full);

        QVERIFY(QTest::qWaitForWindowExposed(m_frame.get()));
        m_frame->addToolBar(Qt::LeftToolBarArea, m_frame->EditToolBar());
        CGlyphoxView* view = m_frame->View();
        QTRY_VERIFY(m_frame->EditToolBar()->geometry().right() < view->x());
        QTRY_VERIFY(view->rect().contains(view->childrenRect()));
    }

    // Saving an untitled image asks for a name; cancelling that keeps the flag (a save that
    // fails keeps it too: askBeforeDropping's failed-save rows).
    void saveUntitledAsksForAName()
    {
        Open(m_strPath);
        m_frame->Action(ID_FILE_NEW)->trigger();
        Edit();
        m_frame->Action(ID_FILE_SAVE)->trigger();
        QVERIFY(m_frame->isWindowModified());
        m_strSaveAs = m_strOther;
        m_frame->Action(ID_FILE_SAVE)->trigger();
        QVERIFY(!m_frame->isWindowModified());
        QCOMPARE(m_frame->windowTitle(), "other.smc[*] - Glyphox");
        QCOMPARE(RomFixture::ReadFile(m_strOther).at(kOffset), kEdited);
        QVERIFY(m_listAsked.isEmpty() && m_listMessages.isEmpty());
    }

    // The flag follows the history: undoing back to the saved state clears it, and Undo
    // and Redo name the step they would take.
    void undoBackToTheSavedState()
    {
        Open(m_strPath);
        QAction* undo = m_frame->Action(ID_EDIT_UNDO);
        QAction* redo = m_frame->Action(ID_EDIT_REDO);
        QVERIFY(!undo->isEnabled() && !redo->isEnabled());
        m_frame->Action(ID_TILE_FILL)->trigger();
        QVERIFY(m_frame->isWindowModified());
        QCOMPARE(undo->text(), "Undo Fill tile\tCtrl+Z");
        QVERIFY(undo->isEnabled());
        QVERIFY(undo->shortcuts().contains(QKeySequence("Ctrl+Z")));
        QCOMPARE(redo->shortcuts(),
                 (QList<QKeySequence>{QKeySequence("Ctrl+Y"), QKeySequence("Ctrl+Shift+Z")}));
        undo->trigger();
        QVERIFY(!m_frame->isWindowModified());
        QCOMPARE(undo->text(), "Undo\tCtrl+Z");
        QCOMPARE(redo->text(), "Redo Fill tile\tCtrl+Y");
        redo->trigger();
        QVERIFY(m_frame->isWindowModified() && !redo->isEnabled());
        m_frame->Action(ID_FILE_SAVE)->trigger();
        undo->trigger();
        QVERIFY(m_frame->isWindowModified());
        m_answer = QMessageBox::No;
        Open(m_strOther); // a fresh history
        QVERIFY(!undo->isEnabled() && !redo->isEnabled());
    }

    // Another program changes the open file: Save asks before overwriting, and Cancel keeps
    // both the file and the edits; without edits the file is reloaded where the view stands,
    // with edits the user chooses once; a removed file is only reported.
    void changesOnDisk()
    {
        Open(m_strPath);
        CGlyphoxView* view = m_frame->View();
        auto* edit = view->findChild<QLineEdit*>("editTileSet");
        edit->setText("5");
        QTest::keyClick(edit, Qt::Key_Return);
        QByteArray disk = RomFixture::ReadFile(m_strPath);
        disk[CActorTables::TileSetOffset(5)] ^= 0x5A;
        QVERIFY(RomFixture::WriteFile(m_strPath, disk));
        m_frame->CheckFileOnDisk();
        QCOMPARE(m_frame->Document()->Image()[CActorTables::TileSetOffset(5)],
                 std::uint8_t(disk[CActorTables::TileSetOffset(5)]));
        QCOMPARE(view->ActorNumber(), 5);
        QVERIFY(m_frame->statusBar()->currentMessage().startsWith("Reloaded a.smc"));
        QVERIFY(m_listAsked.isEmpty());

        Edit();
        disk[0x2000] ^= 0x11;
        QVERIFY(RomFixture::WriteFile(m_strPath, disk));
        m_answer = QMessageBox::No;
        m_frame->CheckFileOnDisk();
        m_frame->CheckFileOnDisk(); // the same content is not asked about twice
        QCOMPARE(m_listAsked.size(), 1);
        QVERIFY(m_listAsked[0].startsWith("a.smc was changed by another program. Reload"));
        m_frame->Action(ID_FILE_SAVE)->trigger();
        QCOMPARE(m_listAsked.value(1), "a.smc was changed by another program since it was "
                                       "opened. Overwrite those changes?");
        QCOMPARE(RomFixture::ReadFile(m_strPath), disk);
        QVERIFY(m_frame->isWindowModified());
        m_answer = QMessageBox::Yes;
        m_frame->Action(ID_FILE_SAVE)->trigger();
        QVERIFY(!m_frame->isWindowModified());
        QCOMPARE(RomFixture::ReadFile(m_strPath).at(kOffset), kEdited);

        QVERIFY(QFile::remove(m_strPath));
        m_frame->CheckFileOnDisk();
        QVERIFY(m_frame->statusBar()->currentMessage().contains("removed"));
        QVERIFY(m_frame->View()->IsRomLoaded());
    }

    // The watch follows the file through a rename-replace (as assemblers write) and keeps
    // following the new file: both changes are reloaded without being asked for.
    void watchSurvivesARenameReplace()
    {
        Open(m_strPath);
        const quint32 at = CActorTables::TileSetOffset(0);
        QByteArray disk = RomFixture::ReadFile(m_strPath);
        for (const char mark : {'\x11', '\x22'}) {
            disk[at] = mark;
            QVERIFY(RomFixture::WriteFile(m_strPath + ".new", disk));
            QVERIFY(QFile::remove(m_strPath) && QFile::rename(m_strPath + ".new", m_strPath));
            QTRY_COMPARE_WITH_TIMEOUT(char(m_frame->Document()->Image()[at]), mark, 10000);
        }
        QVERIFY(m_listAsked.isEmpty() && !m_frame->isWindowModified());
    }

    // A file another editor holds: opening asks, naming it; the CLI refuses to write it
    // unless forced.
    void fileHeldByAnotherEditor()
    {
        QProcess holder;
        holder.start(HOLD_LOCK, {m_strOther});
        QVERIFY(holder.waitForReadyRead(30000));
        m_answer = QMessageBox::No;
        Open(m_strOther);
        QCOMPARE(m_listAsked.size(), 1);
        QVERIFY2(m_listAsked[0].contains(QString("(process %1 on").arg(holder.processId())),
                 qPrintable(m_listAsked[0]));
        QVERIFY(m_frame->Document()->PathName().isEmpty());
        QVERIFY(RomFixture::WriteFile(m_dir.filePath("pal.bin"), QByteArray(32, 1)));
        const QStringList import{
            "import-palette",         m_strOther, "--bank", "battle", "--palette", "0",
            m_dir.filePath("pal.bin")};
        QCOMPARE(QProcess::execute(GLYPHOX_CLI, import), 1);
        QCOMPARE(QProcess::execute(GLYPHOX_CLI, import + QStringList{"--force"}), 0);
        holder.closeWriteChannel();
        QVERIFY(holder.waitForFinished(30000));
        m_answer = QMessageBox::Yes;
        Open(m_strOther);
        QCOMPARE(m_listAsked.size(), 1);
        QCOMPARE(m_frame->Document()->PathName(), m_strOther);
    }

    void askBeforeDropping_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QMessageBox::StandardButton>("answer"); // NoButton: nothing edited
        QTest::addColumn<bool>("failSave");
        QTest::addColumn<bool>("goesOn");
        const auto yes = QMessageBox::Yes, no = QMessageBox::No, cancel = QMessageBox::Cancel;
        for (const char* command : {"close", "new", "open", "drop"}) {
            QTest::addRow("%s yes", command) << command << yes << false << true;
            QTest::addRow("%s no", command) << command << no << false << true;
            QTest::addRow("%s cancel", command) << command << cancel << false << false;
            QTest::addRow("%s unmodified", command)
                << command << QMessageBox::NoButton << false << true;
        }
        for (const char* command : {"close", "open", "drop"})
            QTest::addRow("%s failed save", command) << command << yes << true << false;
        QTest::newRow("exit cancel") << "exit" << cancel << false << false;
        QTest::newRow("exit no") << "exit" << no << false << true;
        QTest::newRow("recent cancel") << "recent" << cancel << false << false;
        QTest::newRow("recent yes") << "recent" << yes << false << true;
    }

    void askBeforeDropping()
    {
        QFETCH(QString, command);
        QFETCH(QMessageBox::StandardButton, answer);
        QFETCH(bool, failSave);
        QFETCH(bool, goesOn);
        Open(m_strOther);
        Open(m_strPath);
        const bool bEdited = answer != QMessageBox::NoButton;
        if (bEdited)
            Edit();
        if (failSave)
            QVERIFY(RomFixture::WriteFile(m_strPath, QByteArray(100, 0)));
        m_answer = answer;

        if (command == "close")
            m_frame->close();
        else if (command == "exit")
            m_frame->Action(ID_APP_EXIT)->trigger();
        else if (command == "new")
            m_frame->Action(ID_FILE_NEW)->trigger();
        else if (command == "open")
            Open(m_strOther);
        else if (command == "drop")
            Drop({QUrl::fromLocalFile(m_strOther)});
        else
            m_frame->OnOpenRecentFile(1);

        QCOMPARE(m_listAsked, bEdited ? QStringList{"Save changes to a.smc?"} : QStringList{});
        const bool bWentOn =
            !m_frame->isVisible() || m_frame->windowTitle() != "a.smc[*] - Glyphox";
        QCOMPARE(bWentOn, goesOn);
        if (m_frame->isVisible())
            QCOMPARE(m_frame->isWindowModified(), !goesOn);
        QCOMPARE(RomFixture::ReadFile(m_strPath).mid(kOffset, 1) == QByteArray(1, kEdited),
                 goesOn && answer == QMessageBox::Yes);
        QCOMPARE(m_listMessages.size(), failSave ? 1 : 0);
        if (failSave)
            QCOMPARE(m_listMessages[0].first, QMessageBox::Critical);
        QCOMPARE(m_frame->RecentFiles().Entries().size(), 2);
    }

    // What cannot be opened is refused with a message, and the open image stays as it was.
    void dropRefusals_data()
    {
        QTest::addColumn<QStringList>("urls");
        QTest::addColumn<QString>("message");
        QTest::newRow("not a ROM") << QStringList{"@short.bin"} << "";
        QTest::newRow("two files") << QStringList{"@other.smc", "@other.smc"} << "one ROM image";
        QTest::newRow("remote") << QStringList{"https://example.org/a.smc"} << "this computer";
    }

    void dropRefusals()
    {
        QFETCH(QStringList, urls);
        QFETCH(QString, message);
        QVERIFY(RomFixture::WriteFile(m_dir.filePath("short.bin"), QByteArray(100, 1)));
        Open(m_strPath);
        Edit();
        m_answer = QMessageBox::No;
        QList<QUrl> dropped;
        for (const QString& url : urls)
            dropped << (url.startsWith('@') ? QUrl::fromLocalFile(m_dir.filePath(url.mid(1)))
                                            : QUrl(url));
        Drop(dropped);
        QCOMPARE(m_listMessages.size(), 1);
        const QString shown = m_listMessages[0].second;
        QVERIFY2(shown.contains(message), qPrintable(shown));
        // A file that cannot be opened is an error; a drop that names no one file, a warning.
        QCOMPARE(m_listMessages[0].first,
                 message.isEmpty() ? QMessageBox::Critical : QMessageBox::Warning);
        QCOMPARE(m_frame->Document()->PathName(), m_strPath);
        QVERIFY(m_frame->Action(ID_FILE_SAVE)->isEnabled());
        // A file is refused after the save question, as File Open does; the edits stay.
        QCOMPARE(m_listAsked.size(), message.isEmpty() ? 1 : 0);
        QVERIFY(m_frame->isWindowModified());
    }
};

QTEST_MAIN(tst_MainFrame)
#include "tst_mainframe.moc"
