#include "views/archive/ArchiveView.h"

#include "model/Clock.h"
#include "model/PlannerStore.h"
#include "views/archive/ArchiveContent.h"
#include "views/archive/ArchiveRow.h"
#include "views/theme/Motion.h"
#include "views/theme/Theme.h"
#include "views/widgets/FadingSnapshot.h"
#include "views/widgets/HairLine.h"
#include "views/widgets/PillButton.h"
#include "views/widgets/QuietScrollArea.h"
#include "views/widgets/Stacks.h"
#include "views/widgets/TextLabel.h"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QScrollBar>
#include <QShowEvent>
#include <QTimer>
#include <QVBoxLayout>

namespace furrow {

namespace {

constexpr int kSide = 32;

} // namespace

ArchiveView::ArchiveView(ModelContext &context, QWidget *parent)
    : QWidget(parent)
    , m_context(context)
{
    auto *layout = Stacks::column(this, 18);
    layout->setContentsMargins(0, 28, 0, 0);
    layout->addWidget(buildHead());
    m_area = new QuietScrollArea(this);
    layout->addWidget(m_area, 1);
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
    return rows().isEmpty() ? emptyTextOf(m_tab) : QString();
}

QString ArchiveView::emptyTextOf(Tab tab)
{
    return tab == Tab::Done ? QStringLiteral("Nothing filed yet. Close a day and it lands here.")
                            : QStringLiteral("Nothing dropped. The shelf is doing fine.");
}

QList<ArchiveRow *> ArchiveView::rows() const
{
    return m_area->widget() ? m_area->widget()->findChildren<ArchiveRow *>()
                            : QList<ArchiveRow *>();
}

PillButton *ArchiveView::tabButton(Tab tab) const
{
    return tab == Tab::Done ? m_doneTab : m_droppedTab;
}

void ArchiveView::putBack(const QUuid &taskId)
{
    PlannerStore store(m_context);
    for (TaskItem *task : store.archivedTasks()) {
        if (task->id() == taskId) {
            // The list is rebuilt without the task on the next turn; the old one fades out
            // over it.
            FadingSnapshot::cover(m_area->viewport(), Motion::kEaseMs);
            store.unarchive(*task, ArchiveContent::fallbackSection(m_context));
            return;
        }
    }
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
    const int scrolled = m_area->verticalScrollBar()->value();
    auto *body = new QWidget;
    auto *layout = Stacks::column(body, 0);
    layout->setContentsMargins(kSide, 0, kSide, 28);
    if (m_tab == Tab::Done)
        fillDone(layout);
    else
        fillDropped(layout);
    layout->addStretch();
    m_area->setContent(body);
    QTimer::singleShot(
        0, m_area, [area = m_area, scrolled] { area->verticalScrollBar()->setValue(scrolled); });
}

void ArchiveView::fillDone(QVBoxLayout *layout)
{
    const auto groups = ArchiveContent::doneByDay(m_context);
    if (groups.empty()) {
        addEmptyText(layout, emptyTextOf(m_tab));
        return;
    }
    const Instant now = Clock::now();
    for (const ArchiveContent::DayGroup &group : groups) {
        auto *header = new QHBoxLayout;
        header->setContentsMargins(0, layout->count() ? 22 : 4, 0, 4);
        header->setSpacing(10);
        header->addWidget(new TextLabel(ArchiveContent::dayLabel(group.day, now),
                                        Theme::sans(14, QFont::Medium), Theme::ink));
        header->addWidget(new TextLabel(ArchiveContent::countText(qsizetype(group.tasks.size())),
                                        Theme::small(), Theme::muted));
        header->addStretch();
        layout->addLayout(header);
        for (const TaskItem *task : group.tasks)
            addRow(layout, new ArchiveRow(ArchiveRow::Kind::Done, *task, {}));
    }
}

void ArchiveView::fillDropped(QVBoxLayout *layout)
{
    const auto tasks = ArchiveContent::dropped(m_context);
    if (tasks.empty()) {
        addEmptyText(layout, emptyTextOf(m_tab));
        return;
    }
    const Instant now = Clock::now();
    for (const TaskItem *task : tasks) {
        if (layout->count())
            layout->addWidget(new HairLine);
        addRow(layout, new ArchiveRow(ArchiveRow::Kind::Dropped, *task,
                                      ArchiveContent::daysLeftText(*task, now)));
    }
}

void ArchiveView::addEmptyText(QVBoxLayout *layout, const QString &text)
{
    auto *label = new TextLabel(text, Theme::body(), Theme::gray);
    label->setWordWrap(true);
    label->setContentsMargins(0, 6, 0, 0);
    layout->addWidget(label);
}

void ArchiveView::addRow(QVBoxLayout *layout, ArchiveRow *row)
{
    layout->addWidget(row);
    connect(row, &ArchiveRow::putBackRequested, this, &ArchiveView::putBack);
}

} // namespace furrow
