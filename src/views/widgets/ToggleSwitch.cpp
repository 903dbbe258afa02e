#include "views/widgets/ToggleSwitch.h"

#include "views/theme/EasedValue.h"
#include "views/theme/Motion.h"
#include "views/theme/Theme.h"

#include <QFocusEvent>
#include <QPainter>

namespace furrow {

namespace {
constexpr qreal kTrackWidth = 34;
constexpr qreal kTrackHeight = 20;
constexpr qreal kKnobInset = 2;
constexpr qreal kTextGap = 10;
} // namespace

ToggleSwitch::ToggleSwitch(const QString &text, const QColor &tint, QWidget *parent)
    : QAbstractButton(parent)
    , m_tint(tint)
    , m_on(new EasedValue(Motion::kEaseMs, Motion::kEaseOut, this))
{
    setText(text);
    setCheckable(true);
    setFont(Theme::body());
    setCursor(Qt::PointingHandCursor);
    // A click flips it without leaving a focus ring behind; Tab still reaches it.
    setFocusPolicy(Qt::TabFocus);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    connect(m_on, &EasedValue::valueChanged, this, qOverload<>(&QWidget::update));
    connect(this, &QAbstractButton::toggled, m_on, [this](bool on) {
        // Set up before it is shown, the switch starts where it is, without sliding.
        if (isVisible())
            m_on->setTarget(on ? 1 : 0);
        else
            m_on->jumpTo(on ? 1 : 0);
    });
}

QSize ToggleSwitch::sizeHint() const
{
    const QFontMetricsF metrics(font());
    const qreal width = metrics.horizontalAdvance(text()) + kTextGap + kTrackWidth + 2;
    const qreal height = std::max(metrics.height(), kTrackHeight + 4);
    return QSizeF(width, height).toSize() + QSize(1, 0);
}

QRectF ToggleSwitch::trackRect() const
{
    const qreal left = QFontMetricsF(font()).horizontalAdvance(text()) + kTextGap;
    return {left, (height() - kTrackHeight) / 2, kTrackWidth, kTrackHeight};
}

bool ToggleSwitch::hitButton(const QPoint &position) const
{
    return rect().contains(position);
}

void ToggleSwitch::focusInEvent(QFocusEvent *event)
{
    m_focusRing = event->reason() == Qt::TabFocusReason || event->reason() == Qt::BacktabFocusReason
                  || event->reason() == Qt::ShortcutFocusReason;
    QAbstractButton::focusInEvent(event);
}

void ToggleSwitch::focusOutEvent(QFocusEvent *event)
{
    m_focusRing = false;
    QAbstractButton::focusOutEvent(event);
}

void ToggleSwitch::paintTrack(QPainter &painter, const QRectF &track) const
{
    const qreal on = m_on->value();
    const qreal radius = track.height() / 2;
    painter.setPen(QPen(Theme::blend(Theme::line, m_tint, on), 1));
    painter.setBrush(Theme::blend(Theme::hair, m_tint, on));
    painter.drawRoundedRect(track.adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);

    const qreal knob = track.height() - 2 * kKnobInset;
    const qreal travel = track.width() - 2 * kKnobInset - knob;
    const QRectF knobRect(track.left() + kKnobInset + travel * on, track.top() + kKnobInset, knob,
                          knob);
    painter.setPen(QPen(Theme::withOpacity(Theme::ink, 0.18), 0.75));
    painter.setBrush(Theme::card);
    painter.drawEllipse(knobRect);
}

void ToggleSwitch::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    if (!isEnabled())
        painter.setOpacity(0.5);
    painter.setFont(font());
    painter.setPen(Theme::ink);
    const QRectF track = trackRect();
    painter.drawText(QRectF(0, 0, track.left() - kTextGap, height()),
                     Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text());
    paintTrack(painter, track);
    if (m_focusRing && hasFocus()) {
        const qreal radius = track.height() / 2 + 2;
        painter.setPen(QPen(Theme::pine, 1.5));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(track.adjusted(-2, -2, 2, 2), radius, radius);
    }
}

} // namespace furrow
