#include "MainFrame.h"

#include "AboutBox.h"
#include "CommandTable.h"
#include "ToolbarIcons.h"
#include "rom/GlyphoxDoc.h"
#include "ui/XPMenu.h"
#include "ui/XPMenuBar.h"
#include "ui/XPMenuStyle.h"
#include "ui/XPToolBar.h"
#include "view/GlyphoxView.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QDir>
#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLayout>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QSettings>
#include <QStatusBar>
#include <QToolBar>
#include <QToolTip>

namespace {

const QString kAppTitle = QStringLiteral("Glyphox");
const QString kRomFilter = QStringLiteral("SNES ROM images (*.smc *.sfc *.swc *.fig);;"
                                          "All Files (*)");

constexpr int kRecentFileChars = 60; // the widest recent file name, in average characters
constexpr int kFirstIconSize = 64;   // the largest window icon size before the first paint

QSettings ProfileSettings()
{
    return QSettings(QStringLiteral("Brackenfold"), QStringLiteral("Glyphox"));
}

// A long path is cut in the middle, so that one file cannot widen the menu past the screen.
QString RecentFileText(int nIndex, const QString& pathName, const QFontMetrics& metrics)
{
    QString text = metrics.elidedText(QDir::toNativeSeparators(pathName), Qt::ElideMiddle,
                                      kRecentFileChars * metrics.averageCharWidth());
    text.replace(u'&', QStringLiteral("&&"));
    return QStringLiteral("&%1 %2").arg(nIndex + 1).arg(text);
}

} // namespace

CMainFrame::CMainFrame(QWidget* parent)
    : QMainWindow(parent), m_pDocument(std::make_unique<CGlyphoxDoc>())
{
    // X11 is sent every size of the window icon when the window is made; the large ones,
    // which only task switchers show, are decoded after the first paint.
    setWindowIcon(ToolbarIcons::ApplicationIcon(kFirstIconSize));
    setAcceptDrops(true);
    m_fnMessageBox = [this](QMessageBox::Icon icon, const QString& text) {
        QMessageBox box(icon, kAppTitle, text, QMessageBox::Ok, this);
        box.exec();
    };
    m_fnFileDialog = [this](bool bSave) {
        // Saving over an existing file asks first, in the platform's own words.
        if (bSave)
            return QFileDialog::getSaveFileName(this, {}, {}, kRomFilter);
        return QFileDialog::getOpenFileName(this, {}, {}, kRomFilter);
    };
    const auto ask = [this](const QString& yes, const QString& no) {
        return [this, yes, no](const QString& text) {
            QMessageBox box(QMessageBox::Warning, kAppTitle, text, QMessageBox::NoButton, this);
            QAbstractButton* accept = box.addButton(yes, QMessageBox::AcceptRole);
            box.setDefaultButton(box.addButton(no, QMessageBox::RejectRole));
            box.exec();
            return box.clickedButton() == accept;
        };
    };
    m_fnAskOverwrite = ask(QStringLiteral("Overwrite"), QStringLiteral("Cancel"));
    m_fnAskReload = ask(QStringLiteral("Reload"), QStringLiteral("Keep my edits"));
    m_fnAskOpenAnyway = ask(QStringLiteral("Open anyway"), QStringLiteral("Cancel"));
    m_diskCheckTimer.setSingleShot(true);
    m_diskCheckTimer.setInterval(250);
    connect(&m_watcher, &QFileSystemWatcher::fileChanged, this,
            [this] { m_diskCheckTimer.start(); });
    connect(&m_diskCheckTimer, &QTimer::timeout, this, &CMainFrame::CheckFileOnDisk);
    m_fnAboutBox = [this] {
        CAboutBox box(this);
        box.exec();
    };
    m_fnAskSave = [this](const QString& text) {
        return QMessageBox::question(this, kAppTitle, text,
                                     QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
                                     QMessageBox::Yes);
    };

    QSettings settings = ProfileSettings();
    m_recentFiles.Read(settings);

    CreateActions();
    CreateMenus();
    CreateMenuBar();
    CreateToolBars();
    CreateDialogBar();

    m_pView = new CGlyphoxView(m_pDocument.get(), this);
    // The form is laid out by hand: its designed size is what the window must show.
    m_sizeForm = m_pView->sizeHint().expandedTo(m_pView->size());
    setCentralWidget(m_pView);
    ConnectCommands();

    UpdateTitle();
    UpdateRecentFileMenu();
    m_pView->OnInitialUpdate();
    m_pView->setMinimumSize(m_sizeForm);
    adjustSize();
    // The user may make the window smaller than the form; docking a bar may not.
    m_pView->setMinimumSize(0, 0);
    m_fitFormTimer.setSingleShot(true);
    connect(&m_fitFormTimer, &QTimer::timeout, this, &CMainFrame::FitFormToBars);
    for (QToolBar* bar : {static_cast<QToolBar*>(m_wndMenuBar), MainToolBar(), EditToolBar()}) {
        connect(bar, &QToolBar::orientationChanged, this, [this] { m_fitFormTimer.start(0); });
        connect(bar, &QToolBar::topLevelChanged, this, [this] { m_fitFormTimer.start(0); });
    }
}

