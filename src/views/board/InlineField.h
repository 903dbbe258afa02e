#pragma once

#include <QKeyEvent>
#include <QLineEdit>

namespace furrow {

// A plain one-line text field set into a row or a header: no frame, no fill. It reports
// Return, Escape and a real loss of focus; focus that only leaves with the window or to one
// of the window's popups does not count, so a draft survives switching applications.
class InlineField : public QLineEdit
{
    Q_OBJECT

public:
    InlineField(const QFont &font, const QString &placeholder, QWidget *parent = nullptr);

    // Whether focus leaves for good: not only with the window or to one of its popups.
    static bool losesFocusForGood(const QFocusEvent *event);
    // Ends the editing of an in-place editor on Return (submitted) or Esc (cancelled); false
    // for any other key, which the editor handles as usual.
    template<typename Editor>
    static bool endsEditing(Editor &editor, const QKeyEvent &event)
    {
        switch (event.key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            Q_EMIT editor.submitted();
            return true;
        case Qt::Key_Escape:
            Q_EMIT editor.cancelled();
            return true;
        default:
            return false;
        }
    }
    // Closes an in-place editor: its signals no longer reach `owner`, the focus it had goes
    // to `focusTo` (when given) before it hides, and it is deleted on a later turn.
    static void retire(QWidget *editor, QObject *owner, QWidget *focusTo);

Q_SIGNALS:
    void submitted();
    void cancelled();
    void focusLost();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
};

} // namespace furrow
