#include "UndoHistory.h"

namespace furrow {

UndoHistory::UndoHistory(QObject *parent)
    : QObject(parent)
{}

UndoHistory::~UndoHistory() = default;

bool UndoHistory::canUndo() const
{
    return !m_openStep.empty() || !m_undoSteps.empty();
}

bool UndoHistory::canRedo() const
{
    return m_openStep.empty() && !m_redoSteps.empty();
}

void UndoHistory::record(Reversal reversal)
{
    if (!m_recordingEnabled)
        return;
    if (m_mode != Mode::Normal) {
        m_replayed.push_back(std::move(reversal));
        return;
    }
    if (m_openStep.empty()) {
        m_redoSteps.clear();
        // The step stays open until control returns to the event loop: everything one user
        // event changes is undone together.
        if (!m_closeQueued) {
            m_closeQueued = true;
            QMetaObject::invokeMethod(
                this,
                [this] {
                    m_closeQueued = false;
                    closeOpenStep();
                },
                Qt::QueuedConnection);
        }
    }
    const bool wasEmpty = m_openStep.empty();
    m_openStep.push_back(std::move(reversal));
    if (wasEmpty)
        Q_EMIT stateChanged();
}

void UndoHistory::closeOpenStep()
{
    if (m_openStep.empty())
        return;
    push(m_undoSteps, std::exchange(m_openStep, {}));
}

void UndoHistory::push(std::deque<Step> &stack, Step step)
{
    stack.push_back(std::move(step));
    while (stack.size() > std::size_t(kStepLimit))
        stack.pop_front();
}

bool UndoHistory::undo()
{
    closeOpenStep();
    return replay(m_undoSteps, m_redoSteps, Mode::Undoing);
}

bool UndoHistory::redo()
{
    closeOpenStep();
    return replay(m_redoSteps, m_undoSteps, Mode::Redoing);
}

bool UndoHistory::replay(std::deque<Step> &from, std::deque<Step> &to, Mode mode)
{
    if (from.empty())
        return false;
    Step step = std::move(from.back());
    from.pop_back();
    m_mode = mode;
    // Reverse iterators rather than a reversed view: clang 14 cannot compile libstdc++ 12's views.
    for (auto reversal = step.rbegin(); reversal != step.rend(); ++reversal)
        (*reversal)();
    if (m_replayFinisher)
        m_replayFinisher();
    m_mode = Mode::Normal;
    if (!m_replayed.empty())
        push(to, std::exchange(m_replayed, {}));
    Q_EMIT stateChanged();
    return true;
}

void UndoHistory::clear()
{
    m_undoSteps.clear();
    m_redoSteps.clear();
    m_openStep.clear();
    Q_EMIT stateChanged();
}

} // namespace furrow
