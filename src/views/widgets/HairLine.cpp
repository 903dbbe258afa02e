#include "views/widgets/HairLine.h"

#include "views/theme/Theme.h"

#include <QPainter>

namespace furrow {

HairLine::HairLine(QWidget *parent)
    : QWidget(parent)
{
    setFixedHeight(1);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void HairLine::setOpacity(qreal opacity)
{
    m_opacity = opacity;
    update();
}

void HairLine::paintEvent(QPaintEvent *)
{
    QPainter(this).fillRect(rect(), Theme::withOpacity(Theme::hair, m_opacity));
}

} // namespace furrow
