#include "views/widgets/ProjectTag.h"

#include "model/Project.h"
#include "views/theme/Theme.h"

#include <QPainter>

namespace furrow {

namespace {
constexpr qreal kDot = 7;
constexpr qreal kGap = 5;
constexpr int kPadding = 8;
} // namespace

ProjectTag::ProjectTag(QWidget *parent)
    : QAbstractButton(parent)
    , m_color(Theme::muted)
{
    setFont(Theme::sans(11));
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_Hover);
    setCursor(Qt::PointingHandCursor);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void ProjectTag::setProject(const Project &project)
{
    setProject(project.name(), Theme::colorFromHex(project.colorHex()).value_or(Theme::muted));
}

void ProjectTag::setProject(const QString &name, const QColor &color)
{
    setText(name);
    m_color = color;
    updateGeometry();
    update();
}

QSize ProjectTag::sizeHint() const
{
    const QFontMetricsF metrics(font());
    const qreal width = kPadding + kDot + kGap + metrics.horizontalAdvance(text()) + kPadding;
    return {qCeil(width), qCeil(metrics.height()) + 6};
}

void ProjectTag::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF capsule = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    const qreal radius = capsule.height() / 2;
    painter.setPen(QPen(underMouse() ? Theme::line : Theme::hair, 1));
    painter.setBrush(underMouse() ? Theme::hover : QColor(Qt::transparent));
    painter.drawRoundedRect(capsule, radius, radius);

    painter.setPen(Qt::NoPen);
    painter.setBrush(m_color);
    painter.drawEllipse(QRectF(kPadding, (height() - kDot) / 2, kDot, kDot));

    painter.setPen(Theme::gray);
    const qreal textX = kPadding + kDot + kGap;
    painter.drawText(QRectF(textX, 0, width() - textX, height()), Qt::AlignLeft | Qt::AlignVCenter,
                     text());
}

} // namespace furrow
