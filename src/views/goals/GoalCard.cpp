#include "views/goals/GoalCard.h"

#include "model/VectorStore.h"
#include "views/theme/Theme.h"
#include "views/widgets/TextLabel.h"

#include <QPainter>
#include <QVBoxLayout>

namespace furrow {

namespace {
constexpr qreal kRadius = 12;
constexpr qreal kStripe = 4;
constexpr qreal kStripeInset = 16;
} // namespace

GoalCard::GoalCard(const Vector &goal, QWidget *parent)
    : QWidget(parent)
    , m_name(new TextLabel(goal.name, Theme::slab(18), Theme::ink, this))
    , m_statement(new TextLabel(goal.statement, Theme::body(), Theme::gray, this))
{
    m_name->setWordWrap(true);
    m_statement->setWordWrap(true);
    m_statement->setVisible(!goal.statement.isEmpty());
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(int(kStripeInset + kStripe) + 14, 14, 20, 16);
    layout->setSpacing(4);
    layout->addWidget(m_name);
    layout->addWidget(m_statement);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

QString GoalCard::name() const
{
    return m_name->text();
}

QString GoalCard::statement() const
{
    return m_statement->text();
}

void GoalCard::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF shape = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    painter.setPen(QPen(Theme::hair, 1));
    painter.setBrush(Theme::card);
    painter.drawRoundedRect(shape, kRadius, kRadius);
    // The accent is a rounded bar set in from the card's edges, as tall as the text block.
    const QRectF stripe(kStripeInset, 16, kStripe, height() - 32);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Theme::bright);
    painter.drawRoundedRect(stripe, kStripe / 2, kStripe / 2);
}

} // namespace furrow
