#pragma once

#include <QCursor>

// The cursors of the pixel editor's modes: 32 x 32 monochrome, drawn for this editor.
// Building them needs a QGuiApplication.
class CEditorCursors
{
public:
    CEditorCursors();

    const QCursor& Paint() const { return m_paint; }
    const QCursor& Fill() const { return m_fill; }
    const QCursor& Dropper() const { return m_dropper; }

private:
    QCursor m_paint;
    QCursor m_fill;
    QCursor m_dropper;
};
