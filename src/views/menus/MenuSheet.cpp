#include "views/menus/MenuSheet.h"

#include "views/menus/MenuController.h"
#include "views/menus/MenuRow.h"
#include "views/theme/Theme.h"

#include <QPainter>
#include <QVBoxLayout>

namespace furrow {

MenuSheet::MenuSheet(MenuController *menus, QWidget *parent)
    : QWidget(parent)
    , m_menus(menus)
    , m_layout(new QVBoxLayout(this))
{
    m_layout->setContentsMargins(0, 0, 0, 0);
    m_layout->setSpacing(0);
}

MenuRow *MenuSheet::addRow(const QString &title, const QString &symbol,
                           std::function<void()> action)
{
    auto *row = new MenuRow(title, symbol, this);
    m_layout->addWidget(row);
    connect(row, &QAbstractButton::clicked, this, [menus = m_menus, action = std::move(action)] {
        // Closing first: the action may open another popup or remove this row's record.
        if (menus)
            menus->close();
        if (action)
            action();
    });
    return row;
}

void MenuSheet::addCaption(const QString &text)
{
    m_layout->addWidget(new MenuCaption(text, this));
}

void MenuSheet::addDivider()
{
    m_layout->addWidget(new MenuDivider(this));
}

void MenuSheet::addWidget(QWidget *widget)
{
    m_layout->addWidget(widget);
}

MenuCaption::MenuCaption(const QString &text, QWidget *parent)
    : QWidget(parent)
    , m_text(text)
{
    setFont(Theme::small());
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

QSize MenuCaption::sizeHint() const
{
    const QFontMetricsF metrics(font());
    return {qCeil(metrics.horizontalAdvance(m_text)) + 20, qCeil(metrics.height()) + 10};
}

void MenuCaption::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setPen(Theme::muted);
    painter.drawText(QRectF(rect()).adjusted(10, 0, -10, 0), Qt::AlignLeft | Qt::AlignVCenter,
                     m_text);
}

MenuDivider::MenuDivider(QWidget *parent)
    : QWidget(parent)
{
    setFixedHeight(9);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void MenuDivider::paintEvent(QPaintEvent *)
{
    QPainter(this).fillRect(QRect(6, height() / 2, width() - 12, 1), Theme::hair);
}

} // namespace furrow
