#pragma once

#include <QWidget>

namespace furrow {

class TextLabel;
struct Vector;

// One goal on the goals page: a card with a lime stripe down its leading edge, the goal's
// name in the slab face and its statement beneath.
class GoalCard : public QWidget
{
    Q_OBJECT

public:
    explicit GoalCard(const Vector &goal, QWidget *parent = nullptr);

    QString name() const;
    QString statement() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    TextLabel *m_name;
    TextLabel *m_statement;
};

} // namespace furrow
