#include "views/settings/SettingsWindow.h"
#include "Rendering.h"
#include "ViewTestSupport.h"
#include "model/MorningSummaryPreference.h"
#include "model/PlannerNotifications.h"
#include "model/PlannerStore.h"
#include "persistence/ArchiveWriter.h"
#include "sync/SyncEngine.h"
#include "views/board/InlineField.h"
#include "views/menus/MenuController.h"
#include "views/settings/ColorDot.h"
#include "views/settings/ProjectSettingsRow.h"
#include "views/settings/SessionAutostart.h"
#include "views/settings/SyncSettingsTab.h"
#include "views/settings/TabPillBar.h"
#include "views/widgets/ColorSwatchGrid.h"
#include "views/widgets/PillButton.h"
#include "views/widgets/StepLabel.h"
#include "views/widgets/TextLabel.h"

#include <QAbstractButton>
#include <QFile>
#include <QLineEdit>
#include <QScreen>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimeEdit>

using namespace furrow;

namespace {

// A settings window over an in-memory planner; the backup buttons count their clicks.
class SettingsTest : public testing::Test
{
protected:
    SettingsTest()
        : window(context, BackupTab::Actions{[this] { ++exports; }, [this] { ++imports; },
                                             [this] { ++reveals; },
                                             [this] {
                                                 ++restores;
                                             }})
    {
        window.resize(540, 560);
    }

    template<class T = QWidget>
    T *child(const QString &name) const
    {
        return window.findChild<T *>(name);
    }
    QList<ProjectSettingsRow *> rows() const
    {
        QList<ProjectSettingsRow *> visible;
        for (ProjectSettingsRow *row : window.findChildren<ProjectSettingsRow *>()) {
            if (!row->isHidden())
                visible.append(row);
        }
        return visible;
    }
    QLineEdit *newField() const { return child<QLineEdit>(QStringLiteral("newProject")); }
    QString countText() const { return child<TextLabel>(QStringLiteral("projectCount"))->text(); }
    void type(QLineEdit *field, const QString &text)
    {
        field->setFocus();
        field->selectAll();
        QTest::keyClicks(field, text);
        QTest::keyClick(field, Qt::Key_Return);
        settle();
    }

    ModelContext context;
    int exports = 0, imports = 0, reveals = 0, restores = 0;
    SettingsWindow window;
};

} // namespace

TEST_F(SettingsTest, projects_blankNameDoesNothingAndANameCreatesARow)
{
    window.show();
    EXPECT_EQ(countText(), QStringLiteral("0"));
    EXPECT_TRUE(child(QStringLiteral("projectsEmpty"))->isVisible());

    QSignalSpy saves(&context, &ModelContext::storeSaved);
    type(newField(), QStringLiteral("   "));
    EXPECT_TRUE(PlannerStore(context).projects().empty());
    EXPECT_EQ(newField()->text(), QStringLiteral("   "));
    EXPECT_EQ(saves.count(), 0);

    type(newField(), QStringLiteral("  Home "));
    ASSERT_EQ(PlannerStore(context).projects().size(), 1u);
    EXPECT_EQ(PlannerStore(context).projects().front()->name(), QStringLiteral("Home"));
    EXPECT_TRUE(newField()->text().isEmpty());
    EXPECT_EQ(countText(), QStringLiteral("1"));
    EXPECT_FALSE(child(QStringLiteral("projectsEmpty"))->isVisible());
    ASSERT_EQ(rows().size(), 1);
    EXPECT_EQ(rows().front()->findChild<InlineField *>()->text(), QStringLiteral("Home"));
}

TEST_F(SettingsTest, projects_readDatesSwitch_turnsReadingDatesOffAndOn)
{
    auto *readDates = child<QAbstractButton>(QStringLiteral("readDates"));
    ASSERT_TRUE(readDates);
    EXPECT_TRUE(readDates->isChecked());
    readDates->click();
    EXPECT_FALSE(CaptureContext::readsDates());
    EXPECT_FALSE(PlannerStore(context).readCapture(QStringLiteral("Call tomorrow")).dueDay);
    readDates->click();
    EXPECT_TRUE(CaptureContext::readsDates());
}

