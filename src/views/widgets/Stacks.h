#pragma once

#include <QHBoxLayout>
#include <QVBoxLayout>

namespace furrow {

// Layouts without margins of their own, for stacking the parts of a view.
namespace Stacks {

inline QVBoxLayout *column(QWidget *widget, int spacing)
{
    auto *layout = new QVBoxLayout(widget);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(spacing);
    return layout;
}

inline QHBoxLayout *row(QWidget *widget, int spacing)
{
    auto *layout = new QHBoxLayout(widget);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(spacing);
    return layout;
}

} // namespace Stacks
} // namespace furrow
