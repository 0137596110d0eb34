#include "MainFrame.h"

#include "AboutBox.h"
#include "CommandTable.h"
#include "ToolbarIcons.h"
#include "rom/GlyphoxDoc.h"
#include "ui/XPMenu.h"
#include "ui/XPMenuStyle.h"
#include "ui/XPToolBar.h"
#include "view/GlyphoxView.h"

#include <QCloseEvent>
#include <QDir>
#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QMenu>
#include <QPushButton>
#include <QSettings>
#include <QToolBar>

namespace {

const QString kAppTitle = QStringLiteral("Glyphox");
const QString kRomFilter = QStringLiteral("SNES ROM images (*.smc *.sfc *.swc *.fig);;"
                                          "All Files (*)");

QSettings ProfileSettings()
{
    return QSettings(QStringLiteral("Brackenfold"), QStringLiteral("Glyphox"));
}

QString RecentFileText(int nIndex, const QString& pathName)
{
    QString text = QDir::toNativeSeparators(pathName);
    text.replace(u'&', QStringLiteral("&&"));
    return QStringLiteral("&%1 %2").arg(nIndex + 1).arg(text);
}

} // namespace

CMainFrame::CMainFrame(QWidget* parent)
    : QMainWindow(parent), m_pDocument(std::make_unique<CGlyphoxDoc>())
{
    setWindowIcon(ToolbarIcons::ApplicationIcon());
    m_fnMessageBox = [this](QMessageBox::Icon icon, const QString& text) {
        QMessageBox box(icon, kAppTitle, text, QMessageBox::Ok, this);
        box.exec();
    };
    m_fnFileDialog = [this](bool bSave) {
        if (bSave)
            return QFileDialog::getSaveFileName(this, {}, {}, kRomFilter, nullptr,
                                                QFileDialog::DontConfirmOverwrite);
        return QFileDialog::getOpenFileName(this, {}, {}, kRomFilter);
    };
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
    const QSize formSize = m_pView->sizeHint().expandedTo(m_pView->size());
    setCentralWidget(m_pView);
    ConnectCommands();

    UpdateTitle();
    UpdateRecentFileMenu();
    m_pView->OnInitialUpdate();
    m_pView->setMinimumSize(formSize);
    adjustSize();
    m_pView->setMinimumSize(0, 0);
}

CMainFrame::~CMainFrame()
{
    // The view writes its settings and may still look at the document.
    delete m_pView;
}

bool CMainFrame::OpenDocumentFile(const QString& pathName)
{
    const CFileResult result = m_pDocument->OnOpenDocument(pathName);
    if (!result.ok) {
        ShowMessage(QMessageBox::Critical, result.message);
        return false;
    }
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
    UpdateTitle();
    m_pView->OnInitialUpdate();
}

void CMainFrame::OnFileOpen()
{
    const QString pathName = m_fnFileDialog(false);
    if (!pathName.isEmpty() && SaveModified())
        OpenDocumentFile(pathName);
}

void CMainFrame::OnFileSave()
{
    DoFileSave();
}

// Saves under the document's name, asking for one while untitled; true once saved.
bool CMainFrame::DoFileSave()
{
    if (!m_pView->IsRomLoaded())
        return false;
    const bool untitled = m_pDocument->PathName().isEmpty();
    const QString pathName = untitled ? m_fnFileDialog(true) : m_pDocument->PathName();
    if (pathName.isEmpty())
        return false;
    const CFileResult result = m_pDocument->OnSaveDocument(pathName);
    if (!result.ok) {
        ShowMessage(QMessageBox::Critical, result.message);
        return false;
    }
    if (untitled) {
        AddRecentFile(m_pDocument->PathName());
        UpdateTitle();
    }
    if (!result.message.isEmpty())
        ShowMessage(QMessageBox::Information, result.message);
    return true;
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
    return QMainWindow::eventFilter(watched, event);
}

void CMainFrame::closeEvent(QCloseEvent* event)
{
    if (SaveModified())
        event->accept();
    else
        event->ignore();
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

void CMainFrame::UpdateRecentFileMenu()
{
    qDeleteAll(m_listRecentActions);
    m_listRecentActions.clear();
    const QStringList& entries = m_recentFiles.Entries();
    for (int i = 0; i < entries.size(); ++i) {
        auto* action = new QAction(RecentFileText(i, entries[i]), m_pMenuFile);
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
