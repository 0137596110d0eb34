#pragma once

#include "ui/MenuBarLayout.h"

#include <QChar>
#include <QRect>
#include <QSize>

#include <cstdint>

class QMenu;
class QPainter;
class QWidget;
struct CSysColors;

// A button of the menu bar: its style and state bits (MenuBarLayout's kStyle... and kState...),
// its place on the bar and its size laid out horizontally.
class CBarItem
{
public:
    CBarItem() = default;
    CBarItem(const CBarItem&) = delete;
    CBarItem& operator=(const CBarItem&) = delete;
    virtual ~CBarItem() = default;

    virtual void Paint(QPainter* painter, const CSysColors& colors) const = 0;
    // Places the button at origin, turned a quarter when not horizontal.
    virtual void Layout(const QPoint& origin, bool bHorizontal);
    // Opens what the button stands for; bar is the bar the button sits on.
    virtual void TrackPopup(QWidget* bar) = 0;
    // The popup the button opens, if any.
    virtual QMenu* Popup() const { return nullptr; }

    void ModifyState(std::uint8_t nRemove, std::uint8_t nAdd);

    std::uint8_t Style() const { return m_nStyle; }
    std::uint8_t State() const { return m_nState; }
    bool HasState(std::uint8_t nBits) const { return (m_nState & nBits) != 0; }
    const QRect& ItemRect() const { return m_rcItem; }
    QChar AccessKey() const { return m_chAccessKey; }
    // Zero while hidden.
    QSize HorizontalSize() const;
    MenuBarLayout::CItemBox Box() const { return {m_sizeHorz, m_nStyle, m_nState}; }

protected:
    std::uint8_t m_nStyle = 0;
    std::uint8_t m_nState = 0;
    QRect m_rcItem;
    QSize m_sizeHorz;
    QChar m_chAccessKey;
};
