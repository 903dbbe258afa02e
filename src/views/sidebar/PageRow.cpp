#include "views/sidebar/PageRow.h"

#include "model/Page.h"
#include "views/menus/AnchoredButton.h"
#include "views/menus/MenuController.h"
#include "views/menus/MenuRow.h"
#include "views/menus/MenuSheet.h"
#include "views/pickers/PageIconPicker.h"
#include "views/theme/Theme.h"
#include "views/widgets/TextLabel.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QStackedLayout>
#include <QTimer>

namespace furrow {

namespace {
constexpr int kIconPopupWidth = 356;
constexpr int kMenuPopupWidth = 196;
constexpr int kTrailingSlot = 28;
} // namespace

PageRow::PageRow(const QUuid &pageId, MenuController &menus, QWidget *parent)
    : SidebarRow(parent)
    , m_pageId(pageId)
    , m_menus(&menus)
    , m_name(new TextLabel({}, Theme::body(), Theme::gray, this))
    , m_count(new TextLabel({}, Theme::sans(12), Theme::muted))
{
    m_icon = new AnchoredButton(
        &menus, kIconPopupWidth,
        [this] {
            auto *picker = new PageIconPicker(m_icon->iconName());
            connect(picker, &PageIconPicker::picked, this, [this](const QString &name) {
                if (m_menus)
                    m_menus->close();
                Q_EMIT iconPicked(name);
            });
            m_popup = picker;
            return picker;
        },
        this);
    m_icon->setIconSize(20);
    m_icon->setObjectName(QStringLiteral("iconButton"));
    m_icon->setSide(28);
    m_icon->setToolTip(QStringLiteral("Change the icon"));
    m_menu = new MenuButton(&menus, 20, kMenuPopupWidth, [this] { return buildPageMenu(); });
    m_menu->setObjectName(QStringLiteral("menuButton"));

    m_name->setElided(true);

    m_count->setAlignment(Qt::AlignCenter);
    auto *slot = new QWidget(this);
    slot->setFixedSize(kTrailingSlot, kTrailingSlot);
    m_slot = new QStackedLayout(slot);
    m_slot->addWidget(m_count);
    m_slot->addWidget(m_menu);

    contentLayout()->setContentsMargins(3, 0, 3, 0);
    contentLayout()->setSpacing(4);
    contentLayout()->addWidget(m_icon);
    contentLayout()->addWidget(m_name, 1);
    contentLayout()->addWidget(slot);

    for (QWidget *control : {static_cast<QWidget *>(m_icon), static_cast<QWidget *>(m_menu)})
        watchFocus(control);
    connect(this, &SidebarRow::hoveredChanged, this, &PageRow::updateLook);
    connect(this, &SidebarRow::focusLookChanged, this, &PageRow::updateLook);
    connect(this, &SidebarRow::selectedChanged, this, &PageRow::updateLook);
    connect(&menus, &MenuController::opened, this, &PageRow::updateLook);
    connect(&menus, &MenuController::closed, this, &PageRow::updateLook);
    updateLook();
}

PageRow::~PageRow()
{
    // The popup's actions refer to this row.
    if (ownsOpenPopup())
        m_menus->close();
}

bool PageRow::ownsOpenPopup() const
{
    return m_menus && m_popup && m_menus->open() && m_menus->open()->content == m_popup;
}

void PageRow::showPage(const Page &page, qint64 openCount)
{
    m_name->setText(page.name());
    m_icon->setPageIcon(page.iconName());
    m_count->setText(openCount > 0 ? QString::number(openCount) : QString());
    updateLook();
}

// The name editor is made on the first rename: a style sheet per row is costly in a long list.
QLineEdit *PageRow::editor()
{
    if (m_editor)
        return m_editor;
    m_editor = new QLineEdit(this);
    m_editor->setObjectName(QStringLiteral("nameEditor"));
    m_editor->setFont(Theme::body());
    m_editor->setStyleSheet(
        QStringLiteral("QLineEdit { background: %1; color: %2; border: 1px solid %3;"
                       " border-radius: 6px; padding: 2px 5px; selection-background-color: %4;"
                       " selection-color: %5; }")
            .arg(Theme::card.name(), Theme::ink.name(), Theme::line.name(), Theme::bright.name(),
                 Theme::pine.name()));
    m_editor->hide();
    m_editor->installEventFilter(this);
    contentLayout()->insertWidget(contentLayout()->indexOf(m_name) + 1, m_editor, 1);
    return m_editor;
}

void PageRow::beginEditing(const QString &draft)
{
    editor()->setText(draft);
    m_name->hide();
    m_editor->show();
    updateLook();
    QTimer::singleShot(0, m_editor, [editor = m_editor] {
        editor->setFocus(Qt::OtherFocusReason);
        editor->selectAll();
    });
}

void PageRow::endEditing()
{
    if (!isEditing())
        return;
    const bool hadFocus = m_editor->hasFocus();
    m_editor->hide();
    m_name->show();
    updateLook();
    if (hadFocus)
        setFocus(Qt::OtherFocusReason);
}

bool PageRow::isEditing() const
{
    return m_editor && !m_editor->isHidden();
}

void PageRow::openIconPicker()
{
    m_icon->click();
}

void PageRow::openMenu()
{
    m_menu->click();
}

QString PageRow::name() const
{
    return m_name->text();
}

QString PageRow::iconName() const
{
    return m_icon->iconName();
}

QString PageRow::countText() const
{
    return m_count->text();
}

bool PageRow::showsMenuButton() const
{
    return m_menu->isVisibleTo(this);
}

QWidget *PageRow::buildPageMenu()
{
    auto *sheet = new MenuSheet(m_menus);
    sheet->addRow(QStringLiteral("Change the icon…"), {}, [this] { openIconPicker(); });
    sheet->addRow(QStringLiteral("Rename"), QStringLiteral("pencil"),
                  [this] { Q_EMIT renameRequested(); });
    sheet->addDivider();
    sheet
        ->addRow(QStringLiteral("Delete"), QStringLiteral("trash"),
                 [this] { Q_EMIT deleteRequested(); })
        ->setDestructive(true);
    m_popup = sheet;
    return sheet;
}

void PageRow::updateLook()
{
    // The menu button stays while its popup is open, so focus can return to it on close.
    // A clicked row shows its count again once the pointer leaves; the keyboard keeps the menu.
    const bool menuShown = isHovered() || ownsOpenPopup() || (hasKeyboardFocus() && !isEditing());
    m_slot->setCurrentWidget(menuShown ? static_cast<QWidget *>(m_menu) : m_count);
    m_name->setColor(isSelected() ? Theme::ink : Theme::gray);
    m_icon->setColors(isSelected() ? Theme::ink : Theme::gray, Theme::ink);
}

bool PageRow::eventFilter(QObject *watched, QEvent *event)
{
    if (m_editor && watched == m_editor && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            Q_EMIT renameCommitted(m_editor->text());
            return true;
        }
        if (key == Qt::Key_Escape) {
            Q_EMIT renameCancelled();
            return true;
        }
    }
    return SidebarRow::eventFilter(watched, event);
}

void PageRow::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_F2) {
        Q_EMIT renameRequested();
        return;
    }
    if (event->key() == Qt::Key_Menu) {
        openMenu();
        return;
    }
    SidebarRow::keyPressEvent(event);
}

} // namespace furrow
