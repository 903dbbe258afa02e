#pragma once

#include <QObject>
#include <QPoint>
#include <QPointer>

class QScrollArea;
class QTimer;
class QWidget;

namespace furrow {

// Scrolls the page while a dragged task is held near the top or bottom edge of its view,
// faster nearer the edge. Rows are made as they come into view, and the drag is handed on to
// the row that comes under the still pointer, so the gap and the insertion mark follow it
// and a drop lands there.
class DragScroller : public QObject
{
    Q_OBJECT

public:
    // Scrolls `scroll`, which lies inside `page`; the parts of the page that take no drop
    // (its header, the column's margins) report the pointer too.
    DragScroller(QWidget *page, QScrollArea *scroll);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void hover(QWidget *over, const QPoint &global);
    void leave(QWidget *over);
    // Pixels to scroll per step for the pointer's place: negative upwards, 0 away from the edges.
    int speed() const;
    void step();
    void retarget();

    QWidget *m_page;
    QScrollArea *m_scroll;
    QTimer *m_timer;
    QPoint m_global;
    QPointer<QWidget> m_over;
};

} // namespace furrow
