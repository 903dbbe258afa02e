#pragma once

#include <QWidget>

#include <functional>

namespace furrow {

// The settings window's Backup tab: what the backup file is, and Export…, Import… and Show the
// file, which run the application's backup commands.
class BackupTab : public QWidget
{
    Q_OBJECT

public:
    struct Actions
    {
        std::function<void()> exportFile;
        std::function<void()> importFile;
        std::function<void()> revealFile;
        std::function<void()> restoreCopy;
    };

    explicit BackupTab(Actions actions, QWidget *parent = nullptr);

private:
    Actions m_actions;
};

} // namespace furrow
