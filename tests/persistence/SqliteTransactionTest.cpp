#include "sqlite/SqliteDatabase.h"

#include "base/StoreError.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace furrow;

TEST(SqliteTransactionTest, keepsWhatItCommits_andUndoesWhatAnErrorInterrupts)
{
    const QTemporaryDir dir;
    SqliteDatabase db(dir.filePath("guard.db"));
    db.execute("CREATE TABLE rows (n INTEGER NOT NULL)");
    {
        SqliteTransaction transaction(db);
        db.execute("INSERT INTO rows VALUES (1)");
        transaction.commit();
    }
    const auto interrupted = [&] {
        SqliteTransaction transaction(db);
        db.execute("INSERT INTO rows VALUES (2)");
        db.execute("INSERT INTO rows VALUES (NULL)"); // violates NOT NULL
        transaction.commit();
    };
    EXPECT_THROW(interrupted(), StoreError);
    EXPECT_EQ(db.queryInteger("SELECT count(*) FROM rows"), 1);
    // The connection is out of the transaction: a new one begins.
    SqliteTransaction next(db);
    next.commit();
}
