#pragma once

#include <QWidget>

namespace furrow {

// A count drawn with digits of equal width, so that it does not shift as it changes; fully
// transparent at 0, keeping its place.
class CountLabel : public QWidget
{
    Q_OBJECT

public:
    explicit CountLabel(QWidget *parent = nullptr);

    qint64 count() const { return m_count; }
    void setCount(qint64 count);
    QString text() const { return QString::number(m_count); }
    bool isTransparent() const { return m_count == 0; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    qreal digitWidth() const;

    qint64 m_count = 0;
};

} // namespace furrow
