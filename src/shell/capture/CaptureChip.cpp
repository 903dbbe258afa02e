#include "shell/capture/CaptureChip.h"

#include "views/theme/Theme.h"

#include <QPainter>

namespace furrow {

namespace {
constexpr qreal kDot = 7;
constexpr qreal kDotGap = 7;
constexpr qreal kPadding = 13;
} // namespace

CaptureChip::CaptureChip(const QString &label, std::optional<QColor> dot, QWidget *parent)
    : QAbstractButton(parent)
    , m_dot(dot)
{
    setText(label);
    setCheckable(true);
    setFont(Theme::sans(13, QFont::Medium));
    // The bar gives one chip at a time a place in the Tab order; a click leaves the focus in
    // the text field.
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_Hover);
    setCursor(Qt::PointingHandCursor);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

qreal CaptureChip::leadingWidth() const
{
    return m_dot ? kDot + kDotGap : 0;
}

QSize CaptureChip::sizeHint() const
{
    const qreal textWidth = QFontMetricsF(font()).horizontalAdvance(text());
    return {qCeil(kPadding + leadingWidth() + textWidth + kPadding), kHeight};
}

void CaptureChip::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const bool selected = isChecked();
    const bool hovered = underMouse() && !selected;
    QColor fill = selected ? Theme::bright : hovered ? Theme::hair : Theme::card;
    QColor outline = selected ? Theme::bright : hovered ? Theme::line : Theme::hair;
    if (isDown()) {
        fill = selected ? Theme::brightDeep : Theme::hoverDeep;
        outline = selected ? Theme::brightDeep : Theme::pine;
    }
    const QRectF capsule = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    painter.setPen(QPen(outline, 1));
    painter.setBrush(fill);
    painter.drawRoundedRect(capsule, capsule.height() / 2, capsule.height() / 2);
    if (hasFocus() && window()->testAttribute(Qt::WA_KeyboardFocusChange)) {
        painter.setPen(QPen(Theme::withOpacity(Theme::pine, 0.45), 2));
        painter.setBrush(Qt::NoBrush);
        const QRectF ring = capsule.adjusted(1.5, 1.5, -1.5, -1.5);
        painter.drawRoundedRect(ring, ring.height() / 2, ring.height() / 2);
    }

    qreal x = kPadding;
    if (m_dot) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(*m_dot);
        painter.drawEllipse(QRectF(x, (height() - kDot) / 2, kDot, kDot));
        x += kDot + kDotGap;
    }
    painter.setPen(selected ? Theme::pine : Theme::gray);
    painter.drawText(QRectF(x, 0, width() - x, height()), Qt::AlignLeft | Qt::AlignVCenter, text());
}

} // namespace furrow
