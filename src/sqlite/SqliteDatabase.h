#pragma once

#include <QByteArrayView>
#include <QString>

#include <optional>

struct sqlite3;
struct sqlite3_stmt;

namespace furrow {

class SqliteStatement;

// One SQLite connection. Every failure raises StoreError with SQLite's own description.
class SqliteDatabase
{
public:
    explicit SqliteDatabase(const QString &path);
    ~SqliteDatabase();
    SqliteDatabase(const SqliteDatabase &) = delete;
    SqliteDatabase &operator=(const SqliteDatabase &) = delete;

    void execute(const char *sql);
    // The first column of the first row of a query, as an integer or text.
    qint64 queryInteger(const char *sql);
    QString queryText(const char *sql);

    sqlite3 *handle() const { return m_db; }
    [[noreturn]] void raise(const QString &context = {}) const;

private:
    sqlite3 *m_db = nullptr;
};

// A prepared statement: bind by 1-based index, step, read columns by 0-based index.
class SqliteStatement
{
public:
    SqliteStatement(SqliteDatabase &db, const char *sql);
    ~SqliteStatement();
    SqliteStatement(const SqliteStatement &) = delete;
    SqliteStatement &operator=(const SqliteStatement &) = delete;

    void bind(int index, qint64 value);
    void bind(int index, const QString &text);
    void bind(int index, std::optional<qint64> value);
    void bindNull(int index);

    // Advances to the next row; false when there is none. Resets itself after the last row.
    bool step();
    // Runs a statement that returns no rows and makes it ready for the next bindings.
    void run();

    bool isNull(int column) const;
    qint64 integer(int column) const;
    std::optional<qint64> optionalInteger(int column) const;
    QString text(int column) const;
    // The column's UTF-8 bytes, without a copy; valid until the next step.
    QByteArrayView bytes(int column) const;

private:
    SqliteDatabase &m_db;
    sqlite3_stmt *m_statement = nullptr;
};

// An immediate transaction for the guard's lifetime: commit() ends it, and leaving the scope
// without a commit, as an error does, rolls it back without a word, so the database is as it
// was and the error is the one the caller sees.
class SqliteTransaction
{
public:
    explicit SqliteTransaction(SqliteDatabase &db);
    ~SqliteTransaction();
    SqliteTransaction(const SqliteTransaction &) = delete;
    SqliteTransaction &operator=(const SqliteTransaction &) = delete;

    void commit();

private:
    SqliteDatabase &m_db;
    bool m_committed = false;
};

} // namespace furrow
