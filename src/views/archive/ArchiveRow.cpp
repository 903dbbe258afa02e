#include "views/archive/ArchiveRow.h"

#include "model/Project.h"
#include "model/TaskItem.h"
#include "views/theme/Theme.h"
#include "views/widgets/PillButton.h"
#include "views/widgets/ProjectTag.h"
#include "views/widgets/TaskBox.h"
#include "views/widgets/TextLabel.h"

#include <QHBoxLayout>

namespace furrow {

ArchiveRow::ArchiveRow(Kind kind, const TaskItem &task, const QString &daysLeft, QWidget *parent)
    : QWidget(parent)
    , m_taskId(task.id())
    , m_title(new TextLabel(task.title(), Theme::body(), Theme::ink, this))
    , m_putBack(
          new PillButton(kind == Kind::Done ? QStringLiteral("Reopen") : QStringLiteral("Put back"),
                         PillButton::Kind::Quiet, this))
{
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 6, 0, 6);
    layout->setSpacing(10);
    if (kind == Kind::Done) {
        auto *box = new TaskBox(16, this);
        box->setDone(true);
        box->setFocusPolicy(Qt::NoFocus);
        box->setAttribute(Qt::WA_TransparentForMouseEvents);
        layout->addWidget(box);
    }
    m_title->setElided(true);
    m_title->setToolTip(task.title());
    layout->addWidget(m_title, 1);
    if (const Project *project = task.project()) {
        auto *tag = new ProjectTag(this);
        tag->setProject(*project);
        // Only a label here: the archive offers no project picker.
        tag->setAttribute(Qt::WA_TransparentForMouseEvents);
        tag->setCursor(Qt::ArrowCursor);
        layout->addWidget(tag);
    }
    if (kind == Kind::Dropped) {
        m_daysLeft = new TextLabel(daysLeft, Theme::sans(13), Theme::muted, this);
        // A fixed, right-aligned column keeps the numbers of all rows lined up.
        m_daysLeft->setMinimumWidth(
            m_daysLeft->fontMetrics().horizontalAdvance(QStringLiteral("30 days left")));
        m_daysLeft->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        layout->addWidget(m_daysLeft);
    }
    m_putBack->setCompact(true);
    layout->addWidget(m_putBack);
    connect(m_putBack, &QAbstractButton::clicked, this,
            [this] { Q_EMIT putBackRequested(m_taskId); });
}

QString ArchiveRow::title() const
{
    return m_title->text();
}

QString ArchiveRow::daysLeft() const
{
    return m_daysLeft ? m_daysLeft->text() : QString();
}

} // namespace furrow
