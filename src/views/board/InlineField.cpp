#include "views/board/InlineField.h"

#include "views/theme/Theme.h"

#include <QKeyEvent>

namespace furrow {

InlineField::InlineField(const QFont &font, const QString &placeholder, QWidget *parent)
    : QLineEdit(parent)
{
    setFont(font);
    setPlaceholderText(placeholder);
    setFrame(false);
    // QLineEdit keeps 2 pixels beside and 1 above and below its text; taking them back puts
    // the text exactly where the label it replaces drew it, and the row keeps its height.
    setTextMargins(-2, -1, 0, -1);
    setAttribute(Qt::WA_MacShowFocusRect, false);
    QPalette colors = palette();
    colors.setColor(QPalette::Base, Qt::transparent);
    colors.setColor(QPalette::Text, Theme::ink);
    colors.setColor(QPalette::PlaceholderText, Theme::line);
    setPalette(colors);
}

void InlineField::keyPressEvent(QKeyEvent *event)
{
    if (!endsEditing(*this, *event))
        QLineEdit::keyPressEvent(event);
}

void InlineField::focusOutEvent(QFocusEvent *event)
{
    QLineEdit::focusOutEvent(event);
    if (losesFocusForGood(event))
        Q_EMIT focusLost();
}

bool InlineField::losesFocusForGood(const QFocusEvent *event)
{
    return event->reason() != Qt::ActiveWindowFocusReason
           && event->reason() != Qt::PopupFocusReason;
}

void InlineField::retire(QWidget *editor, QObject *owner, QWidget *focusTo)
{
    editor->disconnect(owner);
    // Handing the focus on first keeps it from wandering to the next widget in the chain.
    if (focusTo && editor->hasFocus())
        focusTo->setFocus(Qt::OtherFocusReason);
    editor->hide();
    editor->deleteLater();
}

} // namespace furrow
