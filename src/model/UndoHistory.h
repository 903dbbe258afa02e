#pragma once

#include <QObject>

#include <deque>
#include <functional>
#include <vector>

namespace furrow {

// The planner's one undo history. Every change recorded during one turn of the event loop forms
// one step; at most kStepLimit steps are kept. A step is a list of reversals: undoing runs them
// newest first, and the changes they make are recorded as the matching redo step.
class UndoHistory : public QObject
{
    Q_OBJECT

public:
    static constexpr int kStepLimit = 50;

    using Reversal = std::function<void()>;

    explicit UndoHistory(QObject *parent = nullptr);
    ~UndoHistory() override;

    bool canUndo() const;
    bool canRedo() const;
    // Each applies one step and answers whether there was one.
    bool undo();
    bool redo();
    void clear();

    // Recording can be paused, for changes that must not become undoable.
    bool isRecording() const { return m_recordingEnabled; }
    void setRecordingEnabled(bool enabled) { m_recordingEnabled = enabled; }

    // Called by the model context for every change it makes while recording.
    void record(Reversal reversal);
    bool isReplaying() const { return m_mode != Mode::Normal; }
    // Runs at the end of every undo or redo, before the step is closed; what it changes belongs
    // to the step.
    void setReplayFinisher(std::function<void()> finisher)
    {
        m_replayFinisher = std::move(finisher);
    }

Q_SIGNALS:
    void stateChanged(); // canUndo() or canRedo() may have changed

private:
    using Step = std::vector<Reversal>;
    enum class Mode { Normal, Undoing, Redoing };

    void closeOpenStep();
    void push(std::deque<Step> &stack, Step step);
    bool replay(std::deque<Step> &from, std::deque<Step> &to, Mode mode);

    std::deque<Step> m_undoSteps;
    std::deque<Step> m_redoSteps;
    Step m_openStep;
    bool m_closeQueued = false;
    Step m_replayed;
    Mode m_mode = Mode::Normal;
    std::function<void()> m_replayFinisher;
    bool m_recordingEnabled = true;
};

} // namespace furrow
