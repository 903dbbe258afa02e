#include "MainToolbar.h"

#include "views/board/ToolbarChip.h"

#include <QHBoxLayout>

namespace furrow {

namespace {
// The window's title bar is the desktop's own, so the chips start at an ordinary margin.
constexpr int kSideMargin = 16;
constexpr int kChipSpacing = 8;
} // namespace

MainToolbar::MainToolbar(QWidget *parent)
    : QWidget(parent)
    , m_sidebar(new ToolbarChip(QStringLiteral("sidebar.leading"), {},
                                QStringLiteral("Hide the sidebar"), false, this))
    , m_category(new ToolbarChip(QStringLiteral("plus"), QStringLiteral("Category"),
                                 QStringLiteral("Add a category"), true, this))
    , m_notes(new ToolbarChip(QStringLiteral("text.alignleft"), QStringLiteral("Hide notes"),
                              QStringLiteral("Notes on task rows"), true, this))
    , m_rowHeight(new ToolbarChip(QStringLiteral("rectangle.compress.vertical"),
                                  QStringLiteral("Compact rows"), QStringLiteral("Row height"),
                                  true, this))
    , m_settings(
          new ToolbarChip(QStringLiteral("gearshape"), {}, QStringLiteral("Settings"), false, this))
{
    m_sidebar->setObjectName(QStringLiteral("sidebarChip"));
    m_category->setObjectName(QStringLiteral("categoryChip"));
    m_notes->setObjectName(QStringLiteral("notesChip"));
    m_rowHeight->setObjectName(QStringLiteral("rowHeightChip"));
    m_settings->setObjectName(QStringLiteral("settingsChip"));
    setFixedHeight(kHeight);
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(kSideMargin, 0, kSideMargin, 0);
    row->setSpacing(kChipSpacing);
    row->addWidget(m_sidebar);
    row->addWidget(m_category);
    row->addStretch(1);
    row->addWidget(m_notes);
    row->addWidget(m_rowHeight);
    row->addWidget(m_settings);

    connect(m_sidebar, &ToolbarChip::clicked, this, &MainToolbar::sidebarToggled);
    connect(m_category, &ToolbarChip::clicked, this, &MainToolbar::newCategoryRequested);
    connect(m_notes, &ToolbarChip::clicked, this, &MainToolbar::notesToggled);
    connect(m_rowHeight, &ToolbarChip::clicked, this, &MainToolbar::rowHeightToggled);
    connect(m_settings, &ToolbarChip::clicked, this, [this] {
        if (m_settings->isMarked())
            Q_EMIT syncSettingsRequested();
        else
            Q_EMIT settingsRequested();
    });
}

void MainToolbar::setSyncFailing(bool failing)
{
    m_settings->setMarked(failing);
    const QString why = failing ? QStringLiteral("Sync is failing") : QString();
    m_settings->setToolTip(failing ? QStringLiteral("Settings — sync is failing")
                                   : QStringLiteral("Settings"));
    m_settings->setAccessibleDescription(why);
}

void MainToolbar::setPageShown(bool pageSelected, bool pageExists)
{
    m_category->setVisible(pageSelected);
    m_category->setEnabled(pageExists);
}

void MainToolbar::setLayoutState(bool sidebarHidden, bool notesHidden, bool compact)
{
    m_sidebar->setHelp(sidebarHidden ? QStringLiteral("Show the sidebar")
                                     : QStringLiteral("Hide the sidebar"));
    m_notes->setLabel(notesHidden ? QStringLiteral("Show notes") : QStringLiteral("Hide notes"));
    m_rowHeight->setSymbol(compact ? QStringLiteral("rectangle.expand.vertical")
                                   : QStringLiteral("rectangle.compress.vertical"));
    m_rowHeight->setLabel(compact ? QStringLiteral("Roomy rows") : QStringLiteral("Compact rows"));
}

} // namespace furrow
