#pragma once

#include <QWidget>

class QHBoxLayout;

namespace furrow {

// One entry of the sidebar: a focusable row that lights up while hovered or selected and is
// chosen by a click, Return or Space. Up and Down ask to move to the neighbouring entry.
class SidebarRow : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kHeight = 34;

    explicit SidebarRow(QWidget *parent = nullptr);

    void setSelected(bool selected);
    bool isSelected() const { return m_selected; }
    // The pointer is over the row or one of its controls.
    bool isHovered() const { return m_hovered; }
    // Keyboard focus is on the row or one of its controls.
    bool hasFocusWithin() const;

    QHBoxLayout *contentLayout() const { return m_layout; }

Q_SIGNALS:
    void activated();
    void selectedChanged(bool selected);
    void hoveredChanged(bool hovered);
    void stepRequested(int step);

protected:
    void paintEvent(QPaintEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    QHBoxLayout *m_layout;
    bool m_selected = false;
    bool m_hovered = false;
    bool m_pressed = false;
};

} // namespace furrow
