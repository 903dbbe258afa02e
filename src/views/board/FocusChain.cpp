#include "views/board/FocusChain.h"

#include <QWidget>

namespace furrow::FocusChain {

void placeBefore(QWidget *widget, QWidget *anchor)
{
    // setTabOrder ignores widgets that take no focus, so the anchor is found from the
    // focusable widget before it.
    for (QWidget *previous = anchor->previousInFocusChain(); previous && previous != anchor;
         previous = previous->previousInFocusChain()) {
        if (previous != widget && previous->focusPolicy() != Qt::NoFocus) {
            QWidget::setTabOrder(previous, widget);
            return;
        }
    }
}

} // namespace furrow::FocusChain
