#pragma once

#include <QWidget>

namespace furrow {

class ToolbarChip;

// The strip of chips along the top of the main window: sidebar, new category, notes and row
// height, and settings. It only reports clicks; the window owns the state the chips show.
class MainToolbar : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kHeight = 52;

    explicit MainToolbar(QWidget *parent = nullptr);

    // The Category chip shows while a page is selected and works while that page exists.
    void setPageShown(bool pageSelected, bool pageExists);
    void setLayoutState(bool sidebarHidden, bool notesHidden, bool compact);
    // While sync is failing the Settings chip carries a dot and opens the Sync tab.
    void setSyncFailing(bool failing);

Q_SIGNALS:
    void sidebarToggled();
    void newCategoryRequested();
    void notesToggled();
    void rowHeightToggled();
    void settingsRequested();
    void syncSettingsRequested();

private:
    ToolbarChip *m_sidebar;
    ToolbarChip *m_category;
    ToolbarChip *m_notes;
    ToolbarChip *m_rowHeight;
    ToolbarChip *m_settings;
};

} // namespace furrow
