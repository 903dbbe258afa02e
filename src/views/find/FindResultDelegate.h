#pragma once

#include <QStyledItemDelegate>

namespace furrow {

// Draws a find result: the title with the matched words washed in lime, under it where it
// lives, its project and due day, and for a note match one line of the note.
class FindResultDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;
};

} // namespace furrow