TEST_F(SettingsTest, projects_colourOutsideThePaletteOpensWithCurrentSelected)
{
    Project *project = PlannerStore(context).createProject(QStringLiteral("Home"));
    project->setColorHex(QStringLiteral("#123456"));
    window.show();
    settle();
    ASSERT_EQ(rows().size(), 1);
    QTest::mouseClick(rows().front()->findChild<ColorDot *>(), Qt::LeftButton);
    auto *grid = window.findChild<ColorSwatchGrid *>();
    ASSERT_NE(grid, nullptr);
    const auto swatches = grid->swatches();
    ASSERT_EQ(swatches.size(), 13);
    EXPECT_TRUE(swatches.back()->isChecked());

    // Picking a swatch saves through the store, so the backup and sync hear of it.
    QSignalSpy saves(&context, &ModelContext::storeSaved);
    QSignalSpy nudges(&PlannerNotifications::center(), &PlannerNotifications::plannerDidChange);
    QTest::mouseClick(swatches[7], Qt::LeftButton);
    settle();
    EXPECT_EQ(project->colorHex(), QStringLiteral("#2563EB"));
    EXPECT_EQ(saves.count(), 1);
    EXPECT_EQ(nudges.count(), 1);
    EXPECT_FALSE(window.findChild<MenuController *>()->isOpen());
    EXPECT_EQ(rows().front()->findChild<ColorDot *>()->color(), QColor(0x25, 0x63, 0xEB));
}

TEST_F(SettingsTest, projects_renameReachesTheBackupFileAndBlankKeepsTheName)
{
    QTemporaryDir folder;
    ArchiveWriter writer(folder.filePath(QStringLiteral("planner.json")));
    writer.attachTo(context);
    Project *project = PlannerStore(context).createProject(QStringLiteral("Home"));
    window.show();
    settle();
    auto *name = rows().front()->findChild<InlineField *>();

    QSignalSpy saves(&context, &ModelContext::storeSaved);
    type(name, QStringLiteral("  "));
    EXPECT_EQ(project->name(), QStringLiteral("Home"));
    EXPECT_EQ(name->text(), QStringLiteral("Home"));
    EXPECT_EQ(saves.count(), 0);

    type(name, QStringLiteral("Household "));
    EXPECT_EQ(project->name(), QStringLiteral("Household"));
    EXPECT_EQ(name->text(), QStringLiteral("Household"));
    EXPECT_EQ(saves.count(), 1);
    ASSERT_TRUE(writer.flush());
    QFile file(writer.path());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().contains("\"Household\""));

    // Leaving the field commits as well; leaving it unchanged saves nothing more.
    name->setFocus();
    name->setText(QStringLiteral("Garden"));
    newField()->setFocus();
    settle();
    EXPECT_EQ(project->name(), QStringLiteral("Garden"));
    EXPECT_EQ(saves.count(), 2);
    name->setFocus();
    newField()->setFocus();
    settle();
    EXPECT_EQ(saves.count(), 2);

    // Closing the window while a name is typed keeps that name.
    name->setFocus();
    name->setText(QStringLiteral("Allotment"));
    QTest::keyClick(name, Qt::Key_Escape);
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(project->name(), QStringLiteral("Allotment"));
}

