#include "views/theme/EasedValue.h"

#include "views/theme/Motion.h"

namespace furrow {

EasedValue::EasedValue(int durationMs, QEasingCurve::Type easing, QObject *parent)
    : QObject(parent)
{
    m_animation.setDuration(durationMs);
    m_animation.setEasingCurve(easing);
    connect(&m_animation, &QVariantAnimation::valueChanged, this, [this](const QVariant &value) {
        m_value = value.toReal();
        Q_EMIT valueChanged(m_value);
    });
    connect(&m_animation, &QVariantAnimation::finished, this, [this] { Q_EMIT settled(m_value); });
}

bool EasedValue::isRunning() const
{
    return m_animation.state() == QAbstractAnimation::Running;
}

void EasedValue::setTarget(qreal target)
{
    if (target == m_target && (isRunning() || m_value == target))
        return;
    m_target = target;
    if (Motion::reduceMotion()) {
        jumpTo(target);
        return;
    }
    m_animation.stop();
    m_animation.setStartValue(m_value);
    m_animation.setEndValue(target);
    m_animation.start();
}

void EasedValue::jumpTo(qreal value)
{
    m_animation.stop();
    m_target = value;
    m_value = value;
    Q_EMIT valueChanged(m_value);
    Q_EMIT settled(m_value);
}

} // namespace furrow
