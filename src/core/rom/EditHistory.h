#pragma once

#include "rom/ImageEdit.h"

#include <QByteArray>
#include <QString>

#include <deque>

// The document's undo history: the steps done, each holding only the bytes it
// changed (before and after), an index between the steps undone and those
// still done, and the index at which the image matches its file (the clean
// point). Unlimited in steps; the oldest steps are dropped when the stored
// bytes pass a budget, and with them the clean point if it lay among them.
class CEditHistory
{
public:
    struct Step
    {
        QString label;
        CEditSite site;
        qint64 offset = 0;
        QByteArray before;
        QByteArray after;
    };

    static constexpr qint64 DEFAULT_BUDGET = qint64(256) << 20; // bytes of steps kept

    explicit CEditHistory(qint64 budget = DEFAULT_BUDGET) : m_budget(budget) {}

    // Drops the steps after the index (they can no longer be redone), then adds one.
    void Push(Step step);
    // The last step when nothing is undone (a stroke grows it); null otherwise.
    const Step* Top() const;
    void ReplaceTop(Step step);
    // Forgets the last step, as if it had never been pushed.
    void DropTop();

    bool CanUndo() const { return m_index > 0; }
    bool CanRedo() const { return m_index < int(m_steps.size()); }
    // The step undo or redo would take; null if there is none.
    const Step* UndoStep() const { return CanUndo() ? &m_steps[m_index - 1] : nullptr; }
    const Step* RedoStep() const { return CanRedo() ? &m_steps[m_index] : nullptr; }
    // Moves the index; the caller writes the step's bytes.
    const Step* Undo();
    const Step* Redo();

    void Clear();
    void SetClean() { m_clean = m_index; }
    bool IsClean() const { return m_clean == m_index; }

    int Count() const { return int(m_steps.size()); }
    int Index() const { return m_index; }
    qint64 StoredBytes() const { return m_stored; }

private:
    static qint64 Cost(const Step& step);
    void KeepWithinBudget();

    std::deque<Step> m_steps;
    int m_index = 0;
    int m_clean = 0; // -1 once the clean point was dropped or undone past and overwritten
    qint64 m_stored = 0;
    qint64 m_budget;
};
