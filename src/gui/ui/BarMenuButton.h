#pragma once

#include "ui/BarItem.h"

#include <QFont>
#include <QPointer>
#include <QString>

class QAction;
class QMenu;

// A menu bar button for one top-level menu entry: it opens the entry's popup, or triggers the
// entry itself when it has none.
class CBarMenuButton : public CBarItem
{
public:
    CBarMenuButton(QAction* entry, const QFont& font, const MenuBarLayout::CMenuMetrics& metrics);

    void Paint(QPainter* painter, const CSysColors& colors) const override;
    void TrackPopup(QWidget* bar) override;
    QMenu* Popup() const override { return m_pMenu; }

    const QString& Text() const { return m_strText; }
    // Where the access-key underline runs on vertical text, from the button's top.
    const MenuBarLayout::CUnderlineSpan& Underline() const { return m_underline; }

private:
    void PaintVertText(QPainter* painter) const;

    QString m_strText; // with its "&"
    MenuBarLayout::CUnderlineSpan m_underline;
    QPointer<QMenu> m_pMenu;     // null for a plain command
    QPointer<QAction> m_pAction; // the entry
    QFont m_font;
    int m_nTextMargin = 0;
};
