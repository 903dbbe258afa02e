#include "SqliteStore.h"

#include <QHash>
#include <QStringList>

namespace furrow {

namespace {

QStringList columnList(std::initializer_list<const char *> names)
{
    QStringList list;
    for (const char *name : names)
        list.append(QString::fromLatin1(name));
    return list;
}

// Column lists, in binding order; the first column of every table is the row key.
const QStringList kTaskColumns = columnList(
    {"row_key", "id", "title", "note", "due_date", "sort_order", "is_done", "done_at", "created_at",
     "updated_at", "deleted_at", "archived_at", "snoozed_until", "project_row", "section_row",
     "remind_at", "repeat_rule", "repeat_from_done", "series_id"});
const QStringList kProjectColumns
    = columnList({"row_key", "id", "name", "color_hex", "sort_order", "updated_at", "deleted_at"});
const QStringList kPageColumns
    = columnList({"row_key", "id", "name", "icon_name", "sort_order", "updated_at", "deleted_at"});
const QStringList kSectionColumns
    = columnList({"row_key", "id", "name", "sort_order", "updated_at", "deleted_at", "page_row"});
const QStringList kDayPlanColumns = columnList(
    {"row_key", "date", "started_at", "closed_at", "planned_count", "closed_count", "updated_at"});

const char *const kSchema = R"(
CREATE TABLE task(
    row_key INTEGER PRIMARY KEY, id TEXT NOT NULL, title TEXT NOT NULL, note TEXT NOT NULL,
    due_date INTEGER, sort_order INTEGER NOT NULL, is_done INTEGER NOT NULL, done_at INTEGER,
    created_at INTEGER NOT NULL, updated_at INTEGER NOT NULL, deleted_at INTEGER,
    archived_at INTEGER, snoozed_until INTEGER, project_row INTEGER, section_row INTEGER,
    remind_at INTEGER, repeat_rule TEXT NOT NULL DEFAULT '', repeat_from_done INTEGER NOT NULL
    DEFAULT 0, series_id TEXT);
CREATE TABLE project(
    row_key INTEGER PRIMARY KEY, id TEXT NOT NULL, name TEXT NOT NULL, color_hex TEXT NOT NULL,
    sort_order INTEGER NOT NULL, updated_at INTEGER NOT NULL, deleted_at INTEGER);
CREATE TABLE page(
    row_key INTEGER PRIMARY KEY, id TEXT NOT NULL, name TEXT NOT NULL, icon_name TEXT NOT NULL,
    sort_order INTEGER NOT NULL, updated_at INTEGER NOT NULL, deleted_at INTEGER);
CREATE TABLE section(
    row_key INTEGER PRIMARY KEY, id TEXT NOT NULL, name TEXT NOT NULL,
    sort_order INTEGER NOT NULL, updated_at INTEGER NOT NULL, deleted_at INTEGER, page_row INTEGER);
CREATE TABLE day_plan(
    row_key INTEGER PRIMARY KEY, date INTEGER NOT NULL, started_at INTEGER, closed_at INTEGER,
    planned_count INTEGER NOT NULL, closed_count INTEGER NOT NULL, updated_at INTEGER NOT NULL);
PRAGMA user_version = 2;
)";

// From the first schema: tasks gained a reminder and a repeat rule.
const char *const kMigrationFrom1 = R"(
ALTER TABLE task ADD COLUMN remind_at INTEGER;
ALTER TABLE task ADD COLUMN repeat_rule TEXT NOT NULL DEFAULT '';
ALTER TABLE task ADD COLUMN repeat_from_done INTEGER NOT NULL DEFAULT 0;
ALTER TABLE task ADD COLUMN series_id TEXT;
PRAGMA user_version = 2;
)";

