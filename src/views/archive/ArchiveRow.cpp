#include "views/archive/ArchiveRow.h"

#include "views/theme/Theme.h"
#include "views/widgets/PillButton.h"
#include "views/widgets/ProjectTag.h"
#include "views/widgets/TaskBox.h"
#include "views/widgets/TextLabel.h"

#include <QHBoxLayout>

namespace furrow {

ArchiveRow::ArchiveRow(Kind kind, const Content &content, QWidget *parent)
    : QWidget(parent)
    , m_content(content)
    , m_title(new TextLabel(content.title, Theme::body(), Theme::ink, this))
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
    m_title->setToolTip(content.title);
    layout->addWidget(m_title, 1);
    if (content.hasProject) {
        auto *tag = new ProjectTag(this);
        tag->setProject(content.projectName, content.projectColor);
        // Only a label here: the archive offers no project picker.
        tag->setAttribute(Qt::WA_TransparentForMouseEvents);
        tag->setCursor(Qt::ArrowCursor);
        layout->addWidget(tag);
    }
    if (kind == Kind::Dropped) {
        m_daysLeft = new TextLabel(content.daysLeft, Theme::sans(13), Theme::muted, this);
        // A fixed, right-aligned column keeps the numbers of all rows lined up.
        m_daysLeft->setMinimumWidth(
            m_daysLeft->fontMetrics().horizontalAdvance(QStringLiteral("30 days left")));
        m_daysLeft->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        layout->addWidget(m_daysLeft);
    }
    m_putBack->setCompact(true);
    layout->addWidget(m_putBack);
    connect(m_putBack, &QAbstractButton::clicked, this,
            [this] { Q_EMIT putBackRequested(m_content.taskId); });
    setAccessibleName(content.title);
    setAccessibleDescription(content.description);
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
