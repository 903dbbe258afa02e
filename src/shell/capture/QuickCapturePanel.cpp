#include "shell/capture/QuickCapturePanel.h"

#include "shell/capture/CompositingWatch.h"
#include "shell/capture/PanelActivation.h"
#include "views/theme/Theme.h"

#include <QBitmap>
#include <QCursor>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QVBoxLayout>

namespace furrow {

namespace {
constexpr qreal kOutline = 1.5;
} // namespace

QRect panelGeometry(const QRect &available)
{
    const QSize size = QuickCapturePanel::kSize;
    const qreal centreX = available.x() + available.width() / 2.0;
    const qreal centreY = available.y() + available.height() / 2.0;
    const qreal top = centreY - 0.12 * available.height() - size.height() / 2.0;
    return {qRound(centreX - size.width() / 2.0), qRound(top), size.width(), size.height()};
}

QuickCapturePanel::QuickCapturePanel(QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
    , m_compositing(new CompositingWatch(this))
{
    setObjectName(QStringLiteral("quickCapturePanel"));
    setWindowTitle(QStringLiteral("Quick Capture"));
    setAttribute(Qt::WA_TranslucentBackground);
    setFixedSize(kSize);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(kCardInset, kCardInset, kCardInset, kCardInset);
    connect(m_compositing, &CompositingWatch::changed, this, &QuickCapturePanel::followCompositing);
    followCompositing();
}

void QuickCapturePanel::setContent(QWidget *content)
{
    // The old content goes later, not now: this may run inside one of its signals.
    if (m_content) {
        m_content->hide();
        m_content->setParent(nullptr);
        m_content->deleteLater();
    }
    m_content = content;
    layout()->addWidget(content);
}

void QuickCapturePanel::show(const QByteArray &activationToken)
{
    // Unmapped and mapped again, the window comes back on every workspace.
    if (isVisible() && !PanelActivation::isOnCurrentWorkspace(*this))
        hide();
    m_compositing->recheck();
    QScreen *screen = QGuiApplication::screenAt(QCursor::pos());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (screen)
        setGeometry(panelGeometry(screen->availableGeometry()));
    PanelActivation::beforeShow(*this, activationToken);
    QWidget::show();
    raise();
    activateWindow();
    PanelActivation::afterShow(*this, activationToken);
}

QRectF QuickCapturePanel::cardRect() const
{
    return QRectF(rect()).adjusted(kCardInset, kCardInset, -kCardInset, -kCardInset);
}

void QuickCapturePanel::followCompositing()
{
    if (m_compositing->isActive()) {
        clearMask();
    } else {
        QBitmap shape(size());
        shape.fill(Qt::color0);
        QPainter painter(&shape);
        painter.setPen(Qt::NoPen);
        painter.setBrush(Qt::color1);
        painter.drawRoundedRect(cardRect(), kCardRadius, kCardRadius);
        painter.end();
        setMask(shape);
    }
    update();
}

void QuickCapturePanel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    const QRectF card = cardRect();
    if (m_compositing->isActive()) {
        // A soft shadow in the transparent margin.
        for (int spread = kCardInset; spread > 0; --spread) {
            painter.setBrush(Theme::withOpacity(Theme::ink, 0.005 * (kCardInset + 1 - spread)));
            const QRectF ring = card.adjusted(-spread, 2 - spread, spread, spread);
            painter.drawRoundedRect(ring, kCardRadius + spread, kCardRadius + spread);
        }
    } else {
        // Half-covered pixels along the cut edge would come out dark: the shape is solid card.
        painter.fillRect(rect(), Theme::card);
    }
    const qreal half = kOutline / 2;
    painter.setPen(QPen(Theme::withOpacity(Theme::pine, 0.35), kOutline));
    painter.setBrush(Theme::card);
    painter.drawRoundedRect(card.adjusted(half, half, -half, -half), kCardRadius, kCardRadius);
}

} // namespace furrow
