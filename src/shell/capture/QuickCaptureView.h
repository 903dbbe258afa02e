#pragma once

#include <QUuid>
#include <QWidget>

#include <vector>

class QLineEdit;

namespace furrow {

class CaptureChip;
class CaptureMarks;
class ChipBar;
class ModelContext;
class Project;

// The quick capture panel's content, made fresh for every showing: one text field and a bar of
// project chips, drawn on the panel's card. Return files the text as a task in the first section of
// the first page with the chosen project and dismisses; Esc dismisses without filing.
class QuickCaptureView : public QWidget
{
    Q_OBJECT

public:
    explicit QuickCaptureView(ModelContext &context, QWidget *parent = nullptr);

    // The live projects by order; while a "#name" is being typed at the end of the text, only
    // those whose names begin with it (compared as project tokens are).
    std::vector<Project *> offered() const;
    // The project the capture gets when the text names none; null for none.
    Project *project() const;
    // Chooses the project (null for none); a "#name" being typed at the end of the text gives
    // way to the choice.
    void pick(Project *project);
    // Files the text, remembers the project for the next capture and dismisses.
    void submit();
    void focusField();

Q_SIGNALS:
    void dismissed();

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    QWidget *buildFieldRow();
    // The project chips with the due day or repeat read from the text in front of them.
    QWidget *buildChipRow();
    void refreshDueChip();
    void refreshChips();
    Project *liveProject(const QUuid &id) const;

    ModelContext &m_context;
    QLineEdit *m_field;
    ChipBar *m_chips;
    CaptureChip *m_dueChip = nullptr;
    CaptureMarks *m_marks = nullptr;
    QUuid m_projectId;
    std::vector<QUuid> m_shownChoices; // the offered ids and the choice last shown
};

} // namespace furrow
