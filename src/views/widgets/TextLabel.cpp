#include "views/widgets/TextLabel.h"

#include <QPainter>

namespace furrow {

TextLabel::TextLabel(const QString &text, const QFont &font, const QColor &color, QWidget *parent)
    : QLabel(text, parent)
{
    setFont(font);
    setColor(color);
}

void TextLabel::setColor(const QColor &color)
{
    QPalette colors = palette();
    colors.setColor(QPalette::WindowText, color);
    setPalette(colors);
}

QColor TextLabel::color() const
{
    return palette().color(QPalette::WindowText);
}

void TextLabel::setElided(bool elided)
{
    m_elided = elided;
    setWordWrap(false);
    setSizePolicy(elided ? QSizePolicy::Ignored : QSizePolicy::Preferred, QSizePolicy::Preferred);
    updateGeometry();
    update();
}

QSize TextLabel::minimumSizeHint() const
{
    if (!m_elided)
        return QLabel::minimumSizeHint();
    return {0, QLabel::minimumSizeHint().height()};
}

QString TextLabel::shownText() const
{
    if (!m_elided)
        return text();
    return fontMetrics().elidedText(text(), Qt::ElideRight, contentsRect().width());
}

void TextLabel::paintEvent(QPaintEvent *event)
{
    if (!m_elided) {
        QLabel::paintEvent(event);
        return;
    }
    QPainter painter(this);
    painter.setPen(color());
    painter.drawText(contentsRect(), int(alignment()) | Qt::TextSingleLine, shownText());
}

} // namespace furrow