CMainFrame::~CMainFrame()
{
    // The view writes its settings and may still look at the document.
    delete m_pView;
}

bool CMainFrame::OpenDocumentFile(const QString& pathName)
{
    const CEditorLock::Holder holder = CEditorLock::HolderOf(pathName);
    if (holder.held && holder.pid != QCoreApplication::applicationPid() &&
        !m_fnAskOpenAnyway(QStringLiteral("%1 is open in %2. Edits saved from both may "
                                          "conflict; Glyphox asks before overwriting changes "
                                          "made by the other. Open it anyway?")
                               .arg(QFileInfo(pathName).fileName(), CEditorLock::Describe(holder))))
        return false;
    const CFileResult result = m_pDocument->OnOpenDocument(pathName);
    if (!result.ok) {
        ShowMessage(QMessageBox::Critical, result.message);
        return false;
    }
    FollowFile();
    AddRecentFile(m_pDocument->PathName());
    UpdateTitle();
    m_pView->OnInitialUpdate();
    if (!result.message.isEmpty())
        ShowMessage(QMessageBox::Information, result.message);
    return true;
}

bool CMainFrame::SaveModified()
{
    if (!isWindowModified())
        return true;
    switch (m_fnAskSave(QStringLiteral("Save changes to %1?").arg(TitleName()))) {
    case QMessageBox::Yes:
        return DoFileSave();
    case QMessageBox::No:
        return true;
    default:
        return false;
    }
}

void CMainFrame::OnFileNew()
{
    if (!SaveModified())
        return;
    // The image stays in the document; the name and the history go.
    m_pDocument->MakeUntitled();
    FollowFile();
    UpdateTitle();
    m_pView->OnInitialUpdate();
}

void CMainFrame::OnFileOpen()
{
    const QString pathName = m_fnFileDialog(false);
    if (!pathName.isEmpty())
        SaveAndOpen(pathName);
}

bool CMainFrame::SaveAndOpen(const QString& pathName)
{
    return SaveModified() && OpenDocumentFile(pathName);
}

void CMainFrame::OnFileSave()
{
    DoFileSave();
}

void CMainFrame::OnFileSaveAs()
{
    DoFileSave(true);
}

// Saves under the document's name, or under one asked for (Save As, or while untitled);
// true once saved. A new name gets a new file; the document then continues on it.
bool CMainFrame::DoFileSave(bool bSaveAs)
{
    if (!m_pView->IsRomLoaded())
        return false;
    const QString current = m_pDocument->PathName();
    const bool asked = bSaveAs || current.isEmpty();
    const QString pathName = asked ? m_fnFileDialog(true) : current;
    if (pathName.isEmpty())
        return false;
    // Only a name the user chose makes a new file; a plain Save never does.
    CFileResult result = asked && !QFileInfo::exists(pathName)
                             ? m_pDocument->SaveAsNewFile(pathName)
                             : m_pDocument->OnSaveDocument(pathName);
    if (!result.ok && result.changedOnDisk &&
        m_fnAskOverwrite(QStringLiteral("%1 was changed by another program since it was "
                                        "opened. Overwrite those changes?")
                             .arg(QFileInfo(pathName).fileName())))
        result = m_pDocument->OnSaveDocument(pathName, CGlyphoxDoc::Overwrite::Always);
    if (!result.ok) {
        if (!result.changedOnDisk)
            ShowMessage(QMessageBox::Critical, result.message);
        return false;
    }
    if (m_pDocument->PathName() != current) {
        FollowFile();
        AddRecentFile(m_pDocument->PathName());
        UpdateTitle();
    }
    if (!result.message.isEmpty())
        ShowMessage(QMessageBox::Information, result.message);
    return true;
}

