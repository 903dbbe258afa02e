#pragma once

#include "model/Instant.h"
#include "views/menus/MenuController.h"
#include "views/menus/MenuHost.h"
#include "views/menus/MenuRow.h"

#include <QDateTime>

namespace furrow::test {

// A local time in the test time zone (TZ=Europe/Berlin).
inline Instant localTime(int year, int month, int day, int hour = 0, int minute = 0)
{
    return instantFromDateTime(QDateTime(QDate(year, month, day), QTime(hour, minute)));
}

// The row of the open popup menu with that title, or null.
inline MenuRow *menuRow(const MenuController &menus, const QString &title)
{
    for (MenuRow *candidate : menus.host()->findChildren<MenuRow *>()) {
        if (candidate->text() == title)
            return candidate;
    }
    return nullptr;
}

} // namespace furrow::test
