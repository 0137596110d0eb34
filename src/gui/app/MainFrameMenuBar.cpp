#include "MainFrame.h"

#include "ui/XPMenuBar.h"

#include <QMenu>

void CMainFrame::CreateMenuBar()
{
    m_wndMenuBar = new CXPMenuBar(this);
    QList<QAction*> entries;
    for (QMenu* menu : m_listMenus) {
        entries.append(menu->menuAction());
        // Shortcuts of actions that sit only in popups outside a menu bar would never fire.
        addActions(menu->actions());
    }
    m_wndMenuBar->LoadMenuBar(entries);
    // A row of its own at the top: the toolbars take the rows below.
    addToolBar(Qt::TopToolBarArea, m_wndMenuBar);
    addToolBarBreak(Qt::TopToolBarArea);
}
