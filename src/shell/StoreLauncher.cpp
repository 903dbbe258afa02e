#include "StoreLauncher.h"

#include "HeadlessCommands.h"
#include "RecoveryNotice.h"
#include "SingleInstance.h"

#include "persistence/ArchiveWriter.h"
#include "persistence/PlannerContainer.h"
#include "persistence/PlannerFile.h"
#include "sync/SyncEngine.h"

#include <QEventLoop>
#include <QFileInfo>
#include <QThread>

#include <cstdio>

namespace furrow {

namespace {

// How long to wait for a planner that holds the store but does not answer yet (it is starting).
constexpr int kStartingPlannerRetries = 20;
constexpr int kRetryPauseMs = 100;

void write(std::FILE *stream, const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), stream);
    std::fflush(stream);
}

int finish(const SingleInstance::Reply &reply)
{
    printOut(reply.output);
    printError(reply.errorOutput);
    return reply.exitCode;
}

QString storeFolder(const PlannerContainer &container)
{
    return QFileInfo(container.storePath()).path();
}

int runOn(const StoreLauncher::OpenStore &store, const CommandLine &command)
{
    PlannerContainer &container = *store.container;
    if (const QString notice = RecoveryNotice::text(store.recovery, storeFolder(container));
        !notice.isEmpty())
        printError(notice + u'\n');
    StoreLauncher::attachBackupWriter(container.context(), store.recovery);
    SyncEngine engine(container.context());
    SingleInstance::Reply reply;
    QEventLoop loop;
    bool answered = false;
    HeadlessCommands::execute(command, container.context(), engine,
                              [&](const SingleInstance::Reply &r) {
                                  reply = r;
                                  answered = true;
                                  loop.quit();
                              });
    if (!answered)
        loop.exec();
    // The backup file must hold what this process saved before it goes.
    ArchiveWriter::shared().flush();
    return finish(reply);
}

} // namespace

void printOut(const QString &text)
{
    write(stdout, text);
}

void printError(const QString &text)
{
    write(stderr, text);
}

std::optional<int> StoreLauncher::handOver(const CommandLine &command)
{
    const SingleInstance instance(PlannerContainer::defaultStorePath());
    if (const auto reply = instance.forward(command.toArguments()))
        return finish(*reply);
    return std::nullopt;
}

StoreLauncher::Opened StoreLauncher::openStore(const CommandLine &command,
                                               const ReportFailure &report)
{
    PlannerFile::migrateLegacyBackup();
    const QString storePath = PlannerContainer::defaultStorePath();
    const QString cannotOpen = QStringLiteral("the store cannot be opened: ");
    for (int attempt = 0;; ++attempt) {
        try {
            auto container = PlannerContainer::open(storePath);
            const auto recovery
                = StoreRecovery::recoverAfterSetAside(*container, PlannerFile::backupPath());
            if (recovery.kind == StoreRecovery::Outcome::Kind::Unfinished) {
                report(cannotOpen + recovery.reason + u'\n'
                       + RecoveryNotice::text(recovery, storeFolder(*container)));
                return 1;
            }
            return OpenStore{std::move(container), recovery};
        } catch (const StoreInUseError &busy) {
            // A planner that is still starting holds the store before it listens.
            if (const auto exitCode = handOver(command))
                return *exitCode;
            if (attempt == kStartingPlannerRetries) {
                report(busy.description());
                return 1;
            }
            QThread::msleep(kRetryPauseMs);
        } catch (const StoreUnavailableError &unavailable) {
            report(cannotOpen + unavailable.description());
            return 1;
        } catch (const FatalStoreError &fatal) {
            report(fatal.description());
            return 1;
        }
    }
}

void StoreLauncher::attachBackupWriter(ModelContext &context,
                                       const StoreRecovery::Outcome &recovery)
{
    if (recovery.backupMayBeReplaced())
        ArchiveWriter::shared().attachTo(context);
}

int StoreLauncher::runHeadless(const CommandLine &command)
{
    if (const auto exitCode = handOver(command))
        return *exitCode;
    Opened opened = openStore(command, [](const QString &message) { printError(message + u'\n'); });
    if (const int *exitCode = std::get_if<int>(&opened))
        return *exitCode;
    return runOn(std::get<OpenStore>(opened), command);
}

} // namespace furrow
