#pragma once

#include <QObject>

namespace furrow {

// The main window's layout switches, kept in the user defaults ("layout.compact",
// "layout.notesHidden", "layout.sidebarHidden") and shared by every open main window.
class LayoutPreferences : public QObject
{
    Q_OBJECT

public:
    static LayoutPreferences &shared();

    bool compact() const { return m_compact; }
    bool notesHidden() const { return m_notesHidden; }
    bool sidebarHidden() const { return m_sidebarHidden; }

    void setCompact(bool compact);
    void setNotesHidden(bool hidden);
    void setSidebarHidden(bool hidden);

Q_SIGNALS:
    void changed();

private:
    LayoutPreferences();
    void store(const QString &key, bool value, bool &field);

    bool m_compact = false;
    bool m_notesHidden = false;
    bool m_sidebarHidden = false;
};

} // namespace furrow
