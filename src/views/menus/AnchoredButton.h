#pragma once

#include "views/widgets/IconButton.h"

#include <functional>

namespace furrow {

class MenuController;

// An icon button that opens a popup anchored to itself: a click builds the content and shows
// it through the window's menu controller, `popupWidth` wide.
class AnchoredButton : public IconButton
{
    Q_OBJECT

public:
    using ContentBuilder = std::function<QWidget *()>;

    AnchoredButton(MenuController *menus, int popupWidth, ContentBuilder content,
                   QWidget *parent = nullptr);

    int popupWidth() const { return m_popupWidth; }

private:
    void openPopup();

    MenuController *m_menus;
    int m_popupWidth;
    ContentBuilder m_content;
};

// The "…" button that opens a menu: the dots icon in muted, ink while hovered.
class MenuButton : public AnchoredButton
{
    Q_OBJECT

public:
    MenuButton(MenuController *menus, qreal iconSize, int popupWidth, ContentBuilder content,
               QWidget *parent = nullptr);
};

} // namespace furrow
