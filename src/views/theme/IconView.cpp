#include "views/theme/IconView.h"

#include "views/theme/Theme.h"

#include <QPainter>

namespace furrow {

IconView::IconView(QWidget *parent)
    : QWidget(parent)
    , m_color(Theme::ink)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

IconView *IconView::symbol(const QString &symbol, qreal size, const QColor &color, QWidget *parent)
{
    auto *view = new IconView(parent);
    view->setSymbol(symbol);
    view->setIconSize(size);
    view->setColor(color);
    return view;
}

IconView *IconView::pageIcon(const QString &name, qreal size, const QColor &color, QWidget *parent)
{
    auto *view = new IconView(parent);
    view->setPageIcon(name);
    view->setIconSize(size);
    view->setColor(color);
    return view;
}

void IconView::setSymbol(const QString &symbol, Icon::Weight weight)
{
    m_name = symbol;
    m_isPageIcon = false;
    m_weight = weight;
    update();
}

void IconView::setPageIcon(const QString &name)
{
    m_name = name;
    m_isPageIcon = true;
    update();
}

void IconView::setColor(const QColor &color)
{
    m_color = color;
    update();
}

void IconView::setIconSize(qreal size)
{
    m_size = size;
    updateGeometry();
    update();
}

QSize IconView::sizeHint() const
{
    const int side = qCeil(m_size);
    return {side, side};
}

void IconView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    if (m_isPageIcon)
        Icon::paintPageIcon(painter, rect(), m_name, m_size, m_color);
    else
        Icon::paintSymbol(painter, rect(), m_name, m_size, m_color, m_weight);
}

} // namespace furrow
