#include "views/board/DragScroller.h"

#include "views/board/DragState.h"

#include <QDragMoveEvent>
#include <QGuiApplication>
#include <QMimeData>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>
#include <QWidget>
#include <QWindow>

namespace furrow {

namespace {
constexpr int kStepMs = 16;
constexpr int kBand = 56;   // how near the edge scrolling starts
constexpr int kSlowest = 2; // pixels per step at the band's inner end
constexpr int kFastest = 28;
} // namespace

DragScroller::DragScroller(QWidget *page, QScrollArea *scroll)
    : QObject(page)
    , m_page(page)
    , m_scroll(scroll)
    , m_timer(new QTimer(this))
{
    m_timer->setInterval(kStepMs);
    connect(m_timer, &QTimer::timeout, this, &DragScroller::step);
    DragState &state = DragState::shared();
    connect(&state, &DragState::hovered, this, &DragScroller::hover);
    connect(&state, &DragState::left, this, &DragScroller::leave);
    connect(&state, &DragState::sourceFinished, m_timer, &QTimer::stop);
    page->setAcceptDrops(true);
    page->installEventFilter(this);
}

bool DragScroller::eventFilter(QObject *watched, QEvent *event)
{
    // The page itself refuses drops (its handlers ignore them) but still hears where the
    // pointer is, above the rows and below the last block.
    if (watched == m_page) {
        if (event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove) {
            const auto *move = static_cast<QDragMoveEvent *>(event);
            hover(m_page, m_page->mapToGlobal(move->position().toPoint()));
        } else if (event->type() == QEvent::DragLeave) {
            leave(m_page);
        }
    }
    return QObject::eventFilter(watched, event);
}

void DragScroller::hover(QWidget *over, const QPoint &global)
{
    // Only a task dragged from the board scrolls it, and only over this page.
    if (DragState::shared().draggingId().isNull() || !over
        || (over != m_page && !m_page->isAncestorOf(over)))
        return;
    m_over = over;
    m_global = global;
    if (speed() == 0)
        m_timer->stop();
    else if (!m_timer->isActive())
        m_timer->start();
}

void DragScroller::leave(QWidget *over)
{
    if (over == m_over) {
        m_over = nullptr;
        m_timer->stop();
    }
}

int DragScroller::speed() const
{
    const QWidget *viewport = m_scroll->viewport();
    const int height = viewport->height();
    const int band = std::min(kBand, height / 4);
    if (band <= 0)
        return 0;
    const int y = viewport->mapFromGlobal(m_global).y();
    int depth = 0;
    if (y < band)
        depth = -(band - y);
    else if (y >= height - band)
        depth = y - (height - band) + 1;
    if (depth == 0)
        return 0;
    const qreal closeness = std::min<qreal>(1, qreal(std::abs(depth)) / band);
    const int pixels = qRound(kSlowest + (kFastest - kSlowest) * closeness * closeness);
    return depth < 0 ? -pixels : pixels;
}

void DragScroller::step()
{
    const int delta = speed();
    if (delta == 0 || !DragState::shared().isSourceRunning()) {
        m_timer->stop();
        return;
    }
    QScrollBar *bar = m_scroll->verticalScrollBar();
    const int before = bar->value();
    bar->setValue(before + delta);
    if (bar->value() != before)
        retarget();
}

void DragScroller::retarget()
{
    // The pointer stands still, so the window system sends no move; one is sent on its behalf
    // through the window, which finds the row now under the pointer and gives it the drag,
    // so that the drop goes there too.
    const QMimeData *payload = DragState::shared().payload();
    QWindow *handle = m_page->window()->windowHandle();
    if (!payload || !handle)
        return;
    QDragMoveEvent move(handle->mapFromGlobal(m_global), Qt::MoveAction, payload, Qt::LeftButton,
                        QGuiApplication::keyboardModifiers());
    QCoreApplication::sendEvent(handle, &move);
}

} // namespace furrow
