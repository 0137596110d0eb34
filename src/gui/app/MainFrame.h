#pragma once

#include "app/RecentFileList.h"
#include "rom/EditorLock.h"
#include "ui/XPToolBar.h"

#include <QFileSystemWatcher>
#include <QHash>
#include <QList>
#include <QMainWindow>
#include <QMessageBox>
#include <QTimer>
#include <QUrl>

#include <cstdint>
#include <functional>
#include <memory>
#include <span>

class CGlyphoxDoc;
class CGlyphoxView;
class CXPMenuBar;
class CXPMenuStyle;
class QMenu;
class QToolBar;

// The main window: owns the document and the view, the menus, the two toolbars and the hidden
// dialog bar, and carries out New, Open, Save, the recent files, About and Exit.
class CMainFrame : public QMainWindow
{
    Q_OBJECT

public:
    explicit CMainFrame(QWidget* parent = nullptr);
    ~CMainFrame() override;

    // Opens a ROM image into the document; a refused file leaves the window as it was.
    bool OpenDocumentFile(const QString& pathName);

    QAction* Action(int nId) const { return m_mapActions.value(nId); }
    CGlyphoxDoc* Document() const { return m_pDocument.get(); }
    CGlyphoxView* View() const { return m_pView; }
    QToolBar* MainToolBar() const { return m_wndToolBar; }
    QToolBar* EditToolBar() const { return m_wndEditBar; }
    QMenu* FileMenu() const { return m_pMenuFile; }
    // The four popups of the menu, in menu order.
    const QList<QMenu*>& Menus() const { return m_listMenus; }
    CXPMenuBar* MenuBarControl() const { return m_wndMenuBar; }
    const CRecentFileList& RecentFiles() const { return m_recentFiles; }

    // Dialog seams, replaced by tests so that no modal dialog runs.
    std::function<void(QMessageBox::Icon icon, const QString& text)> m_fnMessageBox;
    std::function<QString(bool bSave)> m_fnFileDialog; // the chosen file, empty when cancelled
    std::function<void()> m_fnAboutBox;
    // Asks whether to save the unsaved edits: Yes, No or Cancel.
    std::function<QMessageBox::StandardButton(const QString& text)> m_fnAskSave;
    // Yes/No questions: overwrite a file another program changed, reload a changed file over
    // unsaved edits, open a file another editor holds.
    std::function<bool(const QString& text)> m_fnAskOverwrite;
    std::function<bool(const QString& text)> m_fnAskReload;
    std::function<bool(const QString& text)> m_fnAskOpenAnyway;

    // Offers to save unsaved edits; false when the caller must stop (Cancel or a failed save).
    bool SaveModified();

    void OnFileNew();
    void OnFileOpen();
    void OnFileSave();
    void OnFileSaveAs();
    // Looks at the open file on disk now (the watcher does so after each change).
    void CheckFileOnDisk();
    void OnOpenRecentFile(int nIndex);
    void OnAppAbout();

    // The toolbars' context menu, flat like the other popups.
    QMenu* createPopupMenu() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    // A file dropped on the window opens as File Open opens it.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void CreateActions();
    void CreateMenus();
    void CreateMenuBar();
    void CreateToolBars();
    void CreateDialogBar();
    void ConnectCommands();
    CXPToolBar* CreateToolBar(const QString& title, const QString& name, std::span<const int> ids);

    void OnFileMenuTriggered(QAction* action);
    void OnInitMenuPopup(QMenu* popup);
    void OnUpdateEditCommand(bool bLoaded);
    void OnDocumentState();
    bool DoFileSave(bool bSaveAs = false);
    // Offers to save unsaved edits, then opens pathName.
    bool SaveAndOpen(const QString& pathName);
    void OpenDropped(const QList<QUrl>& urls);
    void FollowFile();
    void TakeEditorLock();
    void TakePendingEditorLock();
    void ShowNotice(const QString& text);
    QString TitleName() const;
    void UpdateTitle();
    void FitFormToBars();
    void UpdateRecentFileMenu();
    void AddRecentFile(const QString& pathName);
    void ShowMessage(QMessageBox::Icon icon, const QString& text);

    std::unique_ptr<CGlyphoxDoc> m_pDocument;
    CGlyphoxView* m_pView = nullptr;
    CRecentFileList m_recentFiles;
    QHash<int, QAction*> m_mapActions;
    QList<QAction*> m_listRecentActions;
    QList<QMenu*> m_listMenus;
    QMenu* m_pMenuFile = nullptr;
    CXPMenuBar* m_wndMenuBar = nullptr;
    QAction* m_pRecentEnd = nullptr;      // the separator after the recent files
    CXPMenuStyle* m_pMenuStyle = nullptr; // the popups' owner draw
    CXPToolBar* m_wndToolBar = nullptr;
    CXPToolBar* m_wndEditBar = nullptr;
    QWidget* m_wndDlgBar = nullptr;
    QList<QObject*> m_listSilentButtons; // toolbar buttons whose command has no tooltip
    QFileSystemWatcher m_watcher;        // the open file, re-armed when it is replaced
    QTimer m_diskCheckTimer;             // gathers a burst of changes into one look
    QTimer m_fitFormTimer;               // lets the bars settle after a dock change
    QSize m_sizeForm;                    // the form's designed size
    CEditorLock m_editorLock;            // tells other editors the file is open here
    bool m_bPainted = false;             // the window has been painted once
    bool m_bLockPending = false;         // the mark waits for the first paint
    std::uint64_t m_nDeclinedReload = 0; // the disk content the user chose not to reload
    bool m_bMissingNoticed = false;
};
