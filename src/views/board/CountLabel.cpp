#include "views/board/CountLabel.h"

#include "views/theme/Theme.h"

#include <QPainter>

namespace furrow {

CountLabel::CountLabel(QWidget *parent)
    : QWidget(parent)
{
    setFont(Theme::small());
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void CountLabel::setCount(qint64 count)
{
    if (count == m_count)
        return;
    const bool widthChanges = text().size() != QString::number(count).size();
    m_count = count;
    setAccessibleName(text());
    if (widthChanges)
        updateGeometry();
    update();
}

qreal CountLabel::digitWidth() const
{
    const QFontMetricsF metrics(font());
    qreal widest = 0;
    for (char digit = '0'; digit <= '9'; ++digit)
        widest = std::max(widest, metrics.horizontalAdvance(QLatin1Char(digit)));
    return widest;
}

QSize CountLabel::sizeHint() const
{
    return {qCeil(digitWidth() * text().size()), qCeil(QFontMetricsF(font()).height())};
}

void CountLabel::paintEvent(QPaintEvent *)
{
    if (isTransparent())
        return;
    QPainter painter(this);
    painter.setPen(Theme::muted);
    const qreal cell = digitWidth();
    const QString digits = text();
    for (qsizetype i = 0; i < digits.size(); ++i)
        painter.drawText(QRectF(i * cell, 0, cell, height()), Qt::AlignCenter, digits.mid(i, 1));
}

} // namespace furrow
