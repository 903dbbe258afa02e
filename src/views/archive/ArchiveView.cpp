#include "views/archive/ArchiveView.h"

#include "model/Clock.h"
#include "model/PlannerStore.h"
#include "views/archive/ArchiveColumn.h"
#include "views/archive/ArchiveContent.h"
#include "views/theme/Motion.h"
#include "views/theme/Theme.h"
#include "views/widgets/FadingSnapshot.h"
#include "views/widgets/PillButton.h"
#include "views/widgets/QuietScrollArea.h"
#include "views/widgets/Stacks.h"
#include "views/widgets/TextLabel.h"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QScrollBar>
#include <QShowEvent>

namespace furrow {

namespace {

constexpr int kSide = ArchiveColumn::kSide;

ArchiveRow::Content rowContent(const TaskItem &task)
{
    ArchiveRow::Content content;
    content.taskId = task.id();
    content.title = task.title();
    if (const Project *project = task.project()) {
        content.hasProject = true;
        content.projectName = project->name();
        content.projectColor = Theme::colorFromHex(project->colorHex()).value_or(Theme::muted);
    }
    return content;
}

// The column's entries for the Done tab: each day's header, then its tasks.
std::vector<ArchiveColumn::Entry> doneEntries(ModelContext &context)
{
    using Entry = ArchiveColumn::Entry;
    const auto groups = ArchiveContent::doneByDay(context);
    std::size_t count = groups.size();
    for (const ArchiveContent::DayGroup &group : groups)
        count += group.tasks.size();
    std::vector<Entry> entries;
    entries.reserve(count);
    for (const ArchiveContent::DayGroup &group : groups) {
        entries.push_back({Entry::Kind::Header, group.day, qsizetype(group.tasks.size()), {}, {}});
        for (const TaskItem *task : group.tasks)
            entries.push_back({Entry::Kind::Done, group.day, 0, rowContent(*task), {}});
    }
    return entries;
}

std::vector<ArchiveColumn::Entry> droppedEntries(ModelContext &context)
{
    using Entry = ArchiveColumn::Entry;
    const auto tasks = ArchiveContent::dropped(context);
    std::vector<Entry> entries;
    entries.reserve(tasks.size());
    for (const TaskItem *task : tasks)
        entries.push_back({Entry::Kind::Dropped, {}, 0, rowContent(*task), task->archivedAt()});
    return entries;
}

} // namespace

ArchiveView::ArchiveView(ModelContext &context, QWidget *parent)
    : QWidget(parent)
    , m_context(context)
{
    auto *layout = Stacks::column(this, 18);
    layout->setContentsMargins(0, 28, 0, 0);
    layout->addWidget(buildHead());
    m_area = new QuietScrollArea(this);
    m_column = new ArchiveColumn(m_area);
    m_area->setContent(m_column);
    layout->addWidget(m_area, 1);
    connect(m_column, &ArchiveColumn::putBackRequested, this, &ArchiveView::putBack);
    connect(&context, &ModelContext::changed, this, &ArchiveView::onModelChanged);
    rebuild();
}

QWidget *ArchiveView::buildHead()
{
    auto *head = new QWidget(this);
    auto *layout = Stacks::column(head, 2);
    layout->setContentsMargins(kSide, 0, kSide, 0);
    layout->addWidget(
        new TextLabel(QStringLiteral("What is behind you"), Theme::slab(13), Theme::gray, head));
    layout->addWidget(
        new TextLabel(QStringLiteral("Archive"), Theme::panelTitle(), Theme::ink, head));
    m_line = new TextLabel(lineText(), Theme::sans(14), Theme::gray, head);
    layout->addWidget(m_line);
    layout->addSpacing(14);

    auto *tabs = new QHBoxLayout;
    tabs->setSpacing(6);
    auto *group = new QButtonGroup(head);
    m_doneTab = new PillButton(QStringLiteral("Done"), PillButton::Kind::Normal, head);
    m_droppedTab = new PillButton(QStringLiteral("Dropped"), PillButton::Kind::Normal, head);
    m_doneTab->setObjectName(QStringLiteral("doneTab"));
    m_droppedTab->setObjectName(QStringLiteral("droppedTab"));
    for (PillButton *pill : {m_doneTab, m_droppedTab}) {
        pill->setCompact(true);
        pill->setCheckable(true);
        group->addButton(pill);
        tabs->addWidget(pill);
    }
    tabs->addStretch();
    m_doneTab->setChecked(true);
    layout->addLayout(tabs);
    connect(m_doneTab, &QAbstractButton::clicked, this, [this] { setTab(Tab::Done); });
    connect(m_droppedTab, &QAbstractButton::clicked, this, [this] { setTab(Tab::Dropped); });
    return head;
}

void ArchiveView::setTab(Tab tab)
{
    (tab == Tab::Done ? m_doneTab : m_droppedTab)->setChecked(true);
    if (tab == m_tab)
        return;
    m_tab = tab;
    m_line->setText(lineText());
    m_area->verticalScrollBar()->setValue(0);
    rebuild();
}

QString ArchiveView::lineText() const
{
    return m_tab == Tab::Done ? QStringLiteral("Every day you closed, and what it held.")
                              : QStringLiteral("Kept for 30 days, then gone for good.");
}

QString ArchiveView::emptyText() const
{
    return m_column->isEmpty() ? emptyTextOf(m_tab) : QString();
}

QString ArchiveView::emptyTextOf(Tab tab)
{
    return tab == Tab::Done ? QStringLiteral("Nothing filed yet. Close a day and it lands here.")
                            : QStringLiteral("Nothing dropped. The shelf is doing fine.");
}

QList<ArchiveRow *> ArchiveView::rows() const
{
    return m_column->rows();
}

void ArchiveView::putBack(const QUuid &taskId)
{
    PlannerStore store(m_context);
    TaskItem *task = store.task(taskId);
    if (!task || !task->isArchived())
        return;
    // The list follows without the task on the next turn; the old one fades out over it.
    FadingSnapshot::cover(m_area->viewport(), Motion::kEaseMs);
    store.unarchive(*task, store.fallbackSection());
}

bool ArchiveView::reveal(const QUuid &taskId)
{
    const TaskItem *task = PlannerStore(m_context).task(taskId);
    if (!task || !task->isArchived())
        return false;
    setTab(task->isDone() ? Tab::Done : Tab::Dropped);
    return m_column->reveal(taskId);
}

void ArchiveView::showEvent(QShowEvent *event)
{
    if (!event->spontaneous()) {
        PlannerStore(m_context).purgeArchive(ArchiveContent::kKeptDays);
        rebuild();
    }
    QWidget::showEvent(event);
}

void ArchiveView::onModelChanged(RecordKinds kinds)
{
    // While hidden the list waits: showing the view rebuilds it anyway.
    if (isVisible() && (kinds & (RecordKinds(RecordKind::Task) | RecordKind::Project)))
        rebuild();
}

void ArchiveView::rebuild()
{
    m_column->setEntries(m_tab == Tab::Done ? doneEntries(m_context) : droppedEntries(m_context),
                         emptyTextOf(m_tab), Clock::now());
}

} // namespace furrow
