#include "views/sidebar/SidebarFootButton.h"

#include "views/theme/Icon.h"
#include "views/theme/Theme.h"

#include <QPainter>

namespace furrow {

namespace {
constexpr qreal kIcon = 16;
constexpr qreal kGap = 7;
constexpr int kPadding = 8;
constexpr int kHeight = 30;
} // namespace

SidebarFootButton::SidebarFootButton(const QString &pageIcon, const QString &title, QWidget *parent)
    : QAbstractButton(parent)
    , m_pageIcon(pageIcon)
{
    setText(title);
    setFont(Theme::small());
    setAttribute(Qt::WA_Hover);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::TabFocus);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

QSize SidebarFootButton::sizeHint() const
{
    const qreal title = QFontMetricsF(font()).horizontalAdvance(text());
    return {qCeil(kPadding + kIcon + kGap + title + kPadding), kHeight};
}

void SidebarFootButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const bool keyboardFocus = hasFocus() && window()->testAttribute(Qt::WA_KeyboardFocusChange);
    if (underMouse() || isDown() || keyboardFocus) {
        painter.setPen(keyboardFocus ? QPen(Theme::withOpacity(Theme::pine, 0.45), 1.5)
                                     : Qt::NoPen);
        painter.setBrush(isDown() ? Theme::hoverDeep : Theme::hover);
        painter.drawRoundedRect(QRectF(rect()).adjusted(0.75, 0.75, -0.75, -0.75), 7, 7);
    }
    const QColor tint = underMouse() ? Theme::ink : Theme::withOpacity(Theme::gray, 0.8);
    Icon::paintPageIcon(painter, QRectF(kPadding, 0, kIcon, height()), m_pageIcon, kIcon, tint);
    painter.setPen(underMouse() ? Theme::ink : Theme::gray);
    const qreal x = kPadding + kIcon + kGap;
    painter.drawText(QRectF(x, 0, width() - x, height()), Qt::AlignLeft | Qt::AlignVCenter, text());
}

} // namespace furrow
