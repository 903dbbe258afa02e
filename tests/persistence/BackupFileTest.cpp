#include "TestSupport.h"

#include "persistence/PersistenceError.h"
#include "persistence/PlannerFile.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace furrow;

namespace {

PlannerArchive archiveNamed(const QString &projectName)
{
    PlannerArchive archive;
    archive.projects = {{QUuid::createUuid(), projectName, "#2563EB", 0, Clock::now(), {}}};
    return archive;
}

class BackupFileTest : public testing::Test
{
protected:
    void SetUp() override
    {
        QDir(dataFolder() + "/Furrow").removeRecursively();
        QDir(dataFolder() + "/Plotter").removeRecursively();
    }
    static QString dataFolder()
    {
        return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    }
};

} // namespace

TEST_F(BackupFileTest, backupPaths_lieInTheDataFolder)
{
    EXPECT_EQ(PlannerFile::backupPath(), dataFolder() + "/Furrow/planner.json");
    EXPECT_EQ(PlannerFile::legacyBackupPath(), dataFolder() + "/Plotter/planner.json");
}

TEST_F(BackupFileTest, write_createsMissingFoldersAndReplacesTheFileWhole)
{
    QTemporaryDir dir;
    const QString path = dir.path() + "/a/b/planner.json";

    PlannerFile::write(archiveNamed("First"), path);
    PlannerFile::write(archiveNamed("Second"), path);

    EXPECT_EQ(PlannerArchive::decode(test::readFile(path)).projects[0].name, "Second");
    EXPECT_EQ(QDir(dir.path() + "/a/b").entryList(QDir::Files | QDir::Hidden),
              QStringList{"planner.json"}); // no temporary file left behind
}

TEST_F(BackupFileTest, write_intoUnwritableFolder_throwsAndKeepsThePreviousFile)
{
    QTemporaryDir dir;
    const QString path = dir.path() + "/planner.json";
    PlannerFile::write(archiveNamed("Kept"), path);
    const QByteArray previous = test::readFile(path);
    test::UnwritableFolder unwritable(dir.path());
    if (!unwritable.isActive())
        GTEST_SKIP() << "cannot make a folder unwritable here";

    EXPECT_THROW(PlannerFile::write(archiveNamed("Lost"), path), PersistenceError);

    EXPECT_EQ(test::readFile(path), previous);
}

TEST_F(BackupFileTest, write_whereAFolderWouldBeAFile_throws)
{
    QTemporaryDir dir;
    test::writeFile(dir.path() + "/file", "x");
    EXPECT_THROW(PlannerFile::write(archiveNamed("X"), dir.path() + "/file/planner.json"),
                 PersistenceError);
}

TEST_F(BackupFileTest, migrateLegacyBackup_movesOnlyWhenTheCurrentFileIsMissing)
{
    QDir().mkpath(dataFolder() + "/Plotter");
    test::writeFile(PlannerFile::legacyBackupPath(), "legacy");

    PlannerFile::migrateLegacyBackup();

    EXPECT_EQ(test::readFile(PlannerFile::backupPath()), "legacy");
    EXPECT_FALSE(QFileInfo::exists(PlannerFile::legacyBackupPath()));

    test::writeFile(PlannerFile::legacyBackupPath(), "older");
    PlannerFile::migrateLegacyBackup();

    EXPECT_EQ(test::readFile(PlannerFile::backupPath()), "legacy");
    EXPECT_EQ(test::readFile(PlannerFile::legacyBackupPath()), "older");
}

TEST_F(BackupFileTest, migrateLegacyBackup_withoutAnyFile_createsNothing)
{
    PlannerFile::migrateLegacyBackup();
    EXPECT_FALSE(QFileInfo::exists(dataFolder() + "/Furrow"));
}

TEST_F(BackupFileTest, migrateLegacyBackup_thatFails_logsAndLeavesTheOldFile)
{
    QDir().mkpath(dataFolder() + "/Plotter");
    test::writeFile(PlannerFile::legacyBackupPath(), "legacy");
    test::writeFile(dataFolder() + "/Furrow", "a file where the folder belongs");
    test::CapturedOutput output;

    PlannerFile::migrateLegacyBackup();

    EXPECT_EQ(output.text().rfind("Furrow: старая резервная копия осталась на месте — ", 0), 0u)
        << output.text();
    EXPECT_EQ(test::readFile(PlannerFile::legacyBackupPath()), "legacy");
    QFile::remove(dataFolder() + "/Furrow");
}
