#include "views/menus/MenuRow.h"

#include "views/theme/Icon.h"
#include "views/theme/Theme.h"

#include <QKeyEvent>
#include <QPainter>

namespace furrow {

namespace {
constexpr int kPadX = 10;
constexpr int kPadY = 7;
constexpr qreal kSlot = 14;
constexpr qreal kSlotGap = 8;
constexpr qreal kCheck = 12;
} // namespace

MenuRow::MenuRow(const QString &title, const QString &symbol, QWidget *parent)
    : QAbstractButton(parent)
    , m_symbol(symbol)
{
    setText(title);
    setFont(Theme::small());
    setAttribute(Qt::WA_Hover);
    setFocusPolicy(Qt::StrongFocus);
    // Checked only shows a check mark; a click never toggles it.
    setCheckable(true);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void MenuRow::setDestructive(bool destructive)
{
    m_destructive = destructive;
    update();
}

void MenuRow::setDot(const std::optional<QColor> &color)
{
    m_dot = color;
    update();
}

void MenuRow::setTitleColor(const QColor &color)
{
    m_titleColor = color;
    update();
}

QColor MenuRow::titleColor() const
{
    if (!isEnabled())
        return Theme::muted;
    if (m_destructive)
        return Theme::clay;
    return m_titleColor.value_or(Theme::ink);
}

bool MenuRow::isHighlighted() const
{
    // Only the row with the focus can be the current one, so the pointer's row and the
    // keyboard's are never lit at once.
    const bool current
        = m_pointerMadeCurrent || window()->testAttribute(Qt::WA_KeyboardFocusChange);
    return isEnabled() && hasFocus() && current;
}

bool MenuRow::event(QEvent *event)
{
    switch (event->type()) {
    case QEvent::HoverEnter:
    case QEvent::HoverMove:
        // The pointer makes the row it moves over current; the arrow keys go on from there.
        if (isEnabled() && !(hasFocus() && m_pointerMadeCurrent)) {
            m_pointerMadeCurrent = true;
            setFocus(Qt::MouseFocusReason);
            update();
        }
        break;
    case QEvent::HoverLeave:
    case QEvent::FocusOut:
        m_pointerMadeCurrent = false;
        update();
        break;
    default:
        break;
    }
    return QAbstractButton::event(event);
}

QSize MenuRow::sizeHint() const
{
    const QFontMetricsF metrics(font());
    qreal width = kPadX * 2 + metrics.horizontalAdvance(text());
    if (!m_symbol.isEmpty() || m_dot)
        width += kSlot + kSlotGap;
    if (isChecked())
        width += kSlotGap + kCheck;
    return {qCeil(width), qCeil(metrics.height()) + kPadY * 2};
}

void MenuRow::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    if (isHighlighted()) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(Theme::withOpacity(Theme::bright, 0.5));
        painter.drawRoundedRect(QRectF(rect()), 6, 6);
    }
    const QColor color = titleColor();
    qreal x = kPadX;
    const QRectF slot(x, 0, kSlot, height());
    if (m_dot) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(*m_dot);
        painter.drawEllipse(QRectF(slot.center().x() - 4, slot.center().y() - 4, 8, 8));
    } else if (!m_symbol.isEmpty()) {
        Icon::paintSymbol(painter, slot, m_symbol, 13, color);
    }
    if (m_dot || !m_symbol.isEmpty())
        x += kSlot + kSlotGap;
    qreal right = width() - kPadX;
    if (isChecked()) {
        Icon::paintSymbol(painter, QRectF(right - kCheck, 0, kCheck, height()),
                          QStringLiteral("checkmark"), kCheck, color, Icon::Weight::Bold);
        right -= kCheck + kSlotGap;
    }
    painter.setPen(color);
    const QString title = QFontMetricsF(font()).elidedText(text(), Qt::ElideRight, right - x);
    painter.drawText(QRectF(x, 0, right - x, height()), Qt::AlignLeft | Qt::AlignVCenter, title);
}

void MenuRow::nextCheckState() {}

void MenuRow::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        click();
        return;
    case Qt::Key_Down:
    case Qt::Key_Up:
        // The row the keys reach is lit even when the menu was opened with the pointer.
        window()->setAttribute(Qt::WA_KeyboardFocusChange);
        if (event->key() == Qt::Key_Down)
            focusNextChild();
        else
            focusPreviousChild();
        return;
    default:
        QAbstractButton::keyPressEvent(event);
    }
}

} // namespace furrow
