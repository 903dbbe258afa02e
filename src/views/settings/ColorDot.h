#pragma once

#include <QAbstractButton>

namespace furrow {

// A round button filled with a project's colour, ringed while hovered or focused from the
// keyboard.
class ColorDot : public QAbstractButton
{
    Q_OBJECT

public:
    explicit ColorDot(QWidget *parent = nullptr);

    void setColor(const QColor &color);
    QColor color() const { return m_color; }

    QSize sizeHint() const override { return {22, 22}; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QColor m_color;
};

} // namespace furrow
