#include "HeadlessCommands.h"

#include "model/InlineSyntax.h"
#include "model/LiveRecords.h"
#include "model/PlannerStore.h"
#include "persistence/DemoSeed.h"
#include "persistence/PlannerArchiveIO.h"

namespace furrow::HeadlessCommands {

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
    ModelContext &context = store.context();
    Page *first = store.insertStarterPageIfMissing();
    const auto sections = context.fetchAll<Section>();
    for (Page *page : live(context.fetchAll<Page>())) {
        if (const auto onPage = liveOn(sections, page); !onPage.empty())
            return onPage.front();
    }
    return context.insert(std::make_shared<Section>(QStringLiteral("Inbox"), first, 0));
}

SingleInstance::Reply add(const QString &text, ModelContext &context)
{
    if (InlineSyntax::parse(text).title.isEmpty())
        return failure(QStringLiteral("Furrow: в тексте нет названия — задача не добавлена"));
    PlannerStore store(context);
    store.capture(text, destination(store), nullptr);
    return {};
}

SingleInstance::Reply fromOutcome(const PlannerArchiveIO::Outcome &outcome)
{
    return outcome.succeeded ? SingleInstance::Reply{} : failure(outcome.alertText);
}

} // namespace

void execute(const CommandLine &command, ModelContext &context,
             const SingleInstance::Respond &respond)
{
    PlannerStore store(context);
    switch (command.action) {
    case CommandLine::Action::Add:
        return respond(add(command.argument, context));
    case CommandLine::Action::Export:
        return respond(fromOutcome(PlannerArchiveIO::exportTo(store, command.argument)));
    case CommandLine::Action::Import:
        return respond(fromOutcome(PlannerArchiveIO::importFrom(store, command.argument)));
    case CommandLine::Action::Start:
        if (command.seedDemo) {
            DemoSeed::run(context);
            return respond({});
        }
        break;
    case CommandLine::Action::Help:
    case CommandLine::Action::Version:
        break;
    }
    respond(failure(QStringLiteral("Furrow: это не команда для хранилища")));
}

} // namespace furrow::HeadlessCommands
