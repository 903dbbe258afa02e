#include "shell/tray/TrayTaskRow.h"

#include "model/TaskItem.h"
#include "views/theme/Theme.h"
#include "views/widgets/Stacks.h"
#include "views/widgets/TaskBox.h"
#include "views/widgets/TextLabel.h"

namespace furrow {

namespace {
constexpr qreal kBoxSide = 16;
constexpr int kRowHeight = 28;
} // namespace

TrayTaskRow::TrayTaskRow(const TaskItem &task, QWidget *parent)
    : QWidget(parent)
    , m_taskId(task.id())
    , m_box(new TaskBox(kBoxSide, this))
    , m_title(new TextLabel(task.title(), Theme::body(), Theme::ink, this))
{
    setObjectName(QStringLiteral("trayTaskRow"));
    setFixedHeight(kRowHeight);
    m_box->setAccessibleName(QStringLiteral("Close ") + task.title());
    m_box->setObjectName(QStringLiteral("checkBox"));
    m_title->setElided(true);
    m_title->setToolTip(task.title());
    auto *layout = Stacks::row(this, 10);
    layout->addWidget(m_box);
    layout->addWidget(m_title, 1);
    connect(m_box, &QAbstractButton::clicked, this, [this] {
        // The box shows the check at once; the row goes when the panel refreshes.
        m_box->setDone(true);
        Q_EMIT closeRequested(m_taskId);
    });
}

QString TrayTaskRow::title() const
{
    return m_title->text();
}

} // namespace furrow
