#include "views/settings/ProjectsTab.h"

#include "model/PlannerStore.h"
#include "model/capture/CaptureContext.h"
#include "views/settings/ProjectNames.h"
#include "views/settings/ProjectSettingsRow.h"
#include "views/theme/IconView.h"
#include "views/theme/Theme.h"
#include "views/widgets/LiftedSurface.h"
#include "views/widgets/QuietScrollArea.h"
#include "views/widgets/StepLabel.h"
#include "views/widgets/TextLabel.h"
#include "views/widgets/ToggleSwitch.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLineEdit>

namespace furrow {

ProjectsTab::ProjectsTab(ModelContext &context, MenuController &menus, QWidget *parent)
    : QWidget(parent)
    , m_context(context)
    , m_menus(menus)
    , m_count(new TextLabel({}, Theme::small(), Theme::muted, this))
    , m_empty(new TextLabel(QStringLiteral("No projects yet. Add one below, or type #name in the "
                                           "capture field."),
                            Theme::body(), Theme::gray, this))
    , m_rows(new QVBoxLayout)
    , m_refusal(new TextLabel({}, Theme::small(), Theme::clay, this))
{
    setObjectName(QStringLiteral("projectsTab"));
    m_count->setObjectName(QStringLiteral("projectCount"));
    m_empty->setObjectName(QStringLiteral("projectsEmpty"));
    m_empty->setWordWrap(true);
    m_refusal->setObjectName(QStringLiteral("newProjectRefusal"));
    m_refusal->setWordWrap(true);
    m_refusal->hide();

    auto *caption = new QHBoxLayout;
    caption->setContentsMargins(28, 22, 28, 10);
    caption->addWidget(new StepLabel(QStringLiteral("ONE LABEL, NOT A FOLDER"), this));
    caption->addStretch(1);
    caption->addWidget(m_count);

    auto *body = new QWidget;
    auto *list = new QVBoxLayout(body);
    list->setContentsMargins(28, 0, 28, 24);
    list->setSpacing(0);
    list->addWidget(m_empty);
    m_rows->setSpacing(6);
    list->addLayout(m_rows);
    list->addSpacing(14);
    list->addWidget(buildNewField());
    list->addSpacing(6);
    list->addWidget(m_refusal);
    list->addSpacing(18);
    list->addWidget(buildReadDatesSwitch());
    list->addStretch(1);
    auto *scroll = new QuietScrollArea(this);
    scroll->setContent(body);

    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addLayout(caption);
    column->addWidget(scroll, 1);

    connect(&context, &ModelContext::changed, this, [this](RecordKinds kinds) {
        if (kinds.testFlag(RecordKind::Project))
            followModel();
    });
    followModel();
}

QWidget *ProjectsTab::buildNewField()
{
    auto *surface = new LiftedSurface(10, this);
    surface->setFixedHeight(38);
    surface->contentLayout()->setContentsMargins(12, 0, 10, 0);
    surface->contentLayout()->setSpacing(8);
    surface->contentLayout()->addWidget(
        IconView::symbol(QStringLiteral("plus"), 14, Theme::muted, surface));
    m_newName = new QLineEdit(surface);
    m_newName->setObjectName(QStringLiteral("newProject"));
    m_newName->setFrame(false);
    m_newName->setPlaceholderText(QStringLiteral("New project"));
    m_newName->setFont(Theme::body());
    QPalette colors = m_newName->palette();
    colors.setColor(QPalette::Text, Theme::ink);
    colors.setColor(QPalette::Base, Qt::transparent);
    colors.setColor(QPalette::PlaceholderText, Theme::line);
    m_newName->setPalette(colors);
    surface->contentLayout()->addWidget(m_newName, 1);
    connect(m_newName, &QLineEdit::returnPressed, this, &ProjectsTab::createProject);
    connect(m_newName, &QLineEdit::textEdited, m_refusal, &QWidget::hide);
    return surface;
}

QWidget *ProjectsTab::buildReadDatesSwitch()
{
    auto *readDates
        = new ToggleSwitch(QStringLiteral("Read dates in what I type"), Theme::brightDeep, this);
    readDates->setObjectName(QStringLiteral("readDates"));
    readDates->setChecked(CaptureContext::readsDates());
    connect(readDates, &QAbstractButton::toggled, this, &CaptureContext::setReadsDates);
    return readDates;
}

void ProjectsTab::createProject()
{
    const QString name = m_newName->text().trimmed();
    if (name.isEmpty())
        return;
    PlannerStore store(m_context);
    // A name the store would answer with an existing project stays in the field, with why.
    if (const QString refusal = ProjectNames::refusalToCreate(store, name); !refusal.isEmpty()) {
        m_refusal->setText(refusal);
        m_refusal->show();
        return;
    }
    m_refusal->hide();
    store.createProject(name);
    m_newName->clear();
}

void ProjectsTab::commitEdits()
{
    // A commit may change the model, which may rebuild the list: walk a copy.
    const QList<ProjectSettingsRow *> rows = m_rowWidgets;
    for (ProjectSettingsRow *row : rows)
        row->commitName();
}

void ProjectsTab::followModel()
{
    const std::vector<Project *> projects = PlannerStore(m_context).projects();
    m_count->setText(QString::number(projects.size()));
    m_empty->setVisible(projects.empty());
    bool sameRows = qsizetype(projects.size()) == m_rowWidgets.size();
    for (qsizetype i = 0; sameRows && i < m_rowWidgets.size(); ++i)
        sameRows = m_rowWidgets[i]->projectId() == projects[std::size_t(i)]->id();
    if (sameRows) {
        for (ProjectSettingsRow *row : std::as_const(m_rowWidgets))
            row->refresh();
        return;
    }
    const QWidget *focus = QApplication::focusWidget();
    const bool rowHadFocus = focus && isAncestorOf(focus) && focus != m_newName;
    for (ProjectSettingsRow *row : std::as_const(m_rowWidgets)) {
        row->hide();
        row->deleteLater();
    }
    m_rowWidgets.clear();
    for (Project *project : projects) {
        auto *row = new ProjectSettingsRow(m_context, m_menus, *project);
        m_rows->addWidget(row);
        m_rowWidgets.append(row);
    }
    // A deleted row took the focus with it; the new-project field takes it over.
    if (rowHadFocus && m_newName->isVisible())
        m_newName->setFocus();
}

} // namespace furrow
