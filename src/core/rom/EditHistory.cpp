#include "EditHistory.h"

#include <utility>

qint64 CEditHistory::Cost(const Step& step)
{
    // The bytes kept, the strings' characters and the step itself.
    return step.before.size() + step.after.size() + 2 * step.label.size() + qint64(sizeof(Step));
}

void CEditHistory::Push(Step step)
{
    while (CanRedo()) {
        m_stored -= Cost(m_steps.back());
        m_steps.pop_back();
    }
    // A clean point among the dropped steps can never be reached again.
    if (m_clean > m_index)
        m_clean = -1;
    m_stored += Cost(step);
    m_steps.push_back(std::move(step));
    ++m_index;
    KeepWithinBudget();
}

const CEditHistory::Step* CEditHistory::Top() const
{
    return CanUndo() && m_index == int(m_steps.size()) ? &m_steps.back() : nullptr;
}

void CEditHistory::ReplaceTop(Step step)
{
    if (!Top())
        return;
    m_stored += Cost(step) - Cost(m_steps.back());
    m_steps.back() = std::move(step);
    KeepWithinBudget();
}

void CEditHistory::DropTop()
{
    if (!Top())
        return;
    m_stored -= Cost(m_steps.back());
    m_steps.pop_back();
    --m_index;
}

const CEditHistory::Step* CEditHistory::Undo()
{
    if (!CanUndo())
        return nullptr;
    return &m_steps[--m_index];
}

const CEditHistory::Step* CEditHistory::Redo()
{
    if (!CanRedo())
        return nullptr;
    return &m_steps[m_index++];
}

void CEditHistory::Clear()
{
    m_steps.clear();
    m_index = 0;
    m_clean = 0;
    m_stored = 0;
}

void CEditHistory::KeepWithinBudget()
{
    // The newest step always stays, however large.
    while (m_stored > m_budget && m_steps.size() > 1) {
        m_stored -= Cost(m_steps.front());
        m_steps.pop_front();
        --m_index;
        m_clean = m_clean > 0 ? m_clean - 1 : -1;
    }
}
