#pragma once

#include <QPlainTextEdit>

namespace furrow {

// The editor of a task's note: plain text growing from one to six lines, then scrolling.
// Return submits (Shift+Return starts a new line), Escape cancels; like InlineField, only a
// real loss of focus is reported.
class NoteEditor : public QPlainTextEdit
{
    Q_OBJECT

public:
    static constexpr int kMaxLines = 6;

    explicit NoteEditor(QWidget *parent = nullptr);

    // How many lines tall the editor is now, 1 to kMaxLines.
    int visibleLines() const { return m_lines; }

Q_SIGNALS:
    void submitted();
    void cancelled();
    void focusLost();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void fitHeight();

    int m_lines = 1;
};

} // namespace furrow
