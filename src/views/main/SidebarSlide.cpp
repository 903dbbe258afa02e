#include "views/main/SidebarSlide.h"

#include "views/theme/Motion.h"

#include <QVariantAnimation>

namespace furrow {

SidebarSlide::SidebarSlide(QWidget *sidebar, QWidget *parent)
    : QWidget(parent)
    , m_sidebar(sidebar)
    , m_animation(new QVariantAnimation(this))
{
    sidebar->setParent(this);
    m_animation->setDuration(Motion::kSlideMs);
    m_animation->setEasingCurve(Motion::kEaseOut);
    connect(m_animation, &QVariantAnimation::valueChanged, this,
            [this](const QVariant &width) { setOpenWidth(width.toInt()); });
    connect(m_animation, &QAbstractAnimation::finished, this, [this] {
        // A slid-out sidebar leaves the focus chain.
        m_sidebar->setVisible(m_shown);
    });
    setOpenWidth(sidebar->width());
}

bool SidebarSlide::isSliding() const
{
    return m_animation->state() == QAbstractAnimation::Running;
}

void SidebarSlide::setShown(bool shown, bool animated)
{
    m_shown = shown;
    const int target = shown ? m_sidebar->width() : 0;
    m_animation->stop();
    if (!animated || Motion::reduceMotion() || !isVisible()) {
        setOpenWidth(target);
        m_sidebar->setVisible(shown);
        return;
    }
    m_sidebar->show();
    m_animation->setStartValue(width());
    m_animation->setEndValue(target);
    m_animation->start();
}

void SidebarSlide::setOpenWidth(int width)
{
    setFixedWidth(width);
    m_sidebar->move(width - m_sidebar->width(), 0);
    Q_EMIT slid();
}

void SidebarSlide::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    m_sidebar->setGeometry(width() - m_sidebar->width(), 0, m_sidebar->width(), height());
}

} // namespace furrow
