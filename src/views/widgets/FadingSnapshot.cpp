#include "views/widgets/FadingSnapshot.h"

#include "views/theme/EasedValue.h"
#include "views/theme/Motion.h"

#include <QPainter>

namespace furrow {

FadingSnapshot::FadingSnapshot(QWidget *target, int durationMs)
    : QWidget(target->parentWidget())
    , m_picture(target->grab())
    , m_opacity(new EasedValue(durationMs, Motion::kEaseOut, this))
{
    // A sibling made later stacks above the target, and stays there when the target's own
    // children are replaced.
    setGeometry(target->geometry());
    setAttribute(Qt::WA_TransparentForMouseEvents);
    connect(m_opacity, &EasedValue::valueChanged, this, qOverload<>(&QWidget::update));
    m_opacity->jumpTo(1);
    connect(m_opacity, &EasedValue::settled, this, &QObject::deleteLater);
    m_opacity->setTarget(0);
    show();
}

void FadingSnapshot::cover(QWidget *target, int durationMs)
{
    if (Motion::reduceMotion() || !target->parentWidget() || !target->isVisible())
        return;
    new FadingSnapshot(target, durationMs);
}

void FadingSnapshot::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setOpacity(m_opacity->value());
    painter.drawPixmap(0, 0, m_picture);
}

} // namespace furrow
