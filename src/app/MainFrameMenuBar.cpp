#include "MainFrame.h"

#include <QMenuBar>

void CMainFrame::CreateMenuBar()
{
    for (QMenu* menu : m_listMenus)
        menuBar()->addMenu(menu);
}
