#pragma once

#include <QWidget>

class QHBoxLayout;

namespace furrow {

// A raised field: its children sit on a card-coloured rounded rectangle outlined in hair.
class LiftedSurface : public QWidget
{
    Q_OBJECT

public:
    explicit LiftedSurface(qreal radius, QWidget *parent = nullptr);

    // Where the field's contents go.
    QHBoxLayout *contentLayout() const { return m_layout; }

    // Draws the surface filling `rect`, the outline inside its edge.
    static void paint(QPainter &painter, const QRectF &rect, qreal radius);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    qreal m_radius;
    QHBoxLayout *m_layout;
};

} // namespace furrow
