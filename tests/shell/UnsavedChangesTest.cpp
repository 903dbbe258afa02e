// Saves that the store refuses, as the planner meets them: a notice while they fail, retries,
// and a quit that does not lose them unasked.

#include "BadDay.h"

#include "model/PlannerStore.h"
#include "persistence/PlannerArchive.h"
#include "persistence/PlannerContainer.h"
#include "persistence/PlannerFile.h"
#include "shell/PlannerApplication.h"
#include "shell/SaveRetry.h"
#include "views/main/MainWindow.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace furrow {
namespace {

// Once a message box of that name shows, keeps its text and clicks the button of that title.
void answer(const QString &boxName, const QString &button, QString *text)
{
    auto *timer = new QTimer(qApp);
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [=] {
        for (QWidget *widget : QApplication::topLevelWidgets()) {
            auto *box = qobject_cast<QMessageBox *>(widget);
            if (!box || box->objectName() != boxName || !box->isVisible())
                continue;
            *text = box->text();
            for (QAbstractButton *candidate : box->buttons()) {
                if (candidate->text() == button) {
                    timer->stop();
                    timer->deleteLater();
                    candidate->click();
                    return;
                }
            }
        }
    });
    timer->start();
}

// The menu command "Quit", as Ctrl+Q or the menu would trigger it.
void quitCommand(MainWindow *window)
{
    for (const QMenu *menu : window->findChildren<QMenu *>()) {
        for (QAction *action : menu->actions()) {
            if (action->text() == QStringLiteral("Quit"))
                return action->trigger();
        }
    }
    ADD_FAILURE() << "no Quit command";
}

std::vector<QString> titlesIn(const QString &documentPath)
{
    std::vector<QString> titles;
    for (const auto &task : PlannerArchive::decode(PlannerFile::readBytes(documentPath)).tasks)
        titles.push_back(task.title);
    return titles;
}

class SwitchingBackend : public StoreBackend
{
public:
    void write(const ChangeSet &) override
    {
        ++attempts;
        if (failing)
            throw StoreError(QStringLiteral("disk full"));
    }
    bool failing = true;
    int attempts = 0;
};

TEST(SaveRetryTest, retriesOnATimer_untilTheStoreTakesTheChanges_andAnnouncesThatSave)
{
    ModelContext context;
    SwitchingBackend backend;
    context.setBackend(&backend);
    SaveRetry retry(context, std::chrono::milliseconds(5));
    QSignalSpy saved(&context, &ModelContext::storeSaved);
    PlannerStore(context).capture(QStringLiteral("Call the bank"), nullptr, nullptr);
    ASSERT_EQ(context.saveFailure(), QStringLiteral("disk full"));
    QTRY_VERIFY(backend.attempts >= 3);
    EXPECT_EQ(saved.count(), 0);

    backend.failing = false;
    QTRY_COMPARE(saved.count(), 1);
    EXPECT_FALSE(context.hasChanges());
    const auto *timer = retry.findChild<QTimer *>();
    ASSERT_NE(timer, nullptr);
    EXPECT_FALSE(timer->isActive()) << "nothing left to retry";
}

TEST(PlannerApplicationTest, failedSaves_showANotice_andQuittingAsksBeforeLosingThem)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("furrow.store"));
    const QString backupFolder = QFileInfo(PlannerFile::backupPath()).path();
    {
        test::BadDay day;
        auto container = PlannerContainer::open(path);
        ModelContext &context = container->context();
        PlannerApplication planner(std::move(container), path);
        planner.start(false, {});
        MainWindow *window = planner.mainWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window));
        auto *notice = window->findChild<QWidget *>(QStringLiteral("saveFailureNotice"));
        ASSERT_NE(notice, nullptr);
        EXPECT_FALSE(notice->isVisible());
        PlannerStore store(context);

        day.set(test::BadDay::Disk::Full);
        store.capture(QStringLiteral("Call the bank"), store.fallbackSection(), nullptr);
        EXPECT_TRUE(notice->isVisible());
        EXPECT_EQ(notice->findChild<QLabel *>()->text(),
                  QStringLiteral("Changes are not being saved: database or disk is full"));

        // Quitting saves once more, writes the planner beside the backup file and asks.
        QString question;
        answer(QStringLiteral("unsavedChangesQuestion"), QStringLiteral("Cancel"), &question);
        quitCommand(window);
        EXPECT_TRUE(question.startsWith(
            QStringLiteral("Changes are not being saved: database or disk is full")));
        const QStringList emergency = QDir(backupFolder).entryList({"planner-unsaved-*.json"});
        ASSERT_EQ(emergency.size(), 1);
        EXPECT_TRUE(question.contains(emergency.front()));
        EXPECT_EQ(titlesIn(backupFolder + u'/' + emergency.front()),
                  std::vector<QString>{"Call the bank"});
        EXPECT_TRUE(window->isVisible()) << "Cancel keeps the planner";

        // Room again: the next change saves both, and the notice goes.
        day.set(test::BadDay::Disk::Fine);
        store.capture(QStringLiteral("Pay the rent"), store.fallbackSection(), nullptr);
        EXPECT_FALSE(notice->isVisible());

        day.set(test::BadDay::Disk::Full);
        store.capture(QStringLiteral("Lost"), store.fallbackSection(), nullptr);
        answer(QStringLiteral("unsavedChangesQuestion"), QStringLiteral("Quit anyway"), &question);
        QTimer::singleShot(0, window, [window] { quitCommand(window); });
        QTimer::singleShot(5000, qApp, [] { QCoreApplication::exit(7); });
        EXPECT_EQ(QApplication::exec(), 0);
    }
    const auto reopened = PlannerContainer::open(path);
    EXPECT_EQ(PlannerStore(reopened->context()).allTasks().size(), 2u);
    for (const QString &name : QDir(backupFolder).entryList({"planner-unsaved-*.json"}))
        QFile::remove(backupFolder + u'/' + name);
}

TEST(PlannerApplicationTest, storeThatCannotBeOpened_isShownInAnAlert_andThePlannerEnds)
{
    // A folder in the store's place: no damaged store, so nothing is set aside.
    const QString storePath = PlannerContainer::defaultStorePath();
    ASSERT_TRUE(QDir().mkpath(storePath));
    QString alert;
    answer(QStringLiteral("storeFailure"), QStringLiteral("OK"), &alert);
    testing::internal::CaptureStderr();
    testing::internal::CaptureStdout();
    EXPECT_EQ(PlannerApplication::run(CommandLine{}, QPalette()), 1);
    testing::internal::GetCapturedStdout();
    const std::string errors = testing::internal::GetCapturedStderr();
    EXPECT_EQ(alert, QStringLiteral("the store cannot be opened: unable to open database file"));
    EXPECT_TRUE(errors.starts_with(alert.toStdString() + "\n")) << errors;
    EXPECT_TRUE(QFileInfo(storePath).isDir());
    EXPECT_TRUE(QDir(QFileInfo(storePath).path()).entryList({"*.backup-*"}).isEmpty());
    QDir(storePath).removeRecursively();
}

} // namespace
} // namespace furrow
