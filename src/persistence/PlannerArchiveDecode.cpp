// PlannerArchive: strict reading of the backup document.

#include "PlannerArchive.h"

#include "InternetTime.h"
#include "PersistenceError.h"

#include "model/Record.h"

#include <nlohmann/json.hpp>

#include <cctype>
#include <limits>

namespace furrow {

namespace {

using nlohmann::json;

QString quoted(const QString &text)
{
    return u'«' + text + u'»';
}

// Canonical 8-4-4-4-12 hexadecimal text in either case; QUuid alone would also take braces.
std::optional<QUuid> canonicalId(const std::string &text)
{
    if (text.size() != 36)
        return std::nullopt;
    for (size_t i = 0; i < text.size(); ++i) {
        const bool dash = i == 8 || i == 13 || i == 18 || i == 23;
        if (dash ? text[i] != '-' : !std::isxdigit(static_cast<unsigned char>(text[i])))
            return std::nullopt;
    }
    return QUuid::fromString(QLatin1StringView(text.data(), qsizetype(text.size())));
}

// Reads the members of one JSON object; every failure names the member's path.
class FieldReader
{
public:
    FieldReader(const json &value, QString path)
        : m_value(value)
        , m_path(std::move(path))
    {
        if (!m_value.is_object())
            fail(QStringLiteral("значение должно быть объектом"), m_path);
    }

    template<class T>
    T required(const char *key) const
    {
        auto value = optional<T>(key);
        if (!value)
            fail(QStringLiteral("отсутствует обязательный ключ"), pathOf(key));
        return std::move(*value);
    }

    // A missing key and null both read as no value.
    template<class T>
    std::optional<T> optional(const char *key) const
    {
        const auto it = m_value.find(key);
        if (it == m_value.end() || it->is_null())
            return std::nullopt;
        return read<T>(*it, pathOf(key));
    }

    const json &list(const char *key) const
    {
        const auto it = m_value.find(key);
        if (it == m_value.end() || it->is_null())
            fail(QStringLiteral("отсутствует обязательный ключ"), pathOf(key));
        if (!it->is_array())
            fail(QStringLiteral("значение должно быть списком"), pathOf(key));
        return *it;
    }

    QString pathOf(const char *key) const
    {
        const QString name = QString::fromLatin1(key);
        return m_path.isEmpty() ? name : m_path + u'.' + name;
    }

private:
    [[noreturn]] static void fail(const QString &problem, const QString &path)
    {
        throw PersistenceError(QStringLiteral("в документе %1: %2").arg(quoted(path), problem));
    }

    template<class T>
    static T read(const json &value, const QString &path);

    const json &m_value;
    QString m_path;
};

template<>
qint64 FieldReader::read<qint64>(const json &value, const QString &path)
{
    if (value.is_number_integer()) {
        if (value.is_number_unsigned()
            && value.get<quint64>() > quint64(std::numeric_limits<qint64>::max()))
            fail(QStringLiteral("значение вне допустимого диапазона"), path);
        return value.get<qint64>();
    }
    fail(QStringLiteral("значение должно быть целым числом"), path);
}

template<>
bool FieldReader::read<bool>(const json &value, const QString &path)
{
    if (!value.is_boolean())
        fail(QStringLiteral("значение должно быть true или false"), path);
    return value.get<bool>();
}

template<>
QString FieldReader::read<QString>(const json &value, const QString &path)
{
    if (!value.is_string())
        fail(QStringLiteral("значение должно быть строкой"), path);
    return QString::fromStdString(value.get_ref<const std::string &>());
}

template<>
Instant FieldReader::read<Instant>(const json &value, const QString &path)
{
    if (value.is_string()) {
        if (auto instant = InternetTime::parse(value.get_ref<const std::string &>()))
            return *instant;
    }
    fail(QStringLiteral("дата должна быть вида 2025-03-01T09:30:00Z, без долей секунды"), path);
}

template<>
QUuid FieldReader::read<QUuid>(const json &value, const QString &path)
{
    if (value.is_string()) {
        if (auto id = canonicalId(value.get_ref<const std::string &>()))
            return *id;
    }
    fail(QStringLiteral("неверный идентификатор"), path);
}

PlannerArchive::ProjectRecord decodeProject(const FieldReader &in)
{
    PlannerArchive::ProjectRecord record;
    record.id = in.required<QUuid>("id");
    record.name = in.required<QString>("name");
    record.colorHex = in.required<QString>("colorHex");
    record.order = clampedOrder(in.required<qint64>("order"));
    record.updatedAt = in.required<Instant>("updatedAt");
    record.deletedAt = in.optional<Instant>("deletedAt");
    return record;
}

PlannerArchive::TaskRecord decodeTask(const FieldReader &in)
{
    PlannerArchive::TaskRecord record;
    record.id = in.required<QUuid>("id");
    record.title = in.required<QString>("title");
    record.section = in.optional<QString>("section");
    record.order = clampedOrder(in.required<qint64>("order"));
    record.note = in.optional<QString>("note");
    record.dueDate = in.optional<Instant>("dueDate");
    record.isDone = in.required<bool>("isDone");
    record.doneAt = in.optional<Instant>("doneAt");
    record.createdAt = in.required<Instant>("createdAt");
    record.updatedAt = in.required<Instant>("updatedAt");
    record.deletedAt = in.optional<Instant>("deletedAt");
    record.projectID = in.optional<QUuid>("projectID");
    record.remindAt = in.optional<Instant>("remindAt");
    record.repeat = in.optional<QString>("repeat");
    record.repeatFromDone = in.optional<bool>("repeatFromDone").value_or(false);
    record.series = in.optional<QUuid>("series");
    return record;
}

PlannerArchive::DayRecord decodeDay(const FieldReader &in)
{
    PlannerArchive::DayRecord record;
    record.date = in.required<Instant>("date");
    record.startedAt = in.optional<Instant>("startedAt");
    return record;
}

template<class Record, class Decode>
std::vector<Record> decodeList(const FieldReader &document, const char *key, Decode decode)
{
    const json &list = document.list(key);
    std::vector<Record> records;
    records.reserve(list.size());
    for (size_t i = 0; i < list.size(); ++i) {
        const QString path = document.pathOf(key) + QStringLiteral("[%1]").arg(i);
        records.push_back(decode(FieldReader(list[i], path)));
    }
    return records;
}

json parse(const QByteArray &bytes)
{
    try {
        return json::parse(bytes.begin(), bytes.end());
    } catch (const json::parse_error &error) {
        throw PersistenceError(
            QStringLiteral("файл не является документом JSON (ошибка около байта %1)")
                .arg(error.byte));
    } catch (const json::exception &) {
        // A number beyond the range of a double (1e400) fails as out_of_range, not parse_error.
        throw PersistenceError(
            QStringLiteral("файл не является документом JSON (число вне допустимого диапазона)"));
    }
}

} // namespace

PlannerArchive PlannerArchive::decode(const QByteArray &bytes)
{
    const json value = parse(bytes);
    if (!value.is_object())
        throw PersistenceError(QStringLiteral("документ должен быть объектом JSON"));
    const FieldReader document(value, QString());
    PlannerArchive archive;
    archive.version = document.required<qint64>("version");
    archive.savedAt = document.required<Instant>("savedAt");
    archive.projects = decodeList<ProjectRecord>(document, "projects", decodeProject);
    archive.tasks = decodeList<TaskRecord>(document, "tasks", decodeTask);
    archive.days = decodeList<DayRecord>(document, "days", decodeDay);
    return archive;
}

} // namespace furrow
