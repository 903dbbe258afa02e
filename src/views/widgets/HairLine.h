#pragma once

#include <QWidget>

namespace furrow {

// A horizontal hairline, 1 pixel high, in the hair colour; it can fade out (a separator next
// to a hovered row).
class HairLine : public QWidget
{
    Q_OBJECT

public:
    explicit HairLine(QWidget *parent = nullptr);

    void setOpacity(qreal opacity);
    qreal opacity() const { return m_opacity; }

    QSize sizeHint() const override { return {1, 1}; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    qreal m_opacity = 1;
};

} // namespace furrow
