#include "views/menus/AnchoredButton.h"

#include "views/menus/MenuController.h"
#include "views/theme/Icon.h"
#include "views/theme/Theme.h"

namespace furrow {

AnchoredButton::AnchoredButton(MenuController *menus, int popupWidth, ContentBuilder content,
                               QWidget *parent)
    : IconButton({}, 16, parent)
    , m_menus(menus)
    , m_popupWidth(popupWidth)
    , m_content(std::move(content))
{
    connect(this, &QAbstractButton::clicked, this, &AnchoredButton::openPopup);
}

void AnchoredButton::openPopup()
{
    if (!m_menus || !m_content)
        return;
    if (QWidget *content = m_content())
        m_menus->show(m_popupWidth, this, content);
}

MenuButton::MenuButton(MenuController *menus, qreal iconSize, int popupWidth,
                       ContentBuilder content, QWidget *parent)
    : AnchoredButton(menus, popupWidth, std::move(content), parent)
{
    setSymbol(Icon::symbolName(PhIcon::dots));
    setIconSize(iconSize);
    setColors(Theme::muted, Theme::ink);
    setSide(qCeil(iconSize) + 8);
}

} // namespace furrow
