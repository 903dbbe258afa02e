#pragma once

#include <QWidget>

class QVariantAnimation;

namespace furrow {

// The sidebar's place in the main window. The sidebar keeps its full width and slides in and
// out from the leading edge as a whole: the place narrows or widens, and the sidebar moves
// with the place's trailing edge, so its content travels rather than being squeezed.
class SidebarSlide : public QWidget
{
    Q_OBJECT

public:
    SidebarSlide(QWidget *sidebar, QWidget *parent = nullptr);

    // Slides the sidebar in or out; at once when `animated` is false or motion is reduced.
    void setShown(bool shown, bool animated);
    bool isShown() const { return m_shown; }
    bool isSliding() const;

Q_SIGNALS:
    // The visible part of the sidebar changed width.
    void slid();

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void setOpenWidth(int width);

    QWidget *m_sidebar;
    QVariantAnimation *m_animation;
    bool m_shown = true;
};

} // namespace furrow
