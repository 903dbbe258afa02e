#include "PlannerArchive.h"

#include "InternetTime.h"

#include "model/Record.h"

#include <nlohmann/json.hpp>

namespace furrow {

namespace {

using nlohmann::json;

std::string text(const QString &value)
{
    return value.toStdString();
}

std::string idString(const QUuid &id)
{
    return idText(id).toStdString();
}

// Optional values that hold nothing are left out: the document never holds null.
template<class T, class Convert>
void putOptional(json &object, const char *key, const std::optional<T> &value, Convert convert)
{
    if (value)
        object[key] = convert(*value);
}

json encodeProject(const PlannerArchive::ProjectRecord &record)
{
    json object = {
        {"id", idString(record.id)},
        {"name", text(record.name)},
        {"colorHex", text(record.colorHex)},
        {"order", record.order},
        {"updatedAt", InternetTime::format(record.updatedAt)},
    };
    putOptional(object, "deletedAt", record.deletedAt, InternetTime::format);
    return object;
}

json encodeTask(const PlannerArchive::TaskRecord &record)
{
    json object = {
        {"id", idString(record.id)},
        {"title", text(record.title)},
        {"order", record.order},
        {"isDone", record.isDone},
        {"createdAt", InternetTime::format(record.createdAt)},
        {"updatedAt", InternetTime::format(record.updatedAt)},
    };
    putOptional(object, "section", record.section, text);
    putOptional(object, "note", record.note, text);
    putOptional(object, "dueDate", record.dueDate, InternetTime::format);
    putOptional(object, "doneAt", record.doneAt, InternetTime::format);
    putOptional(object, "deletedAt", record.deletedAt, InternetTime::format);
    putOptional(object, "projectID", record.projectID, idString);
    putOptional(object, "remindAt", record.remindAt, InternetTime::format);
    putOptional(object, "repeat", record.repeat, text);
    if (record.repeatFromDone)
        object["repeatFromDone"] = true;
    putOptional(object, "series", record.series, idString);
    return object;
}

json encodeDay(const PlannerArchive::DayRecord &record)
{
    json object = {{"date", InternetTime::format(record.date)}};
    putOptional(object, "startedAt", record.startedAt, InternetTime::format);
    return object;
}

template<class Record, class Encode>
json encodeList(const std::vector<Record> &records, Encode encode)
{
    json list = json::array();
    for (const Record &record : records)
        list.push_back(encode(record));
    return list;
}

} // namespace

QByteArray PlannerArchive::encode() const
{
    // nlohmann::json keeps object members in a std::map, so every object comes out sorted.
    const json document = {
        {"version", version},
        {"savedAt", InternetTime::format(savedAt)},
        {"projects", encodeList(projects, encodeProject)},
        {"tasks", encodeList(tasks, encodeTask)},
        {"days", encodeList(days, encodeDay)},
    };
    // QString::toStdString() always yields valid UTF-8; replacing keeps encoding total anyway.
    const std::string bytes = document.dump(2, ' ', false, json::error_handler_t::replace);
    return QByteArray(bytes.data(), qsizetype(bytes.size()));
}

} // namespace furrow
