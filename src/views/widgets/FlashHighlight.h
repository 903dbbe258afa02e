#pragma once

#include <QVariantAnimation>
#include <QWidget>

namespace furrow {

// A brief lime wash over a widget, to show where the user has just been taken; it fades and
// deletes itself (while motion is reduced it stays unfaded for the same time).
class FlashHighlight : public QWidget
{
    Q_OBJECT

public:
    static void flash(QWidget *target);

protected:
    void paintEvent(QPaintEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    explicit FlashHighlight(QWidget *target);

    QVariantAnimation m_fade;
};

} // namespace furrow
