#pragma once

#include <QWidget>

class QHBoxLayout;

namespace furrow {

class KeyboardFocus;

// One entry of the sidebar: a focusable row that lights up while hovered or selected and is
// chosen by a click, Return or Space. Up and Down ask to move to the neighbouring entry. A
// focus ring shows only while the keyboard, not a click, gave the row its focus.
class SidebarRow : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kHeight = 34;

    explicit SidebarRow(QWidget *parent = nullptr);
    ~SidebarRow() override;

    void setSelected(bool selected);
    bool isSelected() const { return m_selected; }
    // The pointer is over the row or one of its controls.
    bool isHovered() const { return m_hovered; }
    // Keyboard focus is on the row or one of its controls.
    bool hasFocusWithin() const;
    // That focus came from the keyboard (Tab, arrows, a program's move), not from a click.
    bool hasKeyboardFocus() const;
    // Follows the focus of one of the row's controls as well.
    void watchFocus(QWidget *control);

    QHBoxLayout *contentLayout() const { return m_layout; }

Q_SIGNALS:
    void activated();
    void selectedChanged(bool selected);
    void hoveredChanged(bool hovered);
    // hasFocusWithin() or hasKeyboardFocus() may have changed.
    void focusLookChanged();
    void stepRequested(int step);

protected:
    void paintEvent(QPaintEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    QHBoxLayout *m_layout;
    KeyboardFocus *m_keyFocus;
    bool m_selected = false;
    bool m_hovered = false;
    bool m_pressed = false;
};

} // namespace furrow
