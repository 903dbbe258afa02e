#pragma once

#include <QPixmap>
#include <QPointer>
#include <QWidget>

class QVBoxLayout;

namespace furrow {

class EasedValue;
class MenuController;

// Lies over a whole window and draws its controller's popup: a card placed next to the
// anchor, faded and scaled in and out, over a transparent layer that closes the popup when
// clicked anywhere outside it.
class MenuHost : public QWidget
{
    Q_OBJECT

public:
    MenuHost(MenuController &menus, QWidget *window);

    // Where a popup `width` × `height` goes for `anchor` in a window of `size`: right-aligned
    // with the anchor 6 below it, or above when it does not fit below, always 8 inside the
    // window. A height of 0 (not yet measured) places it below.
    static QPointF placement(const QRectF &anchor, qreal width, qreal height, const QSizeF &size);

    // How far the popup is into its appearance, 0 to 1.
    qreal appearance() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void present();
    void dismiss();
    void finishDismissal();
    void layoutPopup();
    void focusContent();
    void paintShadow(QPainter &painter, const QRectF &card) const;

    MenuController &m_menus;
    QWidget *m_window;
    QWidget *m_card;
    QVBoxLayout *m_cardLayout;
    QPointer<QWidget> m_content;
    QPointer<QWidget> m_returnFocus;
    EasedValue *m_appearance;
    // The card as it looked when the animation began; drawn scaled while it runs.
    QPixmap m_snapshot;
    bool m_closing = false;
};

} // namespace furrow
