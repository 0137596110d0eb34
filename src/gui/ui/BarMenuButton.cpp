#include "BarMenuButton.h"

#include "ui/SysColors.h"

#include <QAction>
#include <QFontMetrics>
#include <QMenu>
#include <QPainter>
#include <QScreen>
#include <QWidget>

using namespace MenuBarLayout;

CBarMenuButton::CBarMenuButton(QAction* entry, const QFont& font, const CMenuMetrics& metrics)
    : m_strText(entry->text()), m_pMenu(entry->menu()), m_pAction(entry), m_font(font),
      m_nTextMargin(metrics.nTextMargin)
{
    m_nStyle = kStyleHit | kStyleWrap;
    if (!entry->isVisible())
        m_nState |= kStateHidden;
    const QFontMetrics fm(font);
    m_sizeHorz =
        QSize(fm.size(Qt::TextSingleLine | Qt::TextShowMnemonic, m_strText).width() + kTextPadding,
              metrics.nFontHeight + 2 * metrics.nTextMargin);
    m_chAccessKey = MenuBarLayout::AccessKey(m_strText);
    m_underline =
        UnderlineSpan(m_strText, [&fm](const QString& s) { return fm.horizontalAdvance(s); });
}

void CBarMenuButton::Paint(QPainter* painter, const CSysColors& colors) const
{
    if (HasState(kStateHidden) || m_rcItem.isEmpty())
        return;
    painter->save();
    painter->fillRect(m_rcItem, colors.face);
    const QRect frame = m_rcItem.adjusted(0, 0, -1, -1);
    if (HasState(kStateHot)) {
        painter->setPen(colors.highlight);
        painter->setBrush(colors.Tint(colors.highlight, 70, -57));
        painter->drawRect(frame);
    } else if (HasState(kStatePressed)) {
        painter->setPen(colors.buttonShadow);
        painter->setBrush(colors.Tint(colors.face, 20, 0));
        painter->drawRect(frame);
    }
    painter->setPen(HasState(kStateInactive) ? colors.grayText : colors.windowText);
    painter->setFont(m_font);
    if (HasState(kStateHorz))
        painter->drawText(m_rcItem, Qt::AlignCenter | Qt::TextSingleLine | Qt::TextShowMnemonic,
                          m_strText);
    else
        PaintVertText(painter);
    painter->restore();
}

// Text running top to bottom, its glyphs' tops to the right; the access key is underlined by
// a line along the left of the text.
void CBarMenuButton::PaintVertText(QPainter* painter) const
{
    const QFontMetrics fm(m_font);
    painter->save();
    painter->translate(m_rcItem.left() + m_rcItem.width() - m_nTextMargin,
                       m_rcItem.top() + kVertTextOffset);
    painter->rotate(90);
    painter->drawText(QRect(0, 0, m_sizeHorz.width(), fm.height()),
                      Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine | Qt::TextDontClip,
                      DisplayText(m_strText));
    painter->restore();
    if (m_underline.nEnd > m_underline.nStart) {
        const int x = m_rcItem.left() + m_nTextMargin;
        painter->drawLine(x, m_rcItem.top() + m_underline.nStart, x,
                          m_rcItem.top() + m_underline.nEnd - 1);
    }
}

void CBarMenuButton::TrackPopup(QWidget* bar)
{
    if (!m_pMenu) {
        if (m_pAction)
            m_pAction->trigger();
        return;
    }
    const QRect button(bar->mapToGlobal(m_rcItem.topLeft()), m_rcItem.size());
    const QRect screen = bar->screen() ? bar->screen()->availableGeometry() : QRect();
    m_pMenu->exec(PopupPosition(button, HasState(kStateHorz), m_pMenu->sizeHint(), screen));
}
