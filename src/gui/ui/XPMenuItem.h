#pragma once

#include <QPixmap>
#include <QString>

class QAction;
class QMenu;

// One popup item as the flat menus see it: its command id, the text and picture stored for
// that id when the popup was prepared, and its state read from the action at this moment.
class CXPMenuItem
{
public:
    CXPMenuItem(const QAction* action, const QMenu* menu);

    int Id() const { return m_nId; }
    const QString& Text() const { return m_strText; }
    const QPixmap& Picture() const { return m_picture; }

    bool IsSeparator() const { return m_bSeparator; }
    bool IsDisabled() const { return m_bDisabled; }
    bool IsChecked() const { return m_bChecked; }
    bool IsDefault() const { return m_bDefault; }

    // The text before the first tab, and the shortcut after it (empty without a tab).
    QString Label() const;
    QString Shortcut() const;

    // The command id an action carries in its data; 0 for separators and plain actions.
    static int CommandId(const QAction* action);

private:
    int m_nId = 0;
    QString m_strText;
    QPixmap m_picture;
    bool m_bSeparator = false;
    bool m_bDisabled = false;
    bool m_bChecked = false;
    bool m_bDefault = false;
};
