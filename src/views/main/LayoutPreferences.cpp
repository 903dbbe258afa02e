#include "LayoutPreferences.h"

#include "model/UserDefaults.h"

namespace furrow {

namespace {
const QString kCompact = QStringLiteral("layout.compact");
const QString kNotesHidden = QStringLiteral("layout.notesHidden");
const QString kSidebarHidden = QStringLiteral("layout.sidebarHidden");
} // namespace

LayoutPreferences &LayoutPreferences::shared()
{
    static LayoutPreferences preferences;
    return preferences;
}

LayoutPreferences::LayoutPreferences()
{
    const auto defaults = UserDefaults::open();
    m_compact = defaults->value(kCompact, false).toBool();
    m_notesHidden = defaults->value(kNotesHidden, false).toBool();
    m_sidebarHidden = defaults->value(kSidebarHidden, false).toBool();
}

void LayoutPreferences::setCompact(bool compact)
{
    store(kCompact, compact, m_compact);
}

void LayoutPreferences::setNotesHidden(bool hidden)
{
    store(kNotesHidden, hidden, m_notesHidden);
}

void LayoutPreferences::setSidebarHidden(bool hidden)
{
    store(kSidebarHidden, hidden, m_sidebarHidden);
}

void LayoutPreferences::store(const QString &key, bool value, bool &field)
{
    if (field == value)
        return;
    field = value;
    const auto defaults = UserDefaults::open();
    defaults->setValue(key, value);
    defaults->sync();
    Q_EMIT changed();
}

} // namespace furrow
