#include "views/board/RowControls.h"

#include "model/PlannerStore.h"
#include "views/board/RowMenu.h"
#include "views/menus/AnchoredButton.h"
#include "views/menus/MenuController.h"
#include "views/pickers/DuePicker.h"
#include "views/theme/Icon.h"
#include "views/theme/Theme.h"

#include <QHBoxLayout>

namespace furrow {

namespace {
constexpr int kDuePickerWidth = 330;
constexpr qreal kIconSize = 15;

void styleControl(IconButton *button, const QString &symbol)
{
    button->setSymbol(symbol);
    button->setIconSize(kIconSize);
    button->setSide(RowControls::kSide);
    button->setColors(Theme::muted, Theme::ink);
}
} // namespace

RowControls::RowControls(BoardScope scope, const QUuid &taskId, bool done, QWidget *parent)
    : QWidget(parent)
    , m_scope(scope)
    , m_taskId(taskId)
    , m_done(done)
{
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(kGap);
    layout->addStretch();
    if (done)
        buildDone();
    else
        buildOpen();
}

void RowControls::buildOpen()
{
    m_date = new AnchoredButton(
        &m_scope.menus, kDuePickerWidth, [this] { return buildDuePicker(); }, this);
    styleControl(m_date, Icon::symbolName(PhIcon::calendar));
    m_date->setObjectName(QStringLiteral("dateButton"));
    m_note = new IconButton({}, kIconSize, this);
    m_note->setObjectName(QStringLiteral("noteButton"));
    styleControl(m_note, Icon::symbolName(PhIcon::note));
    connect(m_note, &QAbstractButton::clicked, this, &RowControls::noteRequested);
    m_menu = new MenuButton(
        &m_scope.menus, kIconSize, RowMenu::kMenuWidth, [this] { return buildMenu(); }, this);
    m_menu->setSide(kSide);
    m_menu->setObjectName(QStringLiteral("menuButton"));
    m_menu->setAccessibleName(QStringLiteral("More"));
    for (QWidget *control : {static_cast<QWidget *>(m_date), static_cast<QWidget *>(m_note),
                             static_cast<QWidget *>(m_menu)})
        layout()->addWidget(control);
}

void RowControls::buildDone()
{
    m_file = new IconButton({}, kIconSize, this);
    m_file->setObjectName(QStringLiteral("fileButton"));
    styleControl(m_file, Icon::symbolName(PhIcon::trayArrowDown));
    m_file->setToolTip(QStringLiteral("File it now"));
    layout()->addWidget(m_file);
    connect(m_file, &QAbstractButton::clicked, this, [this] {
        if (TaskItem *task = PlannerStore(m_scope.model).task(m_taskId))
            PlannerStore(m_scope.model).archive(*task);
    });
}

void RowControls::setHelp(bool hasDueDate, bool hasNote)
{
    if (m_date)
        m_date->setToolTip(hasDueDate ? QStringLiteral("Change the date")
                                      : QStringLiteral("Set a date"));
    if (m_note)
        m_note->setToolTip(hasNote ? QStringLiteral("Edit the note")
                                   : QStringLiteral("Add a note"));
}

std::vector<QWidget *> RowControls::focusWidgets() const
{
    if (m_done)
        return {m_file};
    return {m_date, m_note, m_menu};
}

void RowControls::openMenu()
{
    if (m_menu)
        m_menu->click();
}

QWidget *RowControls::buildDuePicker()
{
    const TaskItem *task = PlannerStore(m_scope.model).task(m_taskId);
    if (!task)
        return nullptr;
    auto *picker = new DuePicker(m_scope.model, *task);
    connect(picker, &DuePicker::dismissRequested, &m_scope.menus, &MenuController::close);
    return picker;
}

QWidget *RowControls::buildMenu()
{
    const TaskItem *task = PlannerStore(m_scope.model).task(m_taskId);
    if (!task)
        return nullptr;
    return RowMenu::build(m_scope.model, m_scope.menus, *task, m_scope.menus.anchorRect(m_menu));
}

} // namespace furrow
