#pragma once

#include <QObject>

class QWidget;

namespace furrow {

// Tells whether a row holds keyboard focus that the keyboard gave it (Tab, arrows, a shortcut or
// a move made by the program) rather than a click: a clicked row takes the focus but must not
// keep looking hovered once the pointer has left it. It watches the row and the focusable parts
// it is given; a focus that comes back from a popup or another window keeps how it came first.
class KeyboardFocus : public QObject
{
    Q_OBJECT

public:
    explicit KeyboardFocus(QWidget *owner);

    // Follows the focus of a part of the owner as well; watching a part twice is harmless.
    void watch(QWidget *part);
    // The focus is on the owner or one of its parts, and came from the keyboard.
    bool isActive() const;
    // Gives the owner the focus back as it came last, after a move that took it away.
    void restore();

Q_SIGNALS:
    // The focus entered or left the owner or a watched part.
    void changed();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *m_owner;
    bool m_fromKeyboard = false;
};

} // namespace furrow
