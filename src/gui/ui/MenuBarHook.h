#pragma once

#include <QEvent>
#include <QList>
#include <QObject>

class CXPMenuBar;
class QAction;
class QWidget;

// Watches the menu bar's frame: activation greys or restores the button texts, palette, font
// and style changes rebuild the buttons, a resize re-wraps them, and the frame can ask for the
// bar's menu.
class CMenuBarHook : public QObject
{
    Q_OBJECT

public:
    CMenuBarHook(CXPMenuBar* bar, QWidget* frame);

    // The top-level entries of the menu bar watching frame; empty when none watches it.
    static QList<QAction*> GetMenu(QWidget* frame);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool FrameLooksActive() const;

    // Sent to the frame; the hook of its menu bar answers with the bar's menu.
    class CGetMenuEvent : public QEvent
    {
    public:
        CGetMenuEvent() : QEvent(Type()) {}
        static QEvent::Type Type();
        QList<QAction*> listMenu;
    };

    CXPMenuBar* m_pBar;
    QWidget* m_pFrame;
};
