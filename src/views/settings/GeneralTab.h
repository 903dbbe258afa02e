#pragma once

#include <QWidget>

namespace furrow {

class ReminderTimeEdit;
class TextLabel;
class ToggleSwitch;

// The settings window's General tab: whether the planner starts with the desktop session, and
// the morning summary's switch and time.
class GeneralTab : public QWidget
{
    Q_OBJECT

public:
    explicit GeneralTab(QWidget *parent = nullptr);

protected:
    // The autostart entry may have been removed outside the planner: read it again each time.
    void showEvent(QShowEvent *event) override;

private:
    void setAutostart(bool on);
    QWidget *buildSummaryRow();

    ToggleSwitch *m_autostart;
    TextLabel *m_autostartProblem;
    ToggleSwitch *m_summary = nullptr;
    ReminderTimeEdit *m_summaryTime = nullptr;
};

} // namespace furrow
