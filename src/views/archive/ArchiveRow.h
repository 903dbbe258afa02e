#pragma once

#include <QUuid>
#include <QWidget>

namespace furrow {

class PillButton;
class TextLabel;

// One task in the archive: on the Done tab a check mark box, the title, the project tag and
// "Reopen"; on the Dropped tab the title, the tag, the days it has left and "Put back". A
// screen reader reads it by the title, with the day it was closed or the days it has left.
class ArchiveRow : public QWidget
{
    Q_OBJECT

public:
    enum class Kind { Done, Dropped };

    // What a row shows, copied from the task so that no row keeps a record.
    struct Content
    {
        QUuid taskId;
        QString title;
        QString projectName; // empty without a project
        QColor projectColor;
        QString daysLeft;    // Dropped rows
        QString description; // what a screen reader adds to the title
        bool hasProject = false;

        bool operator==(const Content &) const = default;
    };

    ArchiveRow(Kind kind, const Content &content, QWidget *parent = nullptr);

    QUuid taskId() const { return m_content.taskId; }
    const Content &content() const { return m_content; }
    QString title() const;
    QString daysLeft() const;
    PillButton *putBackButton() const { return m_putBack; }

Q_SIGNALS:
    void putBackRequested(const QUuid &taskId);

private:
    Content m_content;
    TextLabel *m_title;
    TextLabel *m_daysLeft = nullptr;
    PillButton *m_putBack;
};

} // namespace furrow