TEST_F(SettingsTest, window_tabsAnswerTheKeyboardAndTakeContent)
{
    window.present();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    TabPillBar *bar = window.findChild<TabPillBar *>(u"tabBar"_s);
    EXPECT_TRUE(bar->pill(SettingsTab::Projects)->isChecked());

    QTest::keyClick(&window, Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(window.currentTab(), SettingsTab::Shortcut);
    QTest::keyClick(&window, Qt::Key_PageDown, Qt::ControlModifier);
    EXPECT_EQ(window.currentTab(), SettingsTab::Sync);
    QTest::keyClick(&window, Qt::Key_PageUp, Qt::ControlModifier);
    EXPECT_EQ(window.currentTab(), SettingsTab::Shortcut);

    PillButton *projects = bar->pill(SettingsTab::Projects);
    projects->setFocus(Qt::TabFocusReason);
    QTest::keyClick(projects, Qt::Key_Return);
    EXPECT_EQ(window.currentTab(), SettingsTab::Projects);
    QTest::keyClick(projects, Qt::Key_Left);
    EXPECT_EQ(window.currentTab(), SettingsTab::General);
    QTest::keyClick(bar->pill(SettingsTab::General), Qt::Key_Left);
    EXPECT_EQ(window.currentTab(), SettingsTab::Backup);
    EXPECT_TRUE(bar->pill(SettingsTab::Backup)->hasFocus());
    EXPECT_TRUE(bar->pill(SettingsTab::Backup)->isChecked());
    EXPECT_FALSE(projects->isChecked());
    QTest::keyClick(bar->pill(SettingsTab::Backup), Qt::Key_Right);
    EXPECT_EQ(window.currentTab(), SettingsTab::General);
    bar->pill(SettingsTab::Sync)->setFocus(Qt::TabFocusReason);
    QTest::keyClick(bar->pill(SettingsTab::Sync), Qt::Key_Space);
    EXPECT_EQ(window.currentTab(), SettingsTab::Sync);

    auto *sync = new QWidget;
    window.setTabContent(SettingsTab::Sync, sync);
    EXPECT_EQ(window.tabContent(SettingsTab::Sync), sync);
    EXPECT_TRUE(sync->isVisible());

    QTest::keyClick(&window, Qt::Key_Escape);
    EXPECT_FALSE(window.isVisible());
    window.present();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    QTest::keyClick(&window, Qt::Key_W, Qt::ControlModifier);
    EXPECT_FALSE(window.isVisible());
}

TEST_F(SettingsTest, window_opensInsideTheScreensAvailableArea)
{
    const QRect area = window.screen()->availableGeometry();
    window.resize(area.width() + 300, area.height() + 300);
    window.present();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_TRUE(area.contains(window.frameGeometry())) << window.frameGeometry().width();

    window.close();
    window.move(area.right() + 500, area.bottom() + 500);
    window.present();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_TRUE(area.contains(window.frameGeometry()));
}

TEST_F(SettingsTest, rendering_projectsAndBackupTabs)
{
    PlannerStore store(context);
    for (const char *name : {"Home", "Work", "Reading list", "Garden"})
        store.createProject(QString::fromLatin1(name));
    store.projects()[2]->setColorHex(QStringLiteral("#8B5E3C"));
    window.show();
    settle();
    hover(rows()[1]);
    saveRendering(&window, QStringLiteral("settings-projects"));
    QTest::mouseClick(rows()[2]->findChild<ColorDot *>(), Qt::LeftButton);
    const MenuHost *host = window.findChild<MenuController *>()->host();
    ASSERT_TRUE(QTest::qWaitFor([host] { return host->appearance() == 1; })) << "fades in";
    saveRendering(&window, QStringLiteral("settings-colours"));
    window.findChild<MenuController *>()->close();
    window.showTab(SettingsTab::Backup);
    saveRendering(&window, QStringLiteral("settings-backup"));
    EXPECT_TRUE(child(QStringLiteral("showFileButton"))->isVisible());
}

// Where a tab's first caption starts, in the window's coordinates.
QPoint firstCaptionAt(const SettingsWindow &window, SettingsTab tab)
{
    const auto *caption = window.tabContent(tab)->findChild<StepLabel *>();
    return caption ? caption->mapTo(&window, QPoint(0, 0)) : QPoint(-1, -1);
}

TEST_F(SettingsTest, window_insetsTheTabsPutInFromOutsideLikeItsOwn)
{
    SyncEngine engine(context);
    window.setTabContent(SettingsTab::Sync, new SyncSettingsTab(engine));
    window.show();
    settle();
    const QPoint projects = firstCaptionAt(window, SettingsTab::Projects);
    window.showTab(SettingsTab::Sync);
    settle();
    EXPECT_EQ(firstCaptionAt(window, SettingsTab::Sync), projects);
    window.showTab(SettingsTab::Backup);
    settle();
    EXPECT_EQ(firstCaptionAt(window, SettingsTab::Backup), projects);

    // The Sync tab is taller than the window: it scrolls instead of growing the window.
    window.showTab(SettingsTab::Sync);
    settle();
    EXPECT_EQ(window.size(), QSize(540, 560));
    saveRendering(&window, QStringLiteral("settings-sync"));
    delete window.tabContent(SettingsTab::Sync); // before the engine it shows
}

TEST_F(SettingsTest, escape_closesTheOpenPopoverFirstAndThenTheWindow)
{
    PlannerStore(context).createProject(QStringLiteral("Home"));
    window.present();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    settle();
    auto *menus = window.findChild<MenuController *>();
    QTest::mouseClick(rows().front()->findChild<ColorDot *>(), Qt::LeftButton);
    ASSERT_TRUE(menus->isOpen());

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    EXPECT_FALSE(menus->isOpen());
    EXPECT_TRUE(window.isVisible());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    EXPECT_FALSE(window.isVisible());
}

TEST_F(SettingsTest, projects_nameAnotherProjectAnswersToIsRefusedWithANoteUnderTheField)
{
    PlannerStore store(context);
    Project *ops = store.createProject(QStringLiteral("Ops"));
    Project *home = store.createProject(QStringLiteral("Homework"));
    window.show();
    settle();
    QSignalSpy saves(&context, &ModelContext::storeSaved);

    // Creating: the typed name stays in the field and the note says why.
    auto *createNote = child<TextLabel>(QStringLiteral("newProjectRefusal"));
    type(newField(), QStringLiteral("ops"));
    EXPECT_EQ(newField()->text(), QStringLiteral("ops"));
    EXPECT_TRUE(createNote->isVisible());
    EXPECT_EQ(createNote->text(), QStringLiteral("There is already a project named “Ops”."));
    type(newField(), QStringLiteral("home"));
    EXPECT_EQ(newField()->text(), QStringLiteral("home"));
    EXPECT_EQ(createNote->text(),
              QStringLiteral("“home” already leads to “Homework”. Pick another name."));
    EXPECT_EQ(store.projects().size(), 2u);
    EXPECT_EQ(saves.count(), 0);
    QTest::keyClick(newField(), Qt::Key_X);
    EXPECT_FALSE(createNote->isVisible());

    // Renaming: refused while another project has the name's key; its own key is fine.
    ProjectSettingsRow *homeRow = rows()[1];
    auto *name = homeRow->findChild<InlineField *>();
    auto *renameNote = homeRow->findChild<TextLabel *>(QStringLiteral("projectNameRefusal"));
    type(name, QStringLiteral(" OPS "));
    EXPECT_EQ(home->name(), QStringLiteral("Homework"));
    EXPECT_TRUE(renameNote->isVisible());
    EXPECT_EQ(renameNote->text(), QStringLiteral("There is already a project named “Ops”."));
    EXPECT_EQ(store.matchProject(QStringLiteral("ops")), ops);
    newField()->setFocus();
    settle();
    EXPECT_EQ(name->text(), QStringLiteral("Homework"));
    type(name, QStringLiteral("HOMEWORK"));
    EXPECT_EQ(home->name(), QStringLiteral("HOMEWORK"));
    EXPECT_FALSE(renameNote->isVisible());
    EXPECT_EQ(saves.count(), 1);
}

TEST_F(SettingsTest, generalTab_startWithSession_writesAndRemovesTheAutostartEntry)
{
    const QString path = SessionAutostart::entryPath();
    QFile::remove(path);
    window.present();
    window.showTab(SettingsTab::General);
    auto *startSwitch = child<QAbstractButton>(QStringLiteral("startWithSession"));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_FALSE(startSwitch->isChecked()) << "off until the user turns it on";

    startSwitch->click();
    QFile entry(path);
    ASSERT_TRUE(entry.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(entry.readAll());
    EXPECT_TRUE(text.startsWith(QStringLiteral("[Desktop Entry]\n")));
    EXPECT_TRUE(text.contains(QStringLiteral("\nExec=furrow --background\n")));
    EXPECT_TRUE(text.contains(QStringLiteral("\nX-GNOME-Autostart-enabled=true\n")));
    EXPECT_TRUE(SessionAutostart::isEnabled());

    // Removed outside the planner: the tab shows the file's state when it shows again.
    QFile::remove(path);
    window.showTab(SettingsTab::Projects);
    window.showTab(SettingsTab::General);
    EXPECT_FALSE(startSwitch->isChecked());
    startSwitch->click();
    startSwitch->click();
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_FALSE(startSwitch->isChecked());
}

TEST(SessionAutostartTest, anEntryTheDesktopWasToldToSkip_readsAsOff)
{
    ASSERT_TRUE(SessionAutostart::setEnabled(true));
    for (const char *line : {"Hidden=true\n", "X-GNOME-Autostart-enabled=false\n"}) {
        QFile entry(SessionAutostart::entryPath());
        ASSERT_TRUE(entry.open(QIODevice::WriteOnly));
        entry.write(QByteArray("[Desktop Entry]\nExec=furrow --background\n") + line);
        entry.close();
        EXPECT_FALSE(SessionAutostart::isEnabled()) << line;
    }
    EXPECT_TRUE(SessionAutostart::setEnabled(false));
    EXPECT_TRUE(SessionAutostart::setEnabled(false)) << "removing what is gone is no failure";
}

TEST_F(SettingsTest, generalTab_morningSummary_isOffAtNineUntilChanged)
{
    window.present();
    window.showTab(SettingsTab::General);
    auto *summary = child<QAbstractButton>(QStringLiteral("morningSummary"));
    auto *time = child<QTimeEdit>(QStringLiteral("morningSummaryTime"));
    EXPECT_FALSE(summary->isChecked());
    EXPECT_FALSE(time->isEnabled());
    EXPECT_EQ(time->time(), QTime(9, 0));

    summary->click();
    EXPECT_TRUE(MorningSummaryPreference::isOn());
    EXPECT_TRUE(time->isEnabled());
    time->setTime(QTime(7, 45));
    EXPECT_EQ(MorningSummaryPreference::time(), QTime(7, 45));
    summary->click();
    EXPECT_FALSE(MorningSummaryPreference::isOn());
    MorningSummaryPreference::setTime(QTime(9, 0));
}
