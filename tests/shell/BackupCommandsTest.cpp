#include "shell/BackupCommands.h"
#include "HotkeyTestSupport.h"

#include "model/PlannerStore.h"
#include "persistence/DatedCopies.h"
#include "persistence/PlannerArchiveIO.h"
#include "persistence/PlannerFile.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

namespace furrow {
namespace {

class BackupCommandsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ModelContext elsewhere;
        PlannerStore source(elsewhere);
        source.capture(QStringLiteral("Call the plumber"), nullptr, nullptr);
        source.capture(QStringLiteral("Buy milk"), nullptr, nullptr);
        ASSERT_TRUE(PlannerArchiveIO::exportTo(source, file).succeeded);
    }

    // Imports the file, answering the confirmation with the button titled `answer`; the text
    // the confirmation showed goes to m_shown.
    bool importAnswering(const QString &answer)
    {
        QTimer poll;
        poll.setInterval(10);
        QObject::connect(&poll, &QTimer::timeout, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box)
                return;
            poll.stop();
            m_shown = box->text();
            for (QAbstractButton *button : box->buttons()) {
                if (button->text() == answer)
                    button->click();
            }
        });
        poll.start();
        return BackupCommands::importFile(context, file, nullptr);
    }

    QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("planner.json"));
    ModelContext context;
    PlannerStore store{context};
    QString m_shown;
};

TEST_F(BackupCommandsTest, import_showsWhatItWillDo_andCancelImportsNothing)
{
    EXPECT_FALSE(importAnswering(QStringLiteral("Cancel")));
    EXPECT_EQ(m_shown, QStringLiteral("2 new, 0 updated, nothing deleted"));
    EXPECT_TRUE(store.allTasks().empty());
    EXPECT_FALSE(context.hasChanges());

    EXPECT_TRUE(importAnswering(QStringLiteral("Import")));
    EXPECT_EQ(store.allTasks().size(), 2u);
    EXPECT_FALSE(context.hasChanges()) << "the import saves";

    EXPECT_TRUE(importAnswering(QStringLiteral("Import")));
    EXPECT_EQ(m_shown, QStringLiteral("0 new, 0 updated, nothing deleted"));
    EXPECT_EQ(store.allTasks().size(), 2u);
}

TEST_F(BackupCommandsTest, showTheFile_withoutAFileManager_tellsWhereItIsAndCopiesThePath)
{
    const auto bus = QDBusConnection::sessionBus();
    if (bus.isConnected()
        && (bus.interface()->isServiceRegistered(QStringLiteral("org.freedesktop.FileManager1"))
            || bus.interface()->activatableServiceNames().value().contains(
                QStringLiteral("org.freedesktop.FileManager1"))))
        GTEST_SKIP() << "this session has a file manager";
    // Nothing on the path opens folders either.
    const QTemporaryDir emptyPath;
    const test::ScopedEnv path("PATH", emptyPath.path().toUtf8());

    QWidget window;
    BackupCommands::revealBackup(context, false, &window);
    auto *box = window.findChild<QMessageBox *>(QStringLiteral("backupFileLocation"));
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(box->text().endsWith(QStringLiteral("\n\n") + PlannerFile::backupPath()));
    QAbstractButton *copy = box->findChild<QAbstractButton *>(QStringLiteral("copyPath"));
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->text(), QStringLiteral("Copy path"));
    QGuiApplication::clipboard()->clear();
    copy->click();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), PlannerFile::backupPath());
}

TEST(DatedCopiesListTest, listsTheCopiesNewestFirst_withTheirDayAndTaskCount)
{
    const QString folder = DatedCopies::folderFor(PlannerFile::backupPath());
    ASSERT_TRUE(QDir().mkpath(folder));
    const auto keep = qScopeGuard([folder] { QDir(folder).removeRecursively(); });
    ModelContext context;
    PlannerStore store(context);
    store.capture(QStringLiteral("Call the plumber"), nullptr, nullptr);
    ASSERT_TRUE(PlannerArchiveIO::exportTo(store, folder + "/planner-2026-12-04.json").succeeded);
    store.capture(QStringLiteral("Buy milk"), nullptr, nullptr);
    ASSERT_TRUE(PlannerArchiveIO::exportTo(store, folder + "/planner-2026-12-05.json").succeeded);
    QFile damaged(folder + "/planner-2026-12-03.json");
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly) && damaged.write("{"));
    damaged.close();

    std::vector<QString> labels;
    for (const BackupCommands::DatedCopy &copy : BackupCommands::datedCopies())
        labels.push_back(copy.label);
    EXPECT_EQ(labels, (std::vector<QString>{"2026-12-05 · 2 tasks", "2026-12-04 · 1 task",
                                            "2026-12-03 · cannot be read"}));
}

} // namespace
} // namespace furrow
