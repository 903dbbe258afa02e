#pragma once

#include <QEasingCurve>
#include <QObject>
#include <QVariantAnimation>

namespace furrow {

// A value between 0 and 1 that eases towards its target over a fixed time, or jumps there at
// once when motion is reduced. Hover fades, pill states and popups run on it.
class EasedValue : public QObject
{
    Q_OBJECT

public:
    EasedValue(int durationMs, QEasingCurve::Type easing, QObject *parent = nullptr);

    qreal value() const { return m_value; }
    qreal target() const { return m_target; }
    bool isRunning() const;

    void setTarget(qreal target);
    void jumpTo(qreal value);

Q_SIGNALS:
    void valueChanged(qreal value);
    // The value reached its target.
    void settled(qreal value);

private:
    QVariantAnimation m_animation;
    qreal m_value = 0;
    qreal m_target = 0;
};

} // namespace furrow
