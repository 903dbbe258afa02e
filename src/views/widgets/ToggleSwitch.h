#pragma once

#include <QAbstractButton>

namespace furrow {

class EasedValue;

// A switch: its text, then a capsule track whose knob slides to the trailing end and whose fill
// takes the tint while it is on. Checkable; Tab reaches it and Space flips it.
class ToggleSwitch : public QAbstractButton
{
    Q_OBJECT

public:
    explicit ToggleSwitch(const QString &text, const QColor &tint, QWidget *parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent *event) override;
    bool hitButton(const QPoint &position) const override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    QRectF trackRect() const;
    void paintTrack(QPainter &painter, const QRectF &track) const;

    QColor m_tint;
    // The focus came by Tab, so the ring shows; not when the window hands it over on opening.
    bool m_focusRing = false;
    EasedValue *m_on;
};

} // namespace furrow
