#include "views/board/DropFeedback.h"

#include "views/board/DragState.h"
#include "views/theme/EasedValue.h"
#include "views/theme/Motion.h"
#include "views/theme/Theme.h"

#include <QDragMoveEvent>
#include <QMimeData>
#include <QPainter>
#include <QWidget>

namespace furrow {

namespace {
constexpr qreal kRadius = 10;
constexpr qreal kMarkRadius = 3.5;

// Tells where the pointer is, for the page to scroll when it is held near an edge.
void reportHover(QObject *owner, const QDragMoveEvent *event)
{
    auto *widget = static_cast<QWidget *>(owner);
    DragState::shared().reportHover(widget, widget->mapToGlobal(event->position().toPoint()));
}
} // namespace

DropFeedback::DropFeedback(ModelContext &model, QWidget *owner)
    : QObject(owner)
    , m_model(model)
    , m_progress(new EasedValue(Motion::kEaseMs, Motion::kEaseOut, this))
{
    owner->setAcceptDrops(true);
    connect(m_progress, &EasedValue::valueChanged, this, &DropFeedback::changed);
    connect(m_progress, &EasedValue::settled, this, [this](qreal value) {
        if (qFuzzyIsNull(value) && m_look != Look::None) {
            m_look = Look::None;
            Q_EMIT changed();
        }
    });
}

qreal DropFeedback::progress() const
{
    return m_look == Look::None ? 0 : m_progress->value();
}

qreal DropFeedback::gapHeight() const
{
    return m_look == Look::Gap ? kGap * m_progress->value() : 0;
}

void DropFeedback::show(Look look)
{
    if (look != m_look) {
        // Restarts from nothing; the look is set after, as settling at 0 clears it.
        m_progress->jumpTo(0);
        m_look = look;
    }
    m_progress->setTarget(1);
    Q_EMIT changed();
}

void DropFeedback::dragEnter(QDragEnterEvent *event)
{
    if (!event->mimeData()->hasText()) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    reportHover(parent(), event);
    const bool rowTarget = !m_target.anchorId.isNull();
    show(rowTarget && !TaskDrop::isNoOp(m_target) ? Look::Gap : Look::Faint);
}

void DropFeedback::dragMove(QDragMoveEvent *event)
{
    reportHover(parent(), event);
    // Staying targeted keeps the faint fill on a task's own row, but the drop is refused.
    if (TaskDrop::isNoOp(m_target))
        event->ignore();
    else
        event->acceptProposedAction();
}

void DropFeedback::dragLeave()
{
    m_progress->setTarget(0);
    DragState::shared().reportLeave(static_cast<QWidget *>(parent()));
}

void DropFeedback::drop(QDropEvent *event)
{
    m_progress->setTarget(0);
    DragState::shared().reportLeave(static_cast<QWidget *>(parent()));
    if (TaskDrop::handle(m_model, event->mimeData(), m_target))
        event->acceptProposedAction();
    else
        event->ignore();
}

void DropFeedback::paint(QPainter &painter, const QRectF &area, qreal gapTop) const
{
    const qreal progress = this->progress();
    if (progress <= 0)
        return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    if (m_look == Look::Faint) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(Theme::withOpacity(Theme::hair, 0.8 * progress));
        painter.drawRoundedRect(area, kRadius, kRadius);
    } else if (m_look == Look::Gap) {
        const QColor mark = Theme::withOpacity(Theme::pine, progress);
        const qreal y = gapTop + gapHeight() / 2;
        const QPointF centre(area.left() + kMarkRadius + 1, y);
        painter.setPen(QPen(mark, 1.5));
        painter.setBrush(Theme::card);
        painter.drawEllipse(centre, kMarkRadius, kMarkRadius);
        painter.setPen(QPen(mark, 2, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(QPointF(centre.x() + kMarkRadius, y), QPointF(area.right(), y));
    }
    painter.restore();
}

} // namespace furrow