// The statements of one table.
struct Table
{
    Table(SqliteDatabase &db, const QString &name, const QStringList &columns)
        : select(db, QStringLiteral("SELECT %1 FROM %2 ORDER BY row_key")
                         .arg(columns.join(u','), name)
                         .toUtf8()
                         .constData())
        , upsert(db, QStringLiteral("INSERT OR REPLACE INTO %1(%2) VALUES(%3)")
                         .arg(name, columns.join(u','),
                              QStringList(columns.size(), QStringLiteral("?")).join(u','))
                         .toUtf8()
                         .constData())
        , remove(db,
                 QStringLiteral("DELETE FROM %1 WHERE row_key = ?").arg(name).toUtf8().constData())
    {}

    SqliteStatement select;
    SqliteStatement upsert;
    SqliteStatement remove;
};

std::optional<qint64> microseconds(const OptionalInstant &instant)
{
    if (!instant)
        return std::nullopt;
    return microsecondsSinceEpoch(*instant);
}

OptionalInstant optionalInstant(const SqliteStatement &row, int column)
{
    if (row.isNull(column))
        return std::nullopt;
    return instantFromMicroseconds(row.integer(column));
}

Instant instant(const SqliteStatement &row, int column)
{
    return instantFromMicroseconds(row.integer(column));
}

QUuid uuid(const SqliteStatement &row, int column)
{
    // Parsed from the stored bytes: no text copy for each of tens of thousands of rows.
    return QUuid::fromString(QUtf8StringView(row.bytes(column)));
}

// The row key of a referenced row that is in the store, or none.
std::optional<qint64> reference(const Record *row)
{
    if (!row || !row->context())
        return std::nullopt;
    return row->rowKey();
}

template<class T>
T *lookup(const QHash<qint64, T *> &rows, const SqliteStatement &row, int column)
{
    return row.isNull(column) ? nullptr : rows.value(row.integer(column), nullptr);
}

} // namespace

struct SqliteStore::Statements
{
    explicit Statements(SqliteDatabase &db)
        : tasks(db, QStringLiteral("task"), kTaskColumns)
        , projects(db, QStringLiteral("project"), kProjectColumns)
        , pages(db, QStringLiteral("page"), kPageColumns)
        , sections(db, QStringLiteral("section"), kSectionColumns)
        , dayPlans(db, QStringLiteral("day_plan"), kDayPlanColumns)
    {}

    Table &of(RecordKind kind)
    {
        switch (kind) {
        case RecordKind::Task:
            return tasks;
        case RecordKind::Project:
            return projects;
        case RecordKind::Page:
            return pages;
        case RecordKind::Section:
            return sections;
        case RecordKind::DayPlan:
            break;
        }
        return dayPlans;
    }

    Table tasks;
    Table projects;
    Table pages;
    Table sections;
    Table dayPlans;
};

SqliteStore::SqliteStore(const QString &path)
    : m_db(path)
{
    prepareSchema();
    checkColumns();
    m_statements = std::make_unique<Statements>(m_db);
}

SqliteStore::~SqliteStore() = default;

void SqliteStore::prepareSchema()
{
    // Check before changing anything: a file that is not ours is set aside untouched.
    const qint64 version = m_db.queryInteger("PRAGMA user_version");
    if (version != 0 && version != 1 && version != kSchemaVersion)
        throw StoreError(
            QStringLiteral("schema version %1, expected %2").arg(version).arg(kSchemaVersion),
            StoreError::Cause::Damaged);
    if (version == 0 && m_db.queryInteger("SELECT count(*) FROM sqlite_schema") != 0)
        throw StoreError(QStringLiteral("the file holds tables of another program"),
                         StoreError::Cause::Damaged);

    m_db.queryText("PRAGMA journal_mode = WAL");
    m_db.execute("PRAGMA synchronous = FULL");
    if (version == kSchemaVersion)
        return;
    SqliteTransaction transaction(m_db);
    m_db.execute(version == 1 ? kMigrationFrom1 : kSchema);
    transaction.commit();
}

