#pragma once

#include <QAbstractButton>

namespace furrow {

// The square check box of a task: open (outlined, filled on hover), done (lime with a check
// mark) or dashed (the compose line's empty box).
class TaskBox : public QAbstractButton
{
    Q_OBJECT

public:
    explicit TaskBox(qreal side = 18, QWidget *parent = nullptr);

    void setDone(bool done);
    bool isDone() const { return m_done; }
    void setDashed(bool dashed);
    bool isDashed() const { return m_dashed; }
    // Draws the hovered look while the pointer is over the box or `hovering` is set, so a row
    // can light its box while the pointer is anywhere on the row.
    void setHovering(bool hovering);
    bool isHovering() const { return m_hovering || underMouse(); }

    QSize sizeHint() const override;

    // Draws a box filling `box`.
    static void paint(QPainter &painter, const QRectF &box, bool done, bool hovering, bool dashed);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    qreal m_side;
    bool m_done = false;
    bool m_dashed = false;
    bool m_hovering = false;
};

} // namespace furrow
