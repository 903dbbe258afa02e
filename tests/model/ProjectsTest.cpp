#include "StoreFixture.h"

namespace furrow::test {
namespace {

using ProjectsTest = StoreFixture;

TEST_F(ProjectsTest, createProject_returnsAnExistingMatchWithoutSaving)
{
    Project *homework = addProject(QStringLiteral("Homework"));
    EXPECT_EQ(store.createProject(QStringLiteral("home")), homework);
    EXPECT_EQ(store.createProject(QStringLiteral("HOMEWORK")), homework);
    EXPECT_EQ(context.rows<Project>().size(), 1u);
    EXPECT_EQ(saveCount(), 0);
}

TEST_F(ProjectsTest, renameAndSetColor_stampAndSaveOnlyARealChange)
{
    Project *project = addProject(QStringLiteral("Home"));
    const Instant before = project->updatedAt();
    Clock::setNow(localTime(2026, 3, 10, 11));

    store.rename(*project, QStringLiteral(" \n "));
    store.rename(*project, QStringLiteral(" Home "));
    store.setColor(project->colorHex(), *project);
    EXPECT_EQ(project->updatedAt(), before);
    EXPECT_EQ(saveCount(), 0);

    store.rename(*project, QStringLiteral("  Household "));
    EXPECT_EQ(project->name(), QStringLiteral("Household"));
    EXPECT_EQ(project->updatedAt(), localTime(2026, 3, 10, 11));
    store.setColor(QStringLiteral("#0D9488"), *project);
    EXPECT_EQ(project->colorHex(), QStringLiteral("#0D9488"));
    EXPECT_EQ(saveCount(), 2);
}

TEST_F(ProjectsTest, deleteProject_unlinksEveryTaskButTombstonedOnes)
{
    Project *project = addProject(QStringLiteral("P"));
    TaskItem *open = addTask(QStringLiteral("open"), nullptr, 0, project);
    TaskItem *done = addTask(QStringLiteral("done"), nullptr, 1, project);
    done->setDone(true);
    TaskItem *archived = addTask(QStringLiteral("arch"), nullptr, 2, project);
    archived->setArchivedAt(Clock::now());
    TaskItem *tombstoned = addTask(QStringLiteral("gone"), nullptr, 3, project);
    tombstoned->setDeletedAt(Clock::now());

    store.deleteProject(*project);
    EXPECT_EQ(open->project(), nullptr);
    EXPECT_EQ(done->project(), nullptr);
    EXPECT_EQ(archived->project(), nullptr);
    EXPECT_EQ(tombstoned->project(), project);
    EXPECT_TRUE(project->deletedAt());
    EXPECT_TRUE(store.projects().empty());
}

TEST_F(ProjectsTest, isHexColor_acceptsWhatAnUnsignedHexConversionAccepts)
{
    for (const char *good : {"#1a2B3c", "1A2B3C", " #FFFFFF ", "+12345", "#-00000"})
        EXPECT_TRUE(PlannerStore::isHexColor(QString::fromUtf8(good))) << good;
    for (const char *bad : {"#FFF", "##FFFFFF", "#GGGGGG", "", "-00001", "+-1234", "12 456", "red"})
        EXPECT_FALSE(PlannerStore::isHexColor(QString::fromUtf8(bad))) << bad;
}

TEST_F(ProjectsTest, normalizeProjectColors_repairsByPositionAndSavesOnlyOnChange)
{
    std::vector<Project *> projects;
    for (int i = 0; i < 14; ++i)
        projects.push_back(addProject(QStringLiteral("p%1").arg(i), i));
    projects[13]->setColorHex(QStringLiteral("red"));
    const Instant before = projects[0]->updatedAt();
    Clock::advance(std::chrono::minutes(1));

    store.normalizeProjectColors();
    EXPECT_EQ(projects[13]->colorHex(), QStringLiteral("#EA580C"));
    EXPECT_EQ(projects[13]->updatedAt(), Clock::now());
    EXPECT_EQ(projects[0]->updatedAt(), before);
    EXPECT_EQ(saveCount(), 1);
    store.normalizeProjectColors();
    EXPECT_EQ(saveCount(), 1);
}

TEST_F(ProjectsTest, matchProject_exactBeforeUniquePrefix)
{
    Project *homework = addProject(QStringLiteral("Homework"), 1);
    Project *home = addProject(QStringLiteral("Home"), 0);
    Project *lowerHome = addProject(QStringLiteral("home"), 2);
    EXPECT_EQ(store.matchProject(QStringLiteral("HOME")), home) << "ties go to the lower order";
    EXPECT_EQ(store.matchProject(QStringLiteral("homew")), homework);
    EXPECT_EQ(store.matchProject(QStringLiteral("hom")), nullptr) << "ambiguous prefix";
    EXPECT_EQ(store.matchProject(QStringLiteral("--__")), nullptr) << "empty key";
    home->setDeletedAt(Clock::now());
    lowerHome->setDeletedAt(Clock::now());
    EXPECT_EQ(store.matchProject(QStringLiteral("home")), homework) << "tombstones never match";
}

TEST_F(ProjectsTest, matchProject_foldsOnlyCaseHyphensAndLowLines_byCanonicalEquivalence)
{
    Project *side = addProject(QStringLiteral("side project"));
    EXPECT_EQ(store.matchProject(QStringLiteral("side_project")), side);
    EXPECT_EQ(store.matchProject(QStringLiteral("Side-Project")), side);
    Project *cafe = addProject(QStringLiteral("Café"), 1); // precomposed é
    EXPECT_EQ(store.matchProject(QStringLiteral("cafe")), nullptr) << "diacritics count";
    EXPECT_EQ(store.matchProject(QStringLiteral("cafe\u0301")), cafe);
    Project *dotted = addProject(QStringLiteral("q\u0307x"), 2); // q with a combining dot
    EXPECT_EQ(store.matchProject(QStringLiteral("q")), nullptr)
        << "a prefix may not end inside a character";
    EXPECT_EQ(store.matchProject(QStringLiteral("q\u0307")), dotted);
}
} // namespace
} // namespace furrow::test
