#pragma once

#include <QUuid>
#include <QWidget>

namespace furrow {

class PillButton;
class TaskItem;
class TextLabel;

// One task in the archive: on the Done tab a check mark box, the title, the project tag and
// "Reopen"; on the Dropped tab the title, the tag, the days it has left and "Put back".
class ArchiveRow : public QWidget
{
    Q_OBJECT

public:
    enum class Kind { Done, Dropped };

    ArchiveRow(Kind kind, const TaskItem &task, const QString &daysLeft, QWidget *parent = nullptr);

    QUuid taskId() const { return m_taskId; }
    QString title() const;
    QString daysLeft() const;
    PillButton *putBackButton() const { return m_putBack; }

Q_SIGNALS:
    void putBackRequested(const QUuid &taskId);

private:
    QUuid m_taskId;
    TextLabel *m_title;
    TextLabel *m_daysLeft = nullptr;
    PillButton *m_putBack;
};

} // namespace furrow
