#include "HeadlessCommands.h"

#include "model/PlannerStore.h"
#include "model/capture/CaptureParser.h"
#include "persistence/PlannerArchiveIO.h"
#include "persistence/PlannerSnapshot.h"
#include "sync/SyncEngine.h"
#include "sync/SyncStatusText.h"

#include <algorithm>

namespace furrow::HeadlessCommands {

using namespace Qt::StringLiterals;

namespace {

SingleInstance::Reply failure(const QString &message)
{
    return {1, {}, message + u'\n'};
}

// Where an added task goes: the first section of the first page, as with the quick capture
// panel, but never where no page shows it. A store without pages gets the starter page first;
// pages without sections lend their first page a section.
Section *destination(PlannerStore &store)
{
    Page *first = store.insertStarterPageIfMissing();
    if (Section *section = store.fallbackSection())
        return section;
    return store.context().insert(std::make_shared<Section>(QStringLiteral("Inbox"), first, 0));
}

// A command's save that failed must not read as success: its changes are only pending.
SingleInstance::Reply saved(const ModelContext &context)
{
    if (context.saveFailure().isEmpty())
        return {};
    return failure(QStringLiteral("Furrow: save failed — ") + context.saveFailure());
}

SingleInstance::Reply add(const QString &text, ModelContext &context)
{
    PlannerStore store(context);
    const QStringList lines = CaptureParser::lines(text);
    const bool titled = std::any_of(lines.begin(), lines.end(), [&store](const QString &line) {
        return !store.readCapture(line).title.isEmpty();
    });
    if (!titled)
        return failure(QStringLiteral("Furrow: в тексте нет названия — задача не добавлена"));
    store.captureLines(text, destination(store), nullptr);
    return saved(context);
}

// What `add` would file for each non-blank line of the text, on standard output.
SingleInstance::Reply previewAdd(const CommandLine &command, const PlannerStore &store)
{
    CaptureContext context = CaptureContext::current();
    if (command.today.isValid())
        context.today = command.today;
    const auto orNone = [](const QString &text) {
        return text.isEmpty() ? u"-"_s : text;
    };
    QStringList blocks;
    for (const QString &line : CaptureParser::lines(command.argument)) {
        const CaptureReading reading = store.readCapture(line, context);
        const Project *project
            = reading.projectToken ? store.matchProject(*reading.projectToken) : nullptr;
        const QString due = reading.dueDay ? reading.dueDay->toString(Qt::ISODate) : QString();
        const QString rule = reading.repeatRule.isEmpty() || !reading.repeatFromDone
                                 ? reading.repeatRule
                                 : reading.repeatRule + u" from done"_s;
        blocks << u"title: "_s + orNone(reading.title) + u"\nproject: "_s
                      + orNone(project ? project->name() : QString()) + u"\ndue: "_s + orNone(due)
                      + u"\nrule: "_s + orNone(rule) + u'\n';
    }
    return {0, blocks.join(u'\n'), {}};
}

// One sync cycle; a cycle already under way (started by the timer) is waited for instead.
void sync(SyncEngine &engine, const SingleInstance::Respond &respond)
{
    const auto answer = [&engine, respond](bool clean) {
        respond({clean ? 0 : 1,
                 SyncStatusText::describe(engine.status(), engine.lastSynced()) + u'\n',
                 {}});
    };
    if (!engine.isRunning())
        return engine.syncNow(answer);
    auto connection = std::make_shared<QMetaObject::Connection>();
    *connection = QObject::connect(&engine, &SyncEngine::statusChanged, &engine,
                                   [connection, answer](const SyncStatus &status) {
                                       if (status.kind == SyncStatus::Kind::Running)
                                           return;
                                       QObject::disconnect(*connection);
                                       answer(status.kind == SyncStatus::Kind::Done);
                                   });
}

SingleInstance::Reply fromOutcome(const PlannerArchiveIO::Outcome &outcome)
{
    return outcome.succeeded ? SingleInstance::Reply{} : failure(outcome.alertText);
}

// What importing the file would change, on standard output; the store is left as it is.
SingleInstance::Reply previewImport(const QString &path, const PlannerStore &store)
{
    PlannerArchive archive;
    if (const auto read = PlannerArchiveIO::readForImport(path, archive); !read.succeeded)
        return fromOutcome(read);
    const RestorePlan::Counts counts = PlannerSnapshot::preview(store, archive);
    return {0, counts.summary() + u'\n' + counts.details() + u'\n', {}};
}

} // namespace

void execute(const CommandLine &command, ModelContext &context, SyncEngine &engine,
             const SingleInstance::Respond &respond, const FindCommands::Search &search)
{
    PlannerStore store(context);
    switch (command.action) {
    case CommandLine::Action::Add:
        if (command.dryRun)
            return respond(previewAdd(command, store));
        return respond(add(command.argument, context));
    case CommandLine::Action::Export:
        return respond(fromOutcome(PlannerArchiveIO::exportTo(store, command.argument)));
    case CommandLine::Action::Import:
        if (command.dryRun)
            return respond(previewImport(command.argument, store));
        return respond(fromOutcome(PlannerArchiveIO::importFrom(store, command.argument)));
    case CommandLine::Action::Sync:
        if (!command.trust.isEmpty() && !engine.trustCertificate(command.trust))
            return respond(failure(QStringLiteral(
                "Furrow: отпечаток сертификата — это 64 шестнадцатеричные цифры SHA-256")));
        return sync(engine, respond);
    case CommandLine::Action::Search:
        return respond(FindCommands::search(command, context, search));
    case CommandLine::Action::Done:
        return respond(FindCommands::close(command.argument, context));
    case CommandLine::Action::Reopen:
        return respond(FindCommands::reopen(command.argument, context));
    case CommandLine::Action::Start:
    case CommandLine::Action::Background:
    case CommandLine::Action::QuickCapture:
    case CommandLine::Action::Help:
    case CommandLine::Action::Version:
        break;
    }
    respond(failure(QStringLiteral("Furrow: это не команда для хранилища")));
}

} // namespace furrow::HeadlessCommands