void SqliteStore::checkColumns()
{
    // Checked by name, so that a store of another shape is told apart from a statement that
    // failed for want of disk or memory.
    const std::pair<const char *, const QStringList *> tables[] = {{"task", &kTaskColumns},
                                                                   {"project", &kProjectColumns},
                                                                   {"page", &kPageColumns},
                                                                   {"section", &kSectionColumns},
                                                                   {"day_plan", &kDayPlanColumns}};
    SqliteStatement info(m_db, "SELECT name FROM pragma_table_info(?)");
    for (const auto &[table, columns] : tables) {
        QStringList present;
        info.bind(1, QString::fromLatin1(table));
        while (info.step())
            present.append(info.text(0));
        if (present.isEmpty())
            throw StoreError(QStringLiteral("no such table: %1").arg(QLatin1String(table)),
                             StoreError::Cause::Damaged);
        for (const QString &column : *columns) {
            if (!present.contains(column))
                throw StoreError(QStringLiteral("no such column: %1").arg(column),
                                 StoreError::Cause::Damaged);
        }
    }
}

void SqliteStore::loadInto(ModelContext &context)
{
    QHash<qint64, Project *> projects;
    QHash<qint64, Page *> pages;
    QHash<qint64, Section *> sections;

    for (SqliteStatement &row = m_statements->projects.select; row.step();) {
        auto project = std::make_shared<Project>(row.text(2), row.text(3), row.integer(4));
        project->setId(uuid(row, 1));
        project->setUpdatedAt(instant(row, 5));
        project->setDeletedAt(optionalInstant(row, 6));
        projects.insert(row.integer(0), context.insertStored(project, row.integer(0)));
    }
    for (SqliteStatement &row = m_statements->pages.select; row.step();) {
        auto page = std::make_shared<Page>(row.text(2), row.text(3), row.integer(4));
        page->setId(uuid(row, 1));
        page->setUpdatedAt(instant(row, 5));
        page->setDeletedAt(optionalInstant(row, 6));
        pages.insert(row.integer(0), context.insertStored(page, row.integer(0)));
    }
    for (SqliteStatement &row = m_statements->sections.select; row.step();) {
        auto section
            = std::make_shared<Section>(row.text(2), lookup(pages, row, 6), row.integer(3));
        section->setId(uuid(row, 1));
        section->setUpdatedAt(instant(row, 4));
        section->setDeletedAt(optionalInstant(row, 5));
        sections.insert(row.integer(0), context.insertStored(section, row.integer(0)));
    }
    for (SqliteStatement &row = m_statements->tasks.select; row.step();) {
        auto task = std::make_shared<TaskItem>(TaskItem::Stored{});
        task->setTitle(row.text(2));
        task->setSection(lookup(sections, row, 14));
        task->setOrder(row.integer(5));
        task->setProject(lookup(projects, row, 13));
        task->setId(uuid(row, 1));
        task->setNote(row.text(3));
        task->setDueDate(optionalInstant(row, 4));
        task->setDone(row.integer(6) != 0);
        task->setDoneAt(optionalInstant(row, 7));
        task->setCreatedAt(instant(row, 8));
        task->setUpdatedAt(instant(row, 9));
        task->setDeletedAt(optionalInstant(row, 10));
        task->setArchivedAt(optionalInstant(row, 11));
        task->setSnoozedUntil(optionalInstant(row, 12));
        task->setRemindAt(optionalInstant(row, 15));
        task->setRepeatRule(row.text(16));
        task->setRepeatFromDone(row.integer(17) != 0);
        if (!row.isNull(18))
            task->setSeriesId(uuid(row, 18));
        context.insertStored(task, row.integer(0));
    }
    for (SqliteStatement &row = m_statements->dayPlans.select; row.step();) {
        auto plan = std::make_shared<DayPlan>();
        plan->setDate(instant(row, 1));
        plan->setStartedAt(optionalInstant(row, 2));
        plan->setClosedAt(optionalInstant(row, 3));
        plan->setPlannedCount(row.integer(4));
        plan->setClosedCount(row.integer(5));
        plan->setUpdatedAt(instant(row, 6));
        context.insertStored(plan, row.integer(0));
    }
}

