#pragma once

#include <QUuid>
#include <QWidget>

namespace furrow {

class ColorDot;
class IconButton;
class InlineField;
class MenuController;
class ModelContext;
class Project;
class TextLabel;

// One project in the Projects tab: its colour dot (opening the colour grid), its name as an
// editable field and a delete button. Every change goes through the planner store: a new name
// is committed on Return or when the field loses focus, a colour when a swatch is picked. A
// name another project already answers to is refused with a note under the row.
class ProjectSettingsRow : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kHeight = 38;
    static constexpr int kPopoverWidth = 244;

    ProjectSettingsRow(ModelContext &context, MenuController &menus, const Project &project,
                       QWidget *parent = nullptr);

    QUuid projectId() const { return m_projectId; }
    // Shows the project's colour and name again; a name being typed is left alone.
    void refresh();
    // Renames the project to what the name field holds, if that differs and is not refused.
    void commitName();

protected:
    void paintEvent(QPaintEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    Project *project() const;
    void openColors();
    void deleteProject();

    ModelContext &m_context;
    MenuController &m_menus;
    const QUuid m_projectId;
    QWidget *m_bar;
    ColorDot *m_dot;
    InlineField *m_name;
    IconButton *m_delete;
    TextLabel *m_refusal;
    bool m_hovering = false;
};

} // namespace furrow
