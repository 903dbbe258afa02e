#include "views/widgets/FlashHighlight.h"

#include "views/theme/Motion.h"
#include "views/theme/Theme.h"

#include <QEvent>
#include <QPainter>
#include <QTimer>

namespace furrow {

namespace {
constexpr qreal kStartOpacity = 0.55;
}

FlashHighlight::FlashHighlight(QWidget *target)
    : QWidget(target)
{
    setObjectName(QStringLiteral("flashHighlight"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setGeometry(target->rect());
    target->installEventFilter(this);
    m_fade.setStartValue(kStartOpacity);
    m_fade.setEndValue(0.0);
    m_fade.setDuration(Motion::kFlashMs);
    m_fade.setEasingCurve(QEasingCurve::InQuad);
    connect(&m_fade, &QVariantAnimation::valueChanged, this, qOverload<>(&QWidget::update));
    connect(&m_fade, &QVariantAnimation::finished, this, &QObject::deleteLater);
    if (Motion::reduceMotion())
        QTimer::singleShot(Motion::kFlashMs, this, &QObject::deleteLater);
    else
        m_fade.start();
    show();
    raise();
}

void FlashHighlight::flash(QWidget *target)
{
    // A second flash on the same widget starts afresh.
    delete target->findChild<FlashHighlight *>(QString(), Qt::FindDirectChildrenOnly);
    new FlashHighlight(target);
}

bool FlashHighlight::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Resize)
        setGeometry(static_cast<QWidget *>(watched)->rect());
    return false;
}

void FlashHighlight::paintEvent(QPaintEvent *)
{
    const qreal opacity = m_fade.state() == QAbstractAnimation::Running
                              ? m_fade.currentValue().toReal()
                              : kStartOpacity;
    QPainter painter(this);
    painter.fillRect(rect(), Theme::withOpacity(Theme::bright, opacity));
}

} // namespace furrow