// Watches the open file and marks it as open here for other editors.
void CMainFrame::FollowFile()
{
    if (!m_watcher.files().isEmpty())
        m_watcher.removePaths(m_watcher.files());
    const QString& pathName = m_pDocument->PathName();
    m_bMissingNoticed = false;
    m_nDeclinedReload = 0;
    if (pathName.isEmpty()) {
        m_bLockPending = false;
        m_editorLock.Release();
        return;
    }
    m_watcher.addPath(pathName);
    // Taking the mark syncs it to disk, which costs milliseconds; a file opened while
    // the window starts gets its mark right after the first paint, or after a quarter
    // of a second if the window is not painted by then (it may start hidden or iconic).
    if (isVisible() && !m_bPainted) {
        m_bLockPending = true;
        QTimer::singleShot(250, this, &CMainFrame::TakePendingEditorLock);
    } else {
        TakeEditorLock();
    }
}

void CMainFrame::TakeEditorLock()
{
    m_bLockPending = false;
    const QString& pathName = m_pDocument->PathName();
    if (pathName.isEmpty())
        m_editorLock.Release();
    else
        m_editorLock.Take(pathName);
}

void CMainFrame::paintEvent(QPaintEvent* event)
{
    QMainWindow::paintEvent(event);
    if (m_bPainted)
        return;
    m_bPainted = true;
    // A zero timer, so the whole window is painted and shown first.
    QTimer::singleShot(0, this, [this] {
        TakePendingEditorLock();
        setWindowIcon(ToolbarIcons::ApplicationIcon(256, windowIcon()));
    });
}

void CMainFrame::TakePendingEditorLock()
{
    if (m_bLockPending)
        TakeEditorLock();
}

// Another program changed, replaced or removed the open file. Unchanged content (our own
// save, a touch) needs nothing; with no unsaved edits the file is reloaded where the view
// stands; with edits the user chooses, and is not asked again for the same content.
void CMainFrame::CheckFileOnDisk()
{
    const QString pathName = m_pDocument->PathName();
    if (pathName.isEmpty() || !m_pView->IsRomLoaded())
        return;
    // A file replaced by a rename drops out of the watch: watch the new one.
    if (QFileInfo::exists(pathName) && !m_watcher.files().contains(pathName))
        m_watcher.addPath(pathName);
    const QString name = QFileInfo(pathName).fileName();
    const CDiskState now = m_pDocument->ReadDiskState();
    if (!now.known) {
        if (!m_bMissingNoticed)
            ShowNotice(QStringLiteral("%1 was removed by another program; the image stays open "
                                      "here, and Save As writes it to a file.")
                           .arg(name));
        m_bMissingNoticed = true;
        return;
    }
    m_bMissingNoticed = false;
    if (now.SameContent(m_pDocument->DiskState()) || now.hash == m_nDeclinedReload)
        return;
    if (m_pDocument->IsModified() &&
        !m_fnAskReload(QStringLiteral("%1 was changed by another program. Reload it and drop "
                                      "your unsaved edits, or keep your edits (saving them "
                                      "will ask before overwriting the other changes)?")
                           .arg(name))) {
        m_nDeclinedReload = now.hash;
        return;
    }
    const CFileResult result = m_pDocument->OnOpenDocument(pathName);
    if (!result.ok) {
        ShowMessage(QMessageBox::Critical, result.message);
        return;
    }
    m_nDeclinedReload = 0;
    ShowNotice(QStringLiteral("Reloaded %1: it was changed by another program.").arg(name));
}

void CMainFrame::ShowNotice(const QString& text)
{
    statusBar()->showMessage(text, 15000);
}

