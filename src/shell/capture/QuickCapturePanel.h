#pragma once

#include <QPointer>
#include <QWidget>

namespace furrow {

// Where the panel goes on a screen whose free area (without panels and docks) is `available`:
// centred across, and raised above the middle by 12 % of the free height.
QRect panelGeometry(const QRect &available);

// The floating window of the quick capture: frameless, always on top, kept out of the task bar
// and the window switcher, shown over whatever the user is doing on the screen under the
// pointer. It takes the keyboard itself and brings no other window of the planner forward.
class QuickCapturePanel : public QWidget
{
    Q_OBJECT

public:
    static constexpr QSize kSize{560, 138};

    explicit QuickCapturePanel(QWidget *parent = nullptr);

    // Puts `content` in the window in place of the previous content, which is deleted.
    void setContent(QWidget *content);
    QWidget *content() const { return m_content; }

    // Shows the panel and makes it the active window. The activation token is the one the
    // desktop handed over with the key press or launch that asked for the panel: an
    // xdg-activation token on Wayland, a startup id ending in "_TIME" and the key press's
    // time on X11; without one, the desktop may refuse the panel the keyboard.
    void show(const QByteArray &activationToken = {});

private:
    QPointer<QWidget> m_content;
};

} // namespace furrow
