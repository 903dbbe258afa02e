#pragma once

#include "views/sidebar/SidebarRow.h"

#include <QPointer>
#include <QUuid>

class QLineEdit;
class QStackedLayout;

namespace furrow {

class AnchoredButton;
class MenuButton;
class MenuController;
class Page;
class TextLabel;

// A page's entry in the sidebar: its icon, which opens the icon picker; its name, or the name
// editor while it is renamed; and its open-task count, which gives way to the page menu while
// the row is hovered or has focus from the keyboard. The row only asks: the sidebar does the
// work.
class PageRow : public SidebarRow
{
    Q_OBJECT

public:
    PageRow(const QUuid &pageId, MenuController &menus, QWidget *parent = nullptr);
    ~PageRow() override;

    QUuid pageId() const { return m_pageId; }
    // Shows the page's current name, icon and count.
    void showPage(const Page &page, qint64 openCount);

    // Replaces the name with an editor holding `draft`, focused on the next turn.
    void beginEditing(const QString &draft);
    void endEditing();
    bool isEditing() const;

    void openIconPicker();
    void openMenu();

    QString name() const;
    QString iconName() const;
    // The count as shown: empty when there is no open task.
    QString countText() const;
    // The page menu's button is shown (it takes the count's place).
    bool showsMenuButton() const;

Q_SIGNALS:
    void iconPicked(const QString &name);
    void renameRequested();
    void deleteRequested();
    void renameCommitted(const QString &draft);
    void renameCancelled();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    QWidget *buildPageMenu();
    QLineEdit *editor();
    void updateLook();
    bool ownsOpenPopup() const;

    QUuid m_pageId;
    QPointer<MenuController> m_menus;
    AnchoredButton *m_icon;
    TextLabel *m_name;
    QLineEdit *m_editor = nullptr;
    TextLabel *m_count;
    MenuButton *m_menu;
    // The trailing slot: the count, or the menu button in its place.
    QStackedLayout *m_slot;
    // The popup this row opened last, while it exists.
    QPointer<QWidget> m_popup;
};

} // namespace furrow
