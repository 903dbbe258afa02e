#include "views/settings/GeneralTab.h"

#include "model/MorningSummaryPreference.h"
#include "views/pickers/ReminderTimeEdit.h"
#include "views/settings/SessionAutostart.h"
#include "views/theme/Theme.h"
#include "views/widgets/HairLine.h"
#include "views/widgets/Stacks.h"
#include "views/widgets/StepLabel.h"
#include "views/widgets/TextLabel.h"
#include "views/widgets/ToggleSwitch.h"

namespace furrow {

namespace {

TextLabel *wrapped(const QString &text, const QFont &font, const QColor &color, QWidget *parent)
{
    auto *label = new TextLabel(text, font, color, parent);
    label->setWordWrap(true);
    return label;
}

} // namespace

GeneralTab::GeneralTab(QWidget *parent)
    : QWidget(parent)
    , m_autostart(
          new ToggleSwitch(QStringLiteral("Start Furrow when I log in"), Theme::brightDeep, this))
    , m_autostartProblem(wrapped({}, Theme::small(), Theme::clay, this))
{
    setObjectName(QStringLiteral("generalTab"));
    m_autostart->setObjectName(QStringLiteral("startWithSession"));
    m_autostart->setCheckable(true);
    m_autostartProblem->setObjectName(QStringLiteral("startWithSessionProblem"));
    m_autostartProblem->hide();
    connect(m_autostart, &QAbstractButton::clicked, this, &GeneralTab::setAutostart);

    auto *column = Stacks::column(this, 14);
    column->addWidget(new StepLabel(QStringLiteral("IN THE BACKGROUND"), this));
    column->addWidget(wrapped(QStringLiteral("Quick capture and reminders work while Furrow "
                                             "runs, with or without its window."),
                              Theme::body(), Theme::gray, this));
    column->addWidget(m_autostart);
    column->addWidget(m_autostartProblem);
    column->addWidget(new HairLine(this));
    column->addWidget(new StepLabel(QStringLiteral("EACH MORNING"), this));
    column->addWidget(wrapped(QStringLiteral("One notification with what is due today and what "
                                             "is overdue; none on a day with nothing due."),
                              Theme::body(), Theme::gray, this));
    column->addWidget(buildSummaryRow());
    column->addStretch(1);
}

QWidget *GeneralTab::buildSummaryRow()
{
    auto *row = new QWidget(this);
    auto *layout = Stacks::row(row, 12);
    m_summary = new ToggleSwitch(QStringLiteral("Morning summary"), Theme::brightDeep, row);
    m_summary->setObjectName(QStringLiteral("morningSummary"));
    m_summary->setCheckable(true);
    m_summary->setChecked(MorningSummaryPreference::isOn());
    m_summaryTime = new ReminderTimeEdit(row);
    m_summaryTime->setObjectName(QStringLiteral("morningSummaryTime"));
    m_summaryTime->setAccessibleName(QStringLiteral("Morning summary time"));
    m_summaryTime->setTime(MorningSummaryPreference::time());
    m_summaryTime->setEnabled(m_summary->isChecked());
    layout->addWidget(m_summary);
    layout->addWidget(m_summaryTime);
    layout->addStretch(1);
    connect(m_summary, &QAbstractButton::toggled, this, [this](bool on) {
        MorningSummaryPreference::setOn(on);
        m_summaryTime->setEnabled(on);
    });
    connect(m_summaryTime, &QTimeEdit::timeChanged, this, &MorningSummaryPreference::setTime);
    return row;
}

void GeneralTab::showEvent(QShowEvent *event)
{
    m_autostart->setChecked(SessionAutostart::isEnabled());
    QWidget::showEvent(event);
}

void GeneralTab::setAutostart(bool on)
{
    const bool written = SessionAutostart::setEnabled(on);
    m_autostart->setChecked(SessionAutostart::isEnabled());
    m_autostartProblem->setText(written ? QString()
                                        : QStringLiteral("The file %1 could not be changed.")
                                              .arg(SessionAutostart::entryPath()));
    m_autostartProblem->setVisible(!written);
}

} // namespace furrow
