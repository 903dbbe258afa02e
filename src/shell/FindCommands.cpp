#include "FindCommands.h"

#include "model/Clock.h"
#include "model/PlannerStore.h"
#include "model/VectorStore.h"
#include "model/find/LinearFind.h"
#include "views/find/FindRowText.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace furrow::FindCommands {

using namespace Qt::StringLiterals;

namespace {

SingleInstance::Reply failure(const QString &message)
{
    return {1, {}, message + u'\n'};
}

QString dayText(const OptionalInstant &day)
{
    return day ? toLocalDateTime(*day).date().toString(Qt::ISODate) : QString();
}

QString stateText(const FindResult &result)
{
    switch (result.state) {
    case FindResult::State::Open:
        return QStringLiteral("open");
    case FindResult::State::Done:
        return QStringLiteral("done");
    case FindResult::State::Archived:
        return result.dropped ? QStringLiteral("dropped") : QStringLiteral("archived");
    }
    return {};
}

QJsonObject toJson(const FindResult &result, Instant now)
{
    switch (result.kind) {
    case FindResult::Kind::Page:
        return {{u"kind"_s, u"page"_s}, {u"id"_s, idText(result.id)}, {u"title"_s, result.title}};
    case FindResult::Kind::Goal:
        return {{u"kind"_s, u"goal"_s}, {u"slot"_s, result.goalSlot}, {u"title"_s, result.title}};
    case FindResult::Kind::Task:
        break;
    }
    QJsonObject object = {{u"kind"_s, u"task"_s},
                          {u"id"_s, idText(result.id)},
                          {u"title"_s, result.title},
                          {u"state"_s, stateText(result)},
                          {u"place"_s, FindRowText::place(result, now)}};
    const std::pair<const char *, QString> optional[]
        = {{"page", result.pageName},
           {"section", result.sectionName},
           {"project", result.projectName},
           {"due", dayText(result.due)},
           {"archivedDay", dayText(result.archiveDay)},
           {"snippet", result.snippet}};
    for (const auto &[name, value] : optional) {
        if (!value.isEmpty())
            object.insert(QLatin1String(name), value);
    }
    return object;
}

SingleInstance::Reply searchWith(const CommandLine &command, const Search &find)
{
    const Instant now = Clock::now();
    const std::vector<FindResult> results = find(command.argument, command.limit);
    if (command.json) {
        QJsonArray array;
        for (const FindResult &result : results)
            array.append(toJson(result, now));
        return {
            0, QString::fromUtf8(QJsonDocument(array).toJson(QJsonDocument::Compact)) + u'\n', {}};
    }
    QString output;
    for (const FindResult &result : results)
        output += FindRowText::line(result, now) + u'\n';
    return {0, output, {}};
}

// The task the id names, or a message saying there is none.
TaskItem *named(const QString &idText, PlannerStore &store, SingleInstance::Reply *reply)
{
    const QUuid id = QUuid::fromString(idText.trimmed());
    TaskItem *task = id.isNull() ? nullptr : store.task(id);
    if (!task)
        *reply = failure(QStringLiteral("Furrow: нет задачи с идентификатором «%1»").arg(idText));
    return task;
}

SingleInstance::Reply saved(const ModelContext &context)
{
    if (context.saveFailure().isEmpty())
        return {};
    return failure(QStringLiteral("Furrow: save failed — ") + context.saveFailure());
}

} // namespace

SingleInstance::Reply search(const CommandLine &command, ModelContext &context, const Search &find)
{
    return searchWith(command, find ? find : linearSearch(context));
}

SingleInstance::Reply close(const QString &idText, ModelContext &context)
{
    PlannerStore store(context);
    SingleInstance::Reply reply;
    TaskItem *task = named(idText, store, &reply);
    if (!task)
        return reply;
    if (task->isArchived())
        return failure(QStringLiteral("Furrow: задача в архиве — сначала верните её (reopen)"));
    store.close(*task);
    return saved(context);
}

SingleInstance::Reply reopen(const QString &idText, ModelContext &context)
{
    PlannerStore store(context);
    SingleInstance::Reply reply;
    TaskItem *task = named(idText, store, &reply);
    if (!task)
        return reply;
    // An archived task comes back to the board, as the archive's own button brings it.
    if (task->isArchived())
        store.unarchive(*task, store.fallbackSection());
    else
        store.reopen(*task);
    return saved(context);
}

Search linearSearch(ModelContext &context)
{
    return [&context](const QString &query, qsizetype limit) {
        return LinearFind::search(PlannerStore(context), query, VectorStore::shared().visible(),
                                  limit);
    };
}

} // namespace furrow::FindCommands
