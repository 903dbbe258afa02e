#include "views/settings/ProjectSettingsRow.h"

#include "model/PlannerStore.h"
#include "views/board/InlineField.h"
#include "views/menus/MenuController.h"
#include "views/settings/ColorDot.h"
#include "views/settings/ProjectNames.h"
#include "views/theme/Theme.h"
#include "views/widgets/ColorSwatchGrid.h"
#include "views/widgets/IconButton.h"
#include "views/widgets/TextLabel.h"

#include <QHBoxLayout>
#include <QPainter>

namespace furrow {

ProjectSettingsRow::ProjectSettingsRow(ModelContext &context, MenuController &menus,
                                       const Project &shown, QWidget *parent)
    : QWidget(parent)
    , m_context(context)
    , m_menus(menus)
    , m_projectId(shown.id())
    , m_bar(new QWidget(this))
    , m_dot(new ColorDot(m_bar))
    , m_name(new InlineField(Theme::body(), {}, m_bar))
    , m_delete(new IconButton(QStringLiteral("trash"), 14, m_bar))
    , m_refusal(new TextLabel({}, Theme::small(), Theme::clay, this))
{
    setObjectName(QStringLiteral("projectRow"));
    setAttribute(Qt::WA_Hover);
    m_bar->setFixedHeight(kHeight);
    m_refusal->setObjectName(QStringLiteral("projectNameRefusal"));
    m_refusal->setWordWrap(true);
    m_refusal->setContentsMargins(8, 0, 8, 0);
    m_refusal->hide();
    m_dot->setObjectName(QStringLiteral("colorDot"));
    m_dot->setToolTip(QStringLiteral("Change the colour"));
    m_dot->setAccessibleName(QStringLiteral("Change the colour"));
    m_name->setObjectName(QStringLiteral("projectName"));
    m_name->setAccessibleName(QStringLiteral("Project name"));
    m_delete->setObjectName(QStringLiteral("deleteProject"));
    m_delete->setToolTip(QStringLiteral("Delete"));
    m_delete->setAccessibleName(QStringLiteral("Delete"));
    m_delete->setFocusPolicy(Qt::StrongFocus);
    m_delete->setColors(Theme::muted, Theme::clay);

    auto *row = new QHBoxLayout(m_bar);
    row->setContentsMargins(8, 0, 6, 0);
    row->setSpacing(6);
    row->addWidget(m_dot);
    row->addWidget(m_name, 1);
    row->addWidget(m_delete);
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(4);
    column->addWidget(m_bar);
    column->addWidget(m_refusal);

    connect(m_dot, &QAbstractButton::clicked, this, &ProjectSettingsRow::openColors);
    connect(m_name, &InlineField::submitted, this, &ProjectSettingsRow::commitName);
    connect(m_name, &InlineField::focusLost, this, &ProjectSettingsRow::commitName);
    connect(m_name, &InlineField::cancelled, this, [this] {
        if (const Project *current = project())
            m_name->setText(current->name());
        m_refusal->hide();
    });
    connect(m_name, &QLineEdit::textEdited, m_refusal, &QWidget::hide);
    // A refused name stays to be corrected while the field has the focus; leaving puts the
    // stored name back, and the note says why.
    connect(m_name, &InlineField::focusLost, this, [this] {
        if (const Project *current = project(); current && m_name->text() != current->name())
            m_name->setText(current->name());
    });
    connect(m_delete, &QAbstractButton::clicked, this, &ProjectSettingsRow::deleteProject);
    m_name->setText(shown.name());
    refresh();
}

Project *ProjectSettingsRow::project() const
{
    for (Project *candidate : PlannerStore(m_context).projects()) {
        if (candidate->id() == m_projectId)
            return candidate;
    }
    return nullptr;
}

void ProjectSettingsRow::refresh()
{
    const Project *current = project();
    if (!current)
        return;
    m_dot->setColor(Theme::colorFromHex(current->colorHex()).value_or(Theme::muted));
    if (!m_name->hasFocus() && m_name->text() != current->name())
        m_name->setText(current->name());
}

void ProjectSettingsRow::openColors()
{
    const Project *current = project();
    if (!current)
        return;
    auto *popover = new QWidget;
    auto *frame = new QVBoxLayout(popover);
    frame->setContentsMargins(14, 12, 14, 14);
    auto *grid = new ColorSwatchGrid(current->colorHex(), 6, popover);
    frame->addWidget(grid);
    connect(grid, &ColorSwatchGrid::picked, this, [this](const QString &hex) {
        if (Project *target = project())
            PlannerStore(m_context).setColor(hex, *target);
        m_menus.close();
    });
    m_menus.show(kPopoverWidth, m_dot, popover);
}

void ProjectSettingsRow::commitName()
{
    Project *current = project();
    if (!current)
        return;
    PlannerStore store(m_context);
    const QString refusal
        = ProjectNames::refusalToRename(store, *current, m_name->text().trimmed());
    if (!refusal.isEmpty()) {
        m_refusal->setText(refusal);
        m_refusal->show();
        return;
    }
    m_refusal->hide();
    store.rename(*current, m_name->text());
    // The field shows the name as stored: trimmed, or the old one when a blank was refused.
    if (m_name->text() != current->name())
        m_name->setText(current->name());
}

void ProjectSettingsRow::deleteProject()
{
    if (Project *current = project())
        PlannerStore(m_context).deleteProject(*current);
}

void ProjectSettingsRow::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(m_hovering ? Theme::hover : Theme::withOpacity(Theme::hair, 0.55));
    painter.drawRoundedRect(QRectF(m_bar->geometry()), 9, 9);
}

void ProjectSettingsRow::enterEvent(QEnterEvent *event)
{
    m_hovering = true;
    update();
    QWidget::enterEvent(event);
}

void ProjectSettingsRow::leaveEvent(QEvent *event)
{
    m_hovering = false;
    update();
    QWidget::leaveEvent(event);
}

} // namespace furrow