void CMainFrame::OnOpenRecentFile(int nIndex)
{
    const QString pathName = m_recentFiles.Entries().value(nIndex);
    if (pathName.isEmpty() || !SaveModified() || OpenDocumentFile(pathName))
        return;
    m_recentFiles.Remove(pathName);
    QSettings settings = ProfileSettings();
    m_recentFiles.Write(settings);
    UpdateRecentFileMenu();
}

void CMainFrame::OnAppAbout()
{
    m_fnAboutBox();
}

bool CMainFrame::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::ToolTip && m_listSilentButtons.contains(watched))
        return true;
    if (event->type() == QEvent::ToolTip && watched == m_pMenuFile) {
        // Only the recent files have tooltips in the menu: their whole paths.
        const auto* help = static_cast<QHelpEvent*>(event);
        QAction* action = m_pMenuFile->actionAt(help->pos());
        if (m_listRecentActions.contains(action))
            QToolTip::showText(help->globalPos(), action->toolTip(), m_pMenuFile);
        else
            QToolTip::hideText();
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void CMainFrame::closeEvent(QCloseEvent* event)
{
    if (SaveModified())
        event->accept();
    else
        event->ignore();
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event)
{
    // Any list of links is taken, so that a drop that cannot be opened is told why.
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent* event)
{
    if (!event->mimeData()->hasUrls())
        return;
    event->acceptProposedAction();
    // The questions and messages wait until the drag source has been told the drop is done,
    // so that it is not left hanging while a dialog is open.
    QMetaObject::invokeMethod(
        this, [this, urls = event->mimeData()->urls()] { OpenDropped(urls); },
        Qt::QueuedConnection);
}

void CMainFrame::OpenDropped(const QList<QUrl>& urls)
{
    if (urls.size() != 1) {
        ShowMessage(QMessageBox::Warning,
                    QStringLiteral("Drop one ROM image at a time; %1 files were dropped.")
                        .arg(urls.size()));
        return;
    }
    const QUrl& url = urls.front();
    if (!url.isLocalFile()) {
        ShowMessage(QMessageBox::Warning,
                    QStringLiteral("Only files on this computer can be opened, not %1.")
                        .arg(url.toDisplayString()));
        return;
    }
    SaveAndOpen(url.toLocalFile());
}

void CMainFrame::CreateActions()
{
    for (const CCommandInfo& info : CommandTable::Commands()) {
        auto* action = new QAction(this);
        action->setData(info.nId);
        action->setText(info.pszMenuText ? QString::fromUtf8(info.pszMenuText)
                                         : CommandTable::ToolTip(info));
        action->setStatusTip(CommandTable::StatusPrompt(info));
        action->setToolTip(CommandTable::ToolTip(info));
        action->setIcon(ToolbarIcons::Picture(info.nId));
        action->setIconVisibleInMenu(false);
        QList<QKeySequence> keys;
        for (const char* pszKeys : info.pszKeys) {
            if (pszKeys)
                keys.append(QKeySequence(QString::fromLatin1(pszKeys), QKeySequence::PortableText));
        }
        action->setShortcuts(keys);
        action->setEnabled(!CommandTable::IsEditCommand(info.nId) &&
                           !CommandTable::IsHistoryCommand(info.nId));
        m_mapActions.insert(info.nId, action);
        // Accelerators without a menu item or button live on the window itself.
        if (!info.pszMenuText && !keys.isEmpty())
            addAction(action);
    }
    // The accelerators of the standard editing commands reach no handler.
    for (int nId : {ID_EDIT_CUT, ID_EDIT_COPY, ID_EDIT_PASTE, ID_NEXT_PANE, ID_PREV_PANE})
        m_mapActions.value(nId)->setEnabled(false);
    m_mapActions.value(ID_FILE_MRU_FILE1)->setEnabled(false);
}

void CMainFrame::CreateMenus()
{
    for (const CMenuInfo& menuInfo : CommandTable::Menus()) {
        auto* menu = new QMenu(QString::fromUtf8(menuInfo.pszTitle), this);
        m_listMenus.append(menu);
        for (int nId : menuInfo.items) {
            QAction* action = nId == ID_SEPARATOR ? menu->addSeparator() : m_mapActions.value(nId);
            menu->addAction(action);
        }
        if (menuInfo.items.front() == ID_FILE_OPEN)
            m_pMenuFile = menu;
    }
    // The frame deletes its children in the order they were made: the menus before their style.
    m_pMenuStyle = new CXPMenuStyle(this);
    for (QMenu* menu : m_listMenus)
        menu->setStyle(m_pMenuStyle);
    m_pMenuFile->installEventFilter(this);
    const QList<QAction*> fileActions = m_pMenuFile->actions();
    m_pRecentEnd = fileActions.value(fileActions.indexOf(Action(ID_FILE_MRU_FILE1)) + 1);
}

CXPToolBar* CMainFrame::CreateToolBar(const QString& title, const QString& name,
                                      std::span<const int> ids)
{
    auto* toolBar = new CXPToolBar(title, this);
    addToolBar(toolBar);
    toolBar->setObjectName(name);
    toolBar->setIconSize(QSize(ToolbarIcons::kWidth, ToolbarIcons::kHeight));
    for (int nId : ids) {
        if (nId == ID_SEPARATOR) {
            toolBar->addSeparator();
            continue;
        }
        QAction* action = Action(nId);
        toolBar->addAction(action);
        if (CommandTable::ToolTip(*CommandTable::Find(nId)).isEmpty()) {
            QWidget* button = toolBar->widgetForAction(action);
            button->installEventFilter(this);
            m_listSilentButtons.append(button);
        }
    }
    return toolBar;
}

void CMainFrame::CreateToolBars()
{
    m_wndToolBar = CreateToolBar(QStringLiteral("Standard"), QStringLiteral("m_wndToolBar"),
                                 CommandTable::MainToolbar());
    m_wndEditBar = CreateToolBar(QStringLiteral("Editing"), QStringLiteral("m_wndEditBar"),
                                 CommandTable::EditToolbar());
}

void CMainFrame::CreateDialogBar()
{
    // Not a toolbar, so that no toolbar menu offers it; it stays hidden.
    m_wndDlgBar = new QWidget(this);
    m_wndDlgBar->setObjectName(QStringLiteral("m_wndDlgBar"));
    auto* layout = new QHBoxLayout(m_wndDlgBar);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* button = new QPushButton(QStringLiteral("Roaaaar!"), m_wndDlgBar);
    button->setEnabled(false);
    layout->addWidget(button);
    m_wndDlgBar->hide();
}

void CMainFrame::ConnectCommands()
{
    connect(Action(ID_FILE_NEW), &QAction::triggered, this, &CMainFrame::OnFileNew);
    connect(Action(ID_FILE_OPEN), &QAction::triggered, this, &CMainFrame::OnFileOpen);
    connect(Action(ID_FILE_SAVE), &QAction::triggered, this, &CMainFrame::OnFileSave);
    connect(Action(ID_FILE_SAVE_AS), &QAction::triggered, this, &CMainFrame::OnFileSaveAs);
    connect(Action(ID_APP_EXIT), &QAction::triggered, this, &QWidget::close);
    connect(Action(ID_APP_ABOUT), &QAction::triggered, this, &CMainFrame::OnAppAbout);
    connect(m_pMenuFile, &QMenu::triggered, this, &CMainFrame::OnFileMenuTriggered);
    for (QMenu* menu : m_listMenus)
        connect(menu, &QMenu::aboutToShow, this, [this, menu] { OnInitMenuPopup(menu); });
    connect(m_pView, &CGlyphoxView::RomLoadedChanged, this, &CMainFrame::OnUpdateEditCommand);
    connect(m_pDocument.get(), &CGlyphoxDoc::StateChanged, this, &CMainFrame::OnDocumentState);
    connect(Action(ID_EDIT_UNDO), &QAction::triggered, m_pView, &CGlyphoxView::OnEditUndo);
    connect(Action(ID_EDIT_REDO), &QAction::triggered, m_pView, &CGlyphoxView::OnEditRedo);
    m_pView->ConnectCommands([this](int nId) { return Action(nId); });
}

void CMainFrame::OnFileMenuTriggered(QAction* action)
{
    const qsizetype nIndex = m_listRecentActions.indexOf(action);
    if (nIndex >= 0)
        OnOpenRecentFile(int(nIndex));
}

// The actions' enabled and checked states are set as the state they follow changes, so the
// popup shows them as they stand once its items are converted and measured.
void CMainFrame::OnInitMenuPopup(QMenu* popup)
{
    XPMenu::PrepareMenu(popup, this);
}

QMenu* CMainFrame::createPopupMenu()
{
    // The menu bar is offered only when something hid it, to bring it back.
    m_wndMenuBar->toggleViewAction()->setVisible(m_wndMenuBar->isHidden());
    QMenu* popup = QMainWindow::createPopupMenu();
    if (popup) {
        popup->setStyle(m_pMenuStyle);
        OnInitMenuPopup(popup);
    }
    return popup;
}

void CMainFrame::OnUpdateEditCommand(bool bLoaded)
{
    for (auto it = m_mapActions.cbegin(); it != m_mapActions.cend(); ++it) {
        if (CommandTable::IsEditCommand(it.key()))
            it.value()->setEnabled(bLoaded);
    }
    OnDocumentState();
}

// The title's mark follows the history; Undo and Redo name the step they would take.
void CMainFrame::OnDocumentState()
{
    setWindowModified(m_pDocument->IsModified());
    const bool loaded = m_pView && m_pView->IsRomLoaded();
    const struct
    {
        int nId;
        const CEditHistory::Step* step;
        const char* verb;
        const char* key;
    } history[] = {{ID_EDIT_UNDO, m_pDocument->UndoStep(), "Undo", "Ctrl+Z"},
                   {ID_EDIT_REDO, m_pDocument->RedoStep(), "Redo", "Ctrl+Y"}};
    for (const auto& command : history) {
        QAction* action = Action(command.nId);
        const QString text = command.step && loaded
                                 ? QStringLiteral("%1 %2").arg(command.verb, command.step->label)
                                 : QString::fromLatin1(command.verb);
        action->setText(text + QLatin1Char('\t') + QLatin1String(command.key));
        action->setToolTip(text);
        action->setEnabled(command.step && loaded);
    }
}

QString CMainFrame::TitleName() const
{
    const QString& pathName = m_pDocument->PathName();
    return pathName.isEmpty() ? QStringLiteral("Untitled") : QFileInfo(pathName).fileName();
}

void CMainFrame::UpdateTitle()
{
    setWindowTitle(TitleName() + QStringLiteral("[*] - ") + kAppTitle);
}

// A bar docked at a side takes its width from the form: the window grows by what the form
// lacks once the bars have settled.
void CMainFrame::FitFormToBars()
{
    // While a bar is dragged its orientation only previews a dock.
    if (QApplication::mouseButtons() != Qt::NoButton) {
        m_fitFormTimer.start(100);
        return;
    }
    if (isMaximized() || isFullScreen())
        return;
    if (layout())
        layout()->activate();
    const QSize lack = (m_sizeForm - m_pView->size()).expandedTo(QSize(0, 0));
    if (lack.width() > 0 || lack.height() > 0)
        resize(size() + lack);
}

void CMainFrame::UpdateRecentFileMenu()
{
    qDeleteAll(m_listRecentActions);
    m_listRecentActions.clear();
    const QStringList& entries = m_recentFiles.Entries();
    for (int i = 0; i < entries.size(); ++i) {
        auto* action =
            new QAction(RecentFileText(i, entries[i], m_pMenuFile->fontMetrics()), m_pMenuFile);
        action->setToolTip(QDir::toNativeSeparators(entries[i]));
        action->setData(ID_FILE_MRU_FILE1 + i);
        action->setStatusTip(CommandTable::StatusPrompt(*CommandTable::Find(ID_FILE_MRU_FILE1)));
        m_pMenuFile->insertAction(m_pRecentEnd, action);
        m_listRecentActions.append(action);
    }
    Action(ID_FILE_MRU_FILE1)->setVisible(entries.isEmpty());
}

void CMainFrame::AddRecentFile(const QString& pathName)
{
    m_recentFiles.Add(pathName);
    QSettings settings = ProfileSettings();
    m_recentFiles.Write(settings);
    UpdateRecentFileMenu();
}

void CMainFrame::ShowMessage(QMessageBox::Icon icon, const QString& text)
{
    m_fnMessageBox(icon, text);
}
