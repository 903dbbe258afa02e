#include "views/widgets/TaskBox.h"

#include "views/theme/Icon.h"
#include "views/theme/Theme.h"

#include <QPainter>

namespace furrow {

TaskBox::TaskBox(qreal side, QWidget *parent)
    : QAbstractButton(parent)
    , m_side(side)
{
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_Hover);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void TaskBox::setDone(bool done)
{
    m_done = done;
    update();
}

void TaskBox::setDashed(bool dashed)
{
    m_dashed = dashed;
    update();
}

void TaskBox::setHovering(bool hovering)
{
    m_hovering = hovering;
    update();
}

QSize TaskBox::sizeHint() const
{
    const int side = qCeil(m_side);
    return {side, side};
}

void TaskBox::paint(QPainter &painter, const QRectF &box, bool done, bool hovering, bool dashed)
{
    constexpr qreal border = 1.5;
    const qreal side = std::min(box.width(), box.height());
    const QRectF square(box.center().x() - side / 2, box.center().y() - side / 2, side, side);
    // The stroke is centred on the path; inset it so the box keeps its full size.
    const QRectF outline = square.adjusted(border / 2, border / 2, -border / 2, -border / 2);
    const qreal radius = 0.32 * side;

    QColor stroke = Theme::line;
    QColor fill = Qt::transparent;
    if (done) {
        stroke = fill = Theme::bright;
    } else if (hovering) {
        stroke = Theme::pine;
        fill = Theme::hair;
    }

    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    QPen pen(stroke, border);
    if (dashed)
        pen.setDashPattern({4 / border, 3 / border});
    painter.setPen(pen);
    painter.setBrush(fill);
    painter.drawRoundedRect(outline, radius, radius);
    if (done) {
        // The mark should span 0.45 of the box; the artwork leaves a margin of about 0.15 of its
        // square on each side, so its square is drawn larger.
        Icon::paintSymbol(painter, square, QStringLiteral("checkmark"), 0.45 / 0.7 * side,
                          Theme::pine, Icon::Weight::Bold);
    }
    painter.restore();
}

void TaskBox::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    paint(painter, QRectF(rect()), m_done, isHovering(), m_dashed);
}

} // namespace furrow
