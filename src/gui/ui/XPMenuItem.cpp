#include "XPMenuItem.h"

#include "XPMenu.h"

#include <QAction>
#include <QMenu>

CXPMenuItem::CXPMenuItem(const QAction* action, const QMenu* menu)
{
    if (!action)
        return;
    m_nId = CommandId(action);
    m_bSeparator = action->isSeparator();
    m_bDisabled = !action->isEnabled();
    m_bChecked = action->isChecked();
    m_bDefault = menu && menu->defaultAction() == action;
    if (m_bSeparator)
        return;
    // An action without a command id has no entry in the maps; Qt keeps its text on it.
    m_strText = m_nId ? XPMenu::ItemTexts().value(m_nId) : action->text();
    m_picture = XPMenu::ItemImages().value(m_nId);
}

QString CXPMenuItem::Label() const
{
    return m_strText.section(u'\t', 0, 0);
}

QString CXPMenuItem::Shortcut() const
{
    const qsizetype nTab = m_strText.indexOf(u'\t');
    return nTab < 0 ? QString() : m_strText.mid(nTab + 1);
}

int CXPMenuItem::CommandId(const QAction* action)
{
    bool bOk = false;
    const int nId = action->data().toInt(&bOk);
    return bOk && !action->isSeparator() ? nId : 0;
}
