#pragma once

#include <QAbstractButton>

#include <optional>

namespace furrow {

// A choice in the capture panel's project bar: a capsule with the project's colour dot and its
// name (or a bare label such as "No project"), drawn lime when it is the current choice.
class CaptureChip : public QAbstractButton
{
    Q_OBJECT

public:
    static constexpr int kHeight = 30;

    CaptureChip(const QString &label, std::optional<QColor> dot, QWidget *parent = nullptr);

    std::optional<QColor> dot() const { return m_dot; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    qreal leadingWidth() const;

    std::optional<QColor> m_dot;
};

} // namespace furrow
