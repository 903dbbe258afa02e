#pragma once

#include "views/settings/SettingsTab.h"

#include <QWidget>

namespace furrow {

class PillButton;

// The settings window's row of tab pills, the current one selected. Tab reaches the pills, the
// arrow keys switch to the neighbouring tab, Return and Space pick the focused one.
class TabPillBar : public QWidget
{
    Q_OBJECT

public:
    explicit TabPillBar(QWidget *parent = nullptr);

    SettingsTab current() const { return m_current; }
    void setCurrent(SettingsTab tab);
    PillButton *pill(SettingsTab tab) const;

Q_SIGNALS:
    void picked(furrow::SettingsTab tab);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void pick(SettingsTab tab);

    std::array<PillButton *, SettingsTabs::all.size()> m_pills{};
    SettingsTab m_current = SettingsTab::Projects;
};

} // namespace furrow
