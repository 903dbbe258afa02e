#include "sqlite/SqliteDatabase.h"

#include "base/StoreError.h"

#include <sqlite3.h>

namespace furrow {

namespace {

// Only SQLite's own verdict that the file is no database, or a broken one, marks it damaged.
StoreError::Cause causeOf(int code)
{
    const int primary = code & 0xff;
    return primary == SQLITE_CORRUPT || primary == SQLITE_NOTADB ? StoreError::Cause::Damaged
                                                                 : StoreError::Cause::Unavailable;
}

} // namespace

SqliteDatabase::SqliteDatabase(const QString &path)
{
    const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX;
    if (sqlite3_open_v2(path.toUtf8().constData(), &m_db, flags, nullptr) != SQLITE_OK) {
        const QString description
            = m_db ? QString::fromUtf8(sqlite3_errmsg(m_db)) : QStringLiteral("out of memory");
        const int code = m_db ? sqlite3_extended_errcode(m_db) : SQLITE_NOMEM;
        sqlite3_close(m_db);
        m_db = nullptr;
        throw StoreError(description, causeOf(code));
    }
    sqlite3_extended_result_codes(m_db, 1);
}

SqliteDatabase::~SqliteDatabase()
{
    sqlite3_close(m_db);
}

void SqliteDatabase::raise(const QString &context) const
{
    const QString message = QString::fromUtf8(sqlite3_errmsg(m_db));
    throw StoreError(context.isEmpty() ? message : context + QStringLiteral(": ") + message,
                     causeOf(sqlite3_extended_errcode(m_db)));
}

void SqliteDatabase::execute(const char *sql)
{
    if (sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr) != SQLITE_OK)
        raise();
}

qint64 SqliteDatabase::queryInteger(const char *sql)
{
    SqliteStatement statement(*this, sql);
    return statement.step() ? statement.integer(0) : 0;
}

QString SqliteDatabase::queryText(const char *sql)
{
    SqliteStatement statement(*this, sql);
    return statement.step() ? statement.text(0) : QString();
}

SqliteStatement::SqliteStatement(SqliteDatabase &db, const char *sql)
    : m_db(db)
{
    if (sqlite3_prepare_v3(db.handle(), sql, -1, SQLITE_PREPARE_PERSISTENT, &m_statement, nullptr)
        != SQLITE_OK)
        db.raise();
}

SqliteStatement::~SqliteStatement()
{
    sqlite3_finalize(m_statement);
}

void SqliteStatement::bind(int index, qint64 value)
{
    if (sqlite3_bind_int64(m_statement, index, value) != SQLITE_OK)
        m_db.raise();
}

void SqliteStatement::bind(int index, const QString &text)
{
    const QByteArray utf8 = text.toUtf8();
    if (sqlite3_bind_text(m_statement, index, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT)
        != SQLITE_OK)
        m_db.raise();
}

void SqliteStatement::bind(int index, std::optional<qint64> value)
{
    if (value)
        bind(index, *value);
    else
        bindNull(index);
}

void SqliteStatement::bindNull(int index)
{
    if (sqlite3_bind_null(m_statement, index) != SQLITE_OK)
        m_db.raise();
}

bool SqliteStatement::step()
{
    switch (sqlite3_step(m_statement)) {
    case SQLITE_ROW:
        return true;
    case SQLITE_DONE:
        sqlite3_reset(m_statement);
        return false;
    default: {
        // Read the message before the reset, which would replace it.
        const QString message = QString::fromUtf8(sqlite3_errmsg(m_db.handle()));
        const int code = sqlite3_extended_errcode(m_db.handle());
        sqlite3_reset(m_statement);
        throw StoreError(message, causeOf(code));
    }
    }
}

void SqliteStatement::run()
{
    while (step()) {
    }
    sqlite3_clear_bindings(m_statement);
}

bool SqliteStatement::isNull(int column) const
{
    return sqlite3_column_type(m_statement, column) == SQLITE_NULL;
}

qint64 SqliteStatement::integer(int column) const
{
    return sqlite3_column_int64(m_statement, column);
}

std::optional<qint64> SqliteStatement::optionalInteger(int column) const
{
    if (isNull(column))
        return std::nullopt;
    return integer(column);
}

QString SqliteStatement::text(int column) const
{
    return QString::fromUtf8(bytes(column));
}

QByteArrayView SqliteStatement::bytes(int column) const
{
    const auto *data = reinterpret_cast<const char *>(sqlite3_column_text(m_statement, column));
    return QByteArrayView(data, sqlite3_column_bytes(m_statement, column));
}

SqliteTransaction::SqliteTransaction(SqliteDatabase &db)
    : m_db(db)
{
    m_db.execute("BEGIN IMMEDIATE");
}

SqliteTransaction::~SqliteTransaction()
{
    // A failed COMMIT may leave the transaction open too; SQLite may also have ended it already.
    if (!m_committed && !sqlite3_get_autocommit(m_db.handle()))
        sqlite3_exec(m_db.handle(), "ROLLBACK", nullptr, nullptr, nullptr);
}

void SqliteTransaction::commit()
{
    m_db.execute("COMMIT");
    m_committed = true;
}

} // namespace furrow
