#pragma once

#include "LocalTime.h"
#include "QtPrinters.h"
#include "model/Instant.h"
#include "views/menus/MenuController.h"
#include "views/menus/MenuHost.h"
#include "views/menus/MenuRow.h"

#include <QApplication>
#include <QDateTime>
#include <QLocale>
#include <QTest>

#include <gtest/gtest.h>

namespace furrow {

using namespace Qt::StringLiterals;
using test::localTime;

// Lets the coalesced change signal, queued focus moves and deferred deletions run.
inline void settle()
{
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

// The pointer enters the widget.
inline void hover(QWidget *widget)
{
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), widget->mapToGlobal(QPointF(5, 5)));
    QApplication::sendEvent(widget, &enter);
}

// The texts `text` gives for each of `items`.
template<class Items, class Text>
QStringList textsOf(const Items &items, Text text)
{
    QStringList result;
    for (const auto &item : items)
        result.append(text(item));
    return result;
}

// The rows of the popup open now, and the one of them with that title (or null).
inline QList<MenuRow *> menuRows(const MenuController &menus)
{
    const auto &open = menus.open();
    return open && open->content ? open->content->findChildren<MenuRow *>() : QList<MenuRow *>();
}

inline MenuRow *menuRow(const MenuController &menus, const QString &title)
{
    for (MenuRow *row : menuRows(menus)) {
        if (row->text() == title)
            return row;
    }
    return nullptr;
}

// Formats in German for its lifetime, to prove a text does not follow the system language.
struct GermanLocale
{
    GermanLocale() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }
    ~GermanLocale() { QLocale::setDefault(before); }
    const QLocale before;
};

// Turns the animations on for its lifetime; the tests otherwise run with motion reduced.
struct WithMotion
{
    WithMotion() { qputenv("FURROW_REDUCE_MOTION", "0"); }
    ~WithMotion() { qputenv("FURROW_REDUCE_MOTION", "1"); }
};

} // namespace furrow
