#include "views/settings/BackupTab.h"

#include "views/theme/Theme.h"
#include "views/widgets/PillButton.h"
#include "views/widgets/StepLabel.h"
#include "views/widgets/TextLabel.h"

#include <QHBoxLayout>

namespace furrow {

namespace {

TextLabel *wrappedText(const QString &text, const QFont &font, const QColor &color, QWidget *parent)
{
    auto *label = new TextLabel(text, font, color, parent);
    label->setWordWrap(true);
    return label;
}

} // namespace

BackupTab::BackupTab(Actions actions, QWidget *parent)
    : QWidget(parent)
    , m_actions(std::move(actions))
{
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(28, 22, 28, 24);
    column->setSpacing(0);
    column->addWidget(new StepLabel(QStringLiteral("EVERYTHING IN ONE FILE"), this));
    column->addSpacing(10);
    column->addWidget(wrappedText(QStringLiteral("Tasks, projects and the day log live in a single "
                                                 "JSON file, rewritten a moment after every "
                                                 "change."),
                                  Theme::body(), Theme::gray, this));
    column->addSpacing(18);

    auto *buttons = new QHBoxLayout;
    buttons->setSpacing(8);
    const auto addButton
        = [&](const char *name, const QString &title, const std::function<void()> &action) {
              auto *button = new PillButton(title, PillButton::Kind::Normal, this);
              button->setObjectName(QLatin1String(name));
              connect(button, &QAbstractButton::clicked, this, [action] {
                  if (action)
                      action();
              });
              buttons->addWidget(button);
          };
    addButton("exportButton", QStringLiteral("Export…"), m_actions.exportFile);
    addButton("importButton", QStringLiteral("Import…"), m_actions.importFile);
    addButton("showFileButton", QStringLiteral("Show the file"), m_actions.revealFile);
    addButton("restoreCopyButton", QStringLiteral("Restore a copy…"), m_actions.restoreCopy);
    buttons->addStretch(1);
    column->addLayout(buttons);
    column->addSpacing(14);
    column->addWidget(wrappedText(QStringLiteral("Import adds what is missing and updates what "
                                                 "changed. Nothing is deleted."),
                                  Theme::small(), Theme::muted, this));
    column->addStretch(1);
}

} // namespace furrow
