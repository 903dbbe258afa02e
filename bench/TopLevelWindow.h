#pragma once

#include <QApplication>
#include <QString>
#include <QWidget>

// The top-level window with that object name, or null: a window found as a user finds it.
inline QWidget *topLevelWindow(const QString &name)
{
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (widget->objectName() == name)
            return widget;
    }
    return nullptr;
}
