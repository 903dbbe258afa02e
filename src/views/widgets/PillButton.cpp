#include "views/widgets/PillButton.h"

#include "views/theme/EasedValue.h"
#include "views/theme/Icon.h"
#include "views/theme/Motion.h"
#include "views/theme/Theme.h"

#include <QEvent>
#include <QKeyEvent>
#include <QPainter>

namespace furrow {

namespace {
constexpr qreal kIconGap = 6;
} // namespace

PillButton::PillButton(const QString &title, Kind kind, QWidget *parent)
    : QPushButton(title, parent)
    , m_kind(kind)
    , m_active(new EasedValue(Motion::kHoverMs, Motion::kHoverEasing, this))
{
    setCursor(Qt::PointingHandCursor);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setAutoDefault(false);
    setFont(labelFont());
    connect(m_active, &EasedValue::valueChanged, this, qOverload<>(&QWidget::update));
    connect(this, &QAbstractButton::pressed, this, &PillButton::updateActive);
    connect(this, &QAbstractButton::released, this, &PillButton::updateActive);
    connect(this, &QAbstractButton::toggled, this, &PillButton::updateActive);
}

void PillButton::setKind(Kind kind)
{
    m_kind = kind;
    update();
}

void PillButton::setCompact(bool compact)
{
    m_compact = compact;
    setFont(labelFont());
    updateGeometry();
    update();
}

void PillButton::setSymbol(const QString &symbol)
{
    m_symbol = symbol;
    updateGeometry();
    update();
}

qreal PillButton::iconSize() const
{
    return m_symbol.isEmpty() ? 0 : QFontMetricsF(font()).height() * 0.8;
}

qreal PillButton::contentWidth() const
{
    const qreal icon = iconSize();
    return QFontMetricsF(font()).horizontalAdvance(text()) + (icon > 0 ? icon + kIconGap : 0);
}

qreal PillButton::activeness() const
{
    return m_active->value();
}

QFont PillButton::labelFont() const
{
    return Theme::sans(m_compact ? 12.5 : 14, QFont::Medium);
}

QMargins PillButton::padding() const
{
    return m_compact ? QMargins(14, 8, 14, 8) : QMargins(20, 11, 20, 11);
}

QSize PillButton::sizeHint() const
{
    const QFontMetricsF metrics(font());
    const QMargins pad = padding();
    return {qCeil(contentWidth()) + pad.left() + pad.right(),
            qCeil(metrics.height()) + pad.top() + pad.bottom()};
}

PillButton::Colors PillButton::colorsAt(qreal t) const
{
    switch (m_kind) {
    case Kind::Primary: {
        const QColor fill = Theme::blend(Theme::bright, Theme::brightDeep, t);
        return {Theme::pine, fill, fill};
    }
    case Kind::Quiet:
        return {Theme::gray, Theme::withOpacity(Theme::hair, 0.7 * t), Qt::transparent};
    case Kind::Normal:
        break;
    }
    return {Theme::ink, Theme::blend(Theme::card, Theme::hair, t),
            Theme::blend(Theme::line, Theme::pine, t)};
}

void PillButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    if (!isEnabled())
        painter.setOpacity(0.45);
    const Colors colors = colorsAt(m_active->value());
    const QRectF capsule = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    const qreal radius = capsule.height() / 2;
    painter.setPen(colors.outline.alpha() ? QPen(colors.outline, 1) : Qt::NoPen);
    painter.setBrush(colors.fill);
    painter.drawRoundedRect(capsule, radius, radius);
    if (hasFocus() && window()->testAttribute(Qt::WA_KeyboardFocusChange)) {
        painter.setPen(QPen(Theme::withOpacity(Theme::pine, 0.45), 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(capsule.adjusted(1.5, 1.5, -1.5, -1.5), radius - 1.5, radius - 1.5);
    }

    const qreal icon = iconSize();
    qreal x = (width() - contentWidth()) / 2;
    if (icon > 0) {
        Icon::paintSymbol(painter, QRectF(x, 0, icon, height()), m_symbol, icon, colors.text);
        x += icon + kIconGap;
    }
    painter.setPen(colors.text);
    painter.drawText(QRectF(x, 0, width() - x, height()), Qt::AlignLeft | Qt::AlignVCenter, text());
}

void PillButton::enterEvent(QEnterEvent *event)
{
    m_pointerInside = true;
    updateActive();
    QPushButton::enterEvent(event);
}

void PillButton::leaveEvent(QEvent *event)
{
    m_pointerInside = false;
    updateActive();
    QPushButton::leaveEvent(event);
}

void PillButton::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::EnabledChange)
        updateActive();
    QPushButton::changeEvent(event);
}

void PillButton::keyPressEvent(QKeyEvent *event)
{
    // Outside a dialog a push button leaves Return to its window; a pill with the keyboard's
    // focus is what the user means.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        click();
        return;
    }
    QPushButton::keyPressEvent(event);
}

void PillButton::updateActive()
{
    const bool active = isEnabled() && (m_pointerInside || isDown() || isChecked());
    m_active->setTarget(active ? 1 : 0);
}

} // namespace furrow
