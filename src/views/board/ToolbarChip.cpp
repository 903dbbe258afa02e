#include "views/board/ToolbarChip.h"

#include "views/theme/EasedValue.h"
#include "views/theme/Icon.h"
#include "views/theme/Motion.h"
#include "views/theme/Theme.h"

#include <QPainter>

namespace furrow {

namespace {
constexpr qreal kSymbol = 13;
constexpr int kPadding = 11;
constexpr int kIconGap = 6;
constexpr int kSquareWidth = 30;
constexpr qreal kMarkRadius = 3;
constexpr qreal kMarkInset = 6;
} // namespace

ToolbarChip::ToolbarChip(const QString &symbol, const QString &label, const QString &help,
                         bool bordered, QWidget *parent)
    : QAbstractButton(parent)
    , m_symbol(symbol)
    , m_bordered(bordered)
    , m_hover(new EasedValue(Motion::kHoverMs, Motion::kHoverEasing, this))
{
    setText(label);
    setToolTip(help);
    setAccessibleName(label.isEmpty() ? help : label);
    setFont(Theme::sans(13, QFont::Medium));
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::TabFocus);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    connect(m_hover, &EasedValue::valueChanged, this, qOverload<>(&QWidget::update));
}

void ToolbarChip::setSymbol(const QString &symbol)
{
    m_symbol = symbol;
    update();
}

void ToolbarChip::setLabel(const QString &label)
{
    setText(label);
    updateGeometry();
    update();
}

void ToolbarChip::setHelp(const QString &help)
{
    setToolTip(help);
    if (text().isEmpty())
        setAccessibleName(help);
}

void ToolbarChip::setBordered(bool bordered)
{
    m_bordered = bordered;
    update();
}

void ToolbarChip::setMarked(bool marked)
{
    m_marked = marked;
    update();
}

qreal ToolbarChip::hoverProgress() const
{
    return m_hover->value();
}

QSize ToolbarChip::sizeHint() const
{
    if (text().isEmpty())
        return {kSquareWidth, kHeight};
    const qreal label = QFontMetricsF(font()).horizontalAdvance(text());
    return {qCeil(kPadding + kSymbol + kIconGap + label + kPadding), kHeight};
}

void ToolbarChip::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    if (!isEnabled())
        painter.setOpacity(0.4);
    const QRectF capsule = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    const qreal radius = capsule.height() / 2;
    const qreal hover = isEnabled() ? m_hover->value() : 0;
    const bool keyboardFocus = hasFocus() && window()->testAttribute(Qt::WA_KeyboardFocusChange);
    painter.setBrush(Theme::withOpacity(isDown() ? Theme::hoverDeep : Theme::hover, hover));
    if (keyboardFocus)
        painter.setPen(QPen(Theme::withOpacity(Theme::pine, 0.5), 1.5));
    else if (m_bordered)
        painter.setPen(QPen(Theme::withOpacity(Theme::line, 0.55), 1));
    else
        painter.setPen(Qt::NoPen);
    painter.drawRoundedRect(capsule, radius, radius);

    if (m_marked)
        paintMark(painter);
    const QColor color = Theme::blend(Theme::gray, Theme::ink, hover);
    if (text().isEmpty()) {
        Icon::paintSymbol(painter, rect(), m_symbol, kSymbol, color);
        return;
    }
    Icon::paintSymbol(painter, QRectF(kPadding, 0, kSymbol, height()), m_symbol, kSymbol, color);
    painter.setPen(color);
    const qreal x = kPadding + kSymbol + kIconGap;
    painter.drawText(QRectF(x, 0, width() - x, height()), Qt::AlignLeft | Qt::AlignVCenter, text());
}

void ToolbarChip::paintMark(QPainter &painter) const
{
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setBrush(Theme::clay);
    painter.drawEllipse(QPointF(width() - kMarkInset, kMarkInset), kMarkRadius, kMarkRadius);
    painter.restore();
}

void ToolbarChip::enterEvent(QEnterEvent *event)
{
    QAbstractButton::enterEvent(event);
    m_hover->setTarget(1);
}

void ToolbarChip::leaveEvent(QEvent *event)
{
    QAbstractButton::leaveEvent(event);
    m_hover->setTarget(0);
}

} // namespace furrow
