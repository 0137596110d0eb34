#pragma once

#include <QEvent>
#include <QObject>

class CXPMenuBar;
class QWidget;

// Watches the menu bar's frame: activation greys or restores the button texts, palette, font
// and style changes rebuild the buttons, and a resize re-wraps them.
class CMenuBarHook : public QObject
{
    Q_OBJECT

public:
    CMenuBarHook(CXPMenuBar* bar, QWidget* frame);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool FrameLooksActive() const;

    CXPMenuBar* m_pBar;
    QWidget* m_pFrame;
};
