#pragma once

#include <QPointer>
#include <QWidget>

namespace furrow {

class CompositingWatch;

// Where the panel goes on a screen whose free area (without panels and docks) is `available`:
// centred across, and raised above the middle by 12 % of the free height.
QRect panelGeometry(const QRect &available);

// The floating window of the quick capture: a rounded card, frameless, always on top, kept out
// of the task bar and the window switcher, on every workspace, shown over whatever the user is
// doing on the screen under the pointer. It takes the keyboard itself and brings no other
// window of the planner forward. With a compositor the card floats on a soft shadow in a
// transparent margin; without one the window is cut to the card, since the margin would come
// out black.
class QuickCapturePanel : public QWidget
{
    Q_OBJECT

public:
    static constexpr QSize kSize{560, 138};
    static constexpr int kCardInset = 6;
    static constexpr qreal kCardRadius = 20;

    explicit QuickCapturePanel(QWidget *parent = nullptr);

    // Puts `content` in the window in place of the previous content, which is deleted.
    void setContent(QWidget *content);
    QWidget *content() const { return m_content; }

    // Shows the panel and makes it the active window. The activation token is the one the
    // desktop handed over with the key press or launch that asked for the panel: an
    // xdg-activation token on Wayland, a startup id ending in "_TIME" and the key press's
    // time on X11; without one, the desktop may refuse the panel the keyboard.
    // A panel left on another workspace is taken off it and shown on the user's.
    void show(const QByteArray &activationToken = {});

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void followCompositing();
    QRectF cardRect() const;

    QPointer<QWidget> m_content;
    CompositingWatch *m_compositing;
};

} // namespace furrow