namespace {

void bindRow(SqliteStatement &s, const TaskItem &task)
{
    s.bind(2, idText(task.id()));
    s.bind(3, task.title());
    s.bind(4, task.note());
    s.bind(5, microseconds(task.dueDate()));
    s.bind(6, task.order());
    s.bind(7, qint64(task.isDone()));
    s.bind(8, microseconds(task.doneAt()));
    s.bind(9, microsecondsSinceEpoch(task.createdAt()));
    s.bind(10, microsecondsSinceEpoch(task.updatedAt()));
    s.bind(11, microseconds(task.deletedAt()));
    s.bind(12, microseconds(task.archivedAt()));
    s.bind(13, microseconds(task.snoozedUntil()));
    s.bind(14, reference(task.project()));
    s.bind(15, reference(task.section()));
    s.bind(16, microseconds(task.remindAt()));
    s.bind(17, task.repeatRule());
    s.bind(18, qint64(task.repeatFromDone()));
    if (task.seriesId().isNull())
        s.bindNull(19);
    else
        s.bind(19, idText(task.seriesId()));
}

void bindRow(SqliteStatement &s, const Project &project)
{
    s.bind(2, idText(project.id()));
    s.bind(3, project.name());
    s.bind(4, project.colorHex());
    s.bind(5, project.order());
    s.bind(6, microsecondsSinceEpoch(project.updatedAt()));
    s.bind(7, microseconds(project.deletedAt()));
}

void bindRow(SqliteStatement &s, const Page &page)
{
    s.bind(2, idText(page.id()));
    s.bind(3, page.name());
    s.bind(4, page.iconName());
    s.bind(5, page.order());
    s.bind(6, microsecondsSinceEpoch(page.updatedAt()));
    s.bind(7, microseconds(page.deletedAt()));
}

void bindRow(SqliteStatement &s, const Section &section)
{
    s.bind(2, idText(section.id()));
    s.bind(3, section.name());
    s.bind(4, section.order());
    s.bind(5, microsecondsSinceEpoch(section.updatedAt()));
    s.bind(6, microseconds(section.deletedAt()));
    s.bind(7, reference(section.page()));
}

void bindRow(SqliteStatement &s, const DayPlan &plan)
{
    s.bind(2, microsecondsSinceEpoch(plan.date()));
    s.bind(3, microseconds(plan.startedAt()));
    s.bind(4, microseconds(plan.closedAt()));
    s.bind(5, plan.plannedCount());
    s.bind(6, plan.closedCount());
    s.bind(7, microsecondsSinceEpoch(plan.updatedAt()));
}

void bindRecord(SqliteStatement &s, const Record &row)
{
    s.bind(1, row.rowKey());
    switch (row.kind()) {
    case RecordKind::Task:
        return bindRow(s, static_cast<const TaskItem &>(row));
    case RecordKind::Project:
        return bindRow(s, static_cast<const Project &>(row));
    case RecordKind::Page:
        return bindRow(s, static_cast<const Page &>(row));
    case RecordKind::Section:
        return bindRow(s, static_cast<const Section &>(row));
    case RecordKind::DayPlan:
        return bindRow(s, static_cast<const DayPlan &>(row));
    }
}

} // namespace

void SqliteStore::write(const ChangeSet &changes)
{
    if (changes.isEmpty())
        return;
    // On an error nothing is written; the context keeps its changes for the next save.
    SqliteTransaction transaction(m_db);
    for (const ChangeSet::RemovedRow &removed : changes.removed) {
        SqliteStatement &statement = m_statements->of(removed.kind).remove;
        statement.bind(1, removed.rowKey);
        statement.run();
    }
    for (const Record *row : changes.written) {
        SqliteStatement &statement = m_statements->of(row->kind()).upsert;
        bindRecord(statement, *row);
        statement.run();
    }
    transaction.commit();
}

} // namespace furrow
