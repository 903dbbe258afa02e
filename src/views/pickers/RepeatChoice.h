#pragma once

#include <QDate>
#include <QUuid>
#include <QWidget>

class QComboBox;

namespace furrow {

class ModelContext;
class RepeatEditor;
class TaskItem;

// The due picker's "Repeat" row: Never, Every day, Every weekday, every week on the due day's
// weekday, every month on its day, Every year, and Custom…, which opens the repeat editor
// below. A task's rule that is none of these shows as an entry of its own, in words.
class RepeatChoice : public QWidget
{
    Q_OBJECT

public:
    RepeatChoice(ModelContext &context, const TaskItem &task, QWidget *parent = nullptr);

Q_SIGNALS:
    // A rule was set or cleared (or the task is gone); the opener closes the popup.
    void dismissRequested();

private:
    void addChoices(const TaskItem &task);
    void choose(int index);
    void apply(const QString &rule, bool fromDone);

    ModelContext &m_context;
    QUuid m_taskId;
    QDate m_due;
    QComboBox *m_choices;
    RepeatEditor *m_editor;
};

} // namespace furrow
