#pragma once

#include <QApplication>
#include <QString>
#include <QWidget>

namespace furrow::test {

// The top-level window with that object name (or null), found as a user finds a window on the
// screen rather than through whoever made it.
template<class T = QWidget>
T *topLevel(const QString &name)
{
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (widget->objectName() == name)
            return qobject_cast<T *>(widget);
    }
    return nullptr;
}

} // namespace furrow::test
