#include "views/widgets/LiftedSurface.h"

#include "views/theme/Theme.h"

#include <QHBoxLayout>
#include <QPainter>

namespace furrow {

LiftedSurface::LiftedSurface(qreal radius, QWidget *parent)
    : QWidget(parent)
    , m_radius(radius)
    , m_layout(new QHBoxLayout(this))
{
    const int inset = qRound(std::max<qreal>(10, radius * 0.8));
    m_layout->setContentsMargins(inset, 0, inset, 0);
    m_layout->setSpacing(8);
}

void LiftedSurface::paint(QPainter &painter, const QRectF &rect, qreal radius)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Theme::hair, 1));
    painter.setBrush(Theme::card);
    const qreal r = std::min({radius, rect.height() / 2, rect.width() / 2});
    painter.drawRoundedRect(rect.adjusted(0.5, 0.5, -0.5, -0.5), r, r);
    painter.restore();
}

void LiftedSurface::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    paint(painter, rect(), m_radius);
}

} // namespace furrow
