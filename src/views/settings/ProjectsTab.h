#pragma once

#include <QWidget>

class QLineEdit;
class QVBoxLayout;

namespace furrow {

class MenuController;
class ModelContext;
class ProjectSettingsRow;
class TextLabel;

// The settings window's Projects tab: the live projects in order, each a row to recolour,
// rename or delete, and a field that creates a new one, saying under it why a name was refused.
// It follows the planner's changes.
class ProjectsTab : public QWidget
{
    Q_OBJECT

public:
    ProjectsTab(ModelContext &context, MenuController &menus, QWidget *parent = nullptr);

    // Commits the names being typed, as leaving their fields would.
    void commitEdits();

private:
    QWidget *buildNewField();
    // Whether capture fields read due days and repeats out of the text.
    QWidget *buildReadDatesSwitch();
    void createProject();
    // Rebuilds the rows when the set or order of projects changed, else refreshes them.
    void followModel();

    ModelContext &m_context;
    MenuController &m_menus;
    TextLabel *m_count;
    TextLabel *m_empty;
    QVBoxLayout *m_rows;
    TextLabel *m_refusal;
    QLineEdit *m_newName = nullptr;
    QList<ProjectSettingsRow *> m_rowWidgets;
};

} // namespace furrow
