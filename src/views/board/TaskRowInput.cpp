// TaskRow: pointer, keys, painting, and the row as drag source and drop target.

#include "views/board/TaskRow.h"

#include "model/Record.h"
#include "views/board/BoardState.h"
#include "views/board/DragState.h"
#include "views/board/DropFeedback.h"
#include "views/board/RowTrailing.h"
#include "views/board/TitleText.h"
#include "views/theme/Theme.h"
#include "views/widgets/KeyboardFocus.h"
#include "views/widgets/ProjectTag.h"
#include "views/widgets/TaskBox.h"

#include <QDrag>
#include <QDragMoveEvent>
#include <QMimeData>
#include <QPainter>

namespace furrow {

namespace {
constexpr qreal kRadius = 10;
constexpr int kPreviewWidth = 340;
constexpr int kPreviewHeight = 38;
} // namespace

void TaskRow::enterEvent(QEnterEvent *event)
{
    QWidget::enterEvent(event);
    m_hovering = true;
    m_scope.state.setHoveredId(m_content.id);
    updateControls();
}

void TaskRow::leaveEvent(QEvent *event)
{
    QWidget::leaveEvent(event);
    m_hovering = false;
    m_scope.state.clearHoveredIf(m_content.id);
    updateControls();
}

void TaskRow::mousePressEvent(QMouseEvent *event)
{
    m_scope.state.setSelectedId(m_content.id);
    setFocus(Qt::MouseFocusReason);
    QWidget::mousePressEvent(event);
}

void TaskRow::keyPressEvent(QKeyEvent *event)
{
    const bool editing = isEditingTitle() || isEditingNote();
    switch (event->key()) {
    case Qt::Key_Space:
        if (!editing) {
            toggle();
            return;
        }
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        beginEdit();
        return;
    case Qt::Key_Up:
    case Qt::Key_Down:
        Q_EMIT focusStepRequested(event->key() == Qt::Key_Up ? -1 : 1);
        return;
    case Qt::Key_Menu:
        openMenu();
        return;
    case Qt::Key_F10:
        if (event->modifiers() & Qt::ShiftModifier) {
            openMenu();
            return;
        }
        break;
    default:
        break;
    }
    QWidget::keyPressEvent(event);
}

void TaskRow::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal gap = m_drop ? m_drop->gapHeight() : 0;
    // An open gap shows its insertion mark instead of the hairline.
    const qreal gapShown = gap > 0 ? m_drop->progress() : 0;
    if (const qreal opacity = separatorOpacity() * (1 - gapShown); opacity > 0)
        painter.fillRect(QRectF(kInset, 0, width() - 2 * kInset, 1),
                         Theme::withOpacity(Theme::hair, opacity));
    const QRectF body(0, gap, width(), height() - gap);
    if (showsControls()) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(Theme::withOpacity(Theme::hair, 0.6));
        painter.drawRoundedRect(body, kRadius, kRadius);
    }
    if (hasFocus() && m_keyFocus->isActive()) {
        painter.setPen(QPen(Theme::withOpacity(Theme::pine, 0.35), 1.5));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(body.adjusted(1, 1, -1, -1), kRadius - 1, kRadius - 1);
    }
    if (m_drop) {
        const bool faint = m_drop->look() == DropFeedback::Look::Faint;
        m_drop->paint(painter, faint ? QRectF(rect()) : QRectF(kInset, 0, width() - 2 * kInset, 0),
                      1);
    }
}

void TaskRow::startDrag()
{
    if (m_content.done)
        return;
    m_scope.state.setSelectedId(m_content.id);
    DragState &state = DragState::shared();
    state.setDraggingId(m_content.id);
    state.setSourceRunning(true);
    auto *drag = new QDrag(this);
    auto *payload = new QMimeData;
    payload->setText(idText(m_content.id));
    drag->setMimeData(payload);
    state.setPayload(payload);
    drag->setPixmap(dragPreview());
    drag->setHotSpot(QPoint(kInset + 8, kPreviewHeight / 2));
    // The page view holds back refreshes until the drag is over, so this row outlives it.
    drag->exec(Qt::MoveAction);
    drag->deleteLater();
    state.setPayload(nullptr);
    state.setDraggingId({});
    state.setSourceRunning(false);
}

QPixmap TaskRow::dragPreview() const
{
    const qreal ratio = devicePixelRatioF();
    const int width = std::min(kPreviewWidth, std::max(this->width(), 200));
    QPixmap pixmap(QSize(width, kPreviewHeight) * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF card = QRectF(0, 0, width, kPreviewHeight).adjusted(0.5, 0.5, -0.5, -0.5);
    painter.setPen(QPen(Theme::hair, 1));
    painter.setBrush(Theme::card);
    painter.drawRoundedRect(card, kRadius, kRadius);
    const qreal boxTop = (kPreviewHeight - kBoxSide) / 2;
    TaskBox::paint(painter, QRectF(kInset, boxTop, kBoxSide, kBoxSide), false, false, false);

    qreal right = width - kInset;
    if (m_content.hasProject) {
        const QPixmap tag = m_trailing->tag()->grab();
        const QSizeF size = QSizeF(tag.size()) / tag.devicePixelRatio();
        right -= size.width();
        painter.drawPixmap(QPointF(right, (kPreviewHeight - size.height()) / 2), tag);
        right -= 10;
    }
    const qreal left = kInset + kBoxSide + 10;
    painter.setFont(Theme::taskQuick());
    painter.setPen(Theme::ink);
    const QString title
        = painter.fontMetrics().elidedText(m_content.title, Qt::ElideRight, int(right - left));
    painter.drawText(QRectF(left, 0, right - left, kPreviewHeight), Qt::AlignVCenter, title);
    return pixmap;
}

void TaskRow::dragEnterEvent(QDragEnterEvent *event)
{
    if (m_drop)
        m_drop->dragEnter(event);
}

void TaskRow::dragMoveEvent(QDragMoveEvent *event)
{
    if (m_drop)
        m_drop->dragMove(event);
}

void TaskRow::dragLeaveEvent(QDragLeaveEvent *)
{
    if (m_drop)
        m_drop->dragLeave();
}

void TaskRow::dropEvent(QDropEvent *event)
{
    if (m_drop)
        m_drop->drop(event);
}

} // namespace furrow
