#include "views/menus/MenuHost.h"

#include "views/menus/MenuController.h"
#include "views/theme/EasedValue.h"
#include "views/theme/Motion.h"
#include "views/theme/Theme.h"

#include <QApplication>
#include <QGraphicsOpacityEffect>
#include <QKeyEvent>
#include <QPainter>
#include <QPainterPath>
#include <QVBoxLayout>

namespace furrow {

namespace {

constexpr qreal kMargin = 8;
constexpr qreal kGap = 6;
constexpr qreal kRadius = 12;
constexpr qreal kStartScale = 0.96;

// The popup's surface: card fill and a hairline outline.
class MenuCard : public QWidget
{
public:
    using QWidget::QWidget;

protected:
    // Clicks on the card's own padding must not reach the layer that closes the popup.
    void mousePressEvent(QMouseEvent *event) override { event->accept(); }

    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(Theme::hair, 1));
        painter.setBrush(Theme::card);
        painter.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), kRadius, kRadius);
    }
};

} // namespace

MenuHost::MenuHost(MenuController &menus, QWidget *window)
    : QWidget(window)
    , m_menus(menus)
    , m_window(window)
    , m_card(new MenuCard(this))
    , m_cardLayout(new QVBoxLayout(m_card))
    , m_appearance(new EasedValue(Motion::kPopupMs, Motion::kEaseOut, this))
{
    m_card->setObjectName(QStringLiteral("menuCard"));
    m_cardLayout->setContentsMargins(5, 5, 5, 5);
    m_cardLayout->setSpacing(0);
    m_cardLayout->setSizeConstraint(QLayout::SetNoConstraint);
    m_card->hide();
    m_card->installEventFilter(this);
    window->installEventFilter(this);
    setFocusPolicy(Qt::ClickFocus);
    hide();

    connect(&menus, &MenuController::opened, this, &MenuHost::present);
    connect(&menus, &MenuController::closed, this, &MenuHost::dismiss);
    connect(m_appearance, &EasedValue::valueChanged, this, qOverload<>(&QWidget::update));
    connect(m_appearance, &EasedValue::settled, this, [this](qreal value) {
        if (m_closing && qFuzzyIsNull(value)) {
            finishDismissal();
        } else if (!m_closing && qFuzzyCompare(value, 1)) {
            m_snapshot = {};
            m_card->setGraphicsEffect(nullptr);
            update();
        }
    });
}

QPointF MenuHost::placement(const QRectF &anchor, qreal width, qreal height, const QSizeF &size)
{
    const qreal x = std::min(std::max(anchor.right() - width, kMargin),
                             std::max(size.width() - width - kMargin, kMargin));
    qreal y = anchor.bottom() + kGap;
    if (height > 0 && y + height > size.height() - kMargin) {
        y = anchor.top() - kGap - height;
        if (y < kMargin)
            y = std::max(size.height() - height - kMargin, kMargin);
    }
    return {x, y};
}

qreal MenuHost::appearance() const
{
    return m_appearance->value();
}

void MenuHost::present()
{
    if (m_content)
        finishDismissal();
    m_closing = false;
    const auto &open = m_menus.open();
    if (!open || !open->content)
        return;
    if (!m_returnFocus)
        m_returnFocus = QApplication::focusWidget();
    m_content = open->content;
    m_cardLayout->addWidget(m_content);
    m_card->setFixedWidth(open->width);
    setAttribute(Qt::WA_TransparentForMouseEvents, false);
    setGeometry(m_window->rect());
    show();
    raise();
    m_card->show();
    layoutPopup();
    focusContent();
    if (Motion::reduceMotion()) {
        m_appearance->jumpTo(1);
        return;
    }
    m_snapshot = m_card->grab();
    // The card stays live (it has focus and takes input) but draws nothing until the snapshot
    // has finished growing in.
    auto *invisible = new QGraphicsOpacityEffect(m_card);
    invisible->setOpacity(0);
    m_card->setGraphicsEffect(invisible);
    m_appearance->jumpTo(0);
    m_appearance->setTarget(1);
}

void MenuHost::dismiss()
{
    if (!m_content)
        return;
    m_closing = true;
    if (m_snapshot.isNull() && !Motion::reduceMotion())
        m_snapshot = m_card->grab();
    m_card->hide();
    // Keys and clicks during the fade-out already go to the window.
    if (m_returnFocus)
        m_returnFocus->setFocus(Qt::PopupFocusReason);
    m_returnFocus = nullptr;
    setAttribute(Qt::WA_TransparentForMouseEvents, true);
    m_appearance->setTarget(0);
}

void MenuHost::finishDismissal()
{
    if (m_content) {
        m_content->hide();
        m_content->deleteLater();
        m_content = nullptr;
    }
    m_card->hide();
    m_card->setGraphicsEffect(nullptr);
    m_snapshot = {};
    hide();
}

void MenuHost::layoutPopup()
{
    const auto &open = m_menus.open();
    if (!open || !m_content)
        return;
    m_cardLayout->activate();
    const int width = open->width;
    const int height
        = m_card->hasHeightForWidth() ? m_card->heightForWidth(width) : m_card->sizeHint().height();
    const QPointF at = placement(QRectF(open->anchor), width, height, QSizeF(size()));
    m_card->setGeometry(QRect(at.toPoint(), QSize(width, height)));
    update();
}

void MenuHost::focusContent()
{
    for (QWidget *next = m_card->nextInFocusChain(); next != m_card;
         next = next->nextInFocusChain()) {
        if (m_card->isAncestorOf(next) && (next->focusPolicy() & Qt::TabFocus)
            && next->isVisibleTo(m_card) && next->isEnabled()) {
            next->setFocus(Qt::PopupFocusReason);
            return;
        }
    }
    setFocus(Qt::PopupFocusReason);
}

bool MenuHost::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_window && event->type() == QEvent::Resize && isVisible()) {
        setGeometry(m_window->rect());
        layoutPopup();
    } else if (watched == m_card && event->type() == QEvent::LayoutRequest) {
        layoutPopup();
    }
    return QWidget::eventFilter(watched, event);
}

void MenuHost::mousePressEvent(QMouseEvent *event)
{
    // A click outside the popup only closes it.
    event->accept();
    m_menus.close();
}

void MenuHost::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        m_menus.close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void MenuHost::paintShadow(QPainter &painter, const QRectF &card) const
{
    // A soft shadow in pine at 0.18 built from stacked, widening rounded rectangles.
    constexpr int kLayers = 10;
    painter.setPen(Qt::NoPen);
    for (int i = kLayers; i >= 1; --i) {
        const qreal spread = i * 1.2;
        const QRectF layer = card.adjusted(-spread, -spread + 3, spread, spread + 3);
        painter.setBrush(
            Theme::withOpacity(Theme::pine, 0.18 * 2.0 / kLayers * (1 - qreal(i - 1) / kLayers)));
        painter.drawRoundedRect(layer, kRadius + spread, kRadius + spread);
    }
}

void MenuHost::paintEvent(QPaintEvent *)
{
    if (!m_content)
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF card = m_card->geometry();
    if (m_snapshot.isNull()) {
        paintShadow(painter, card);
        return;
    }
    const qreal progress = m_appearance->value();
    const qreal scale = kStartScale + (1 - kStartScale) * progress;
    painter.setOpacity(progress);
    painter.translate(card.center());
    painter.scale(scale, scale);
    painter.translate(-card.center());
    paintShadow(painter, card);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawPixmap(card.topLeft(), m_snapshot);
}

} // namespace furrow
