#pragma once

#include <QPlainTextEdit>

namespace furrow {

// The editor of a task's title in place: the title's font and colour, wrapping where the
// title wraps and as tall as its lines, so that the row keeps its shape. A title is one line:
// Return submits and pasted line breaks become spaces; Escape cancels. Like InlineField, only
// a real loss of focus is reported.
class TitleEditor : public QPlainTextEdit
{
    Q_OBJECT

public:
    explicit TitleEditor(QWidget *parent = nullptr);

    QString text() const { return toPlainText(); }
    void setText(const QString &text);
    // Puts the cursor before character `position`, or at the end when it is out of range.
    void setCursorPosition(int position);
    int cursorPosition() const { return textCursor().position(); }
    // How many lines the title takes now.
    int lineCount() const;

Q_SIGNALS:
    void submitted();
    void cancelled();
    void focusLost();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void insertFromMimeData(const QMimeData *source) override;

private:
    void fitHeight();
};

} // namespace furrow
