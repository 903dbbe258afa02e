#include "model/VectorStore.h"
#include "model/UserDefaults.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace furrow;

namespace {

class VectorStoreTest : public testing::Test
{
protected:
    void SetUp() override
    {
        auto defaults = UserDefaults::open();
        defaults->clear();
        defaults->sync();
    }
    static QString stored(const QString &key)
    {
        return UserDefaults::open()->value(key).toString();
    }
};

} // namespace

TEST_F(VectorStoreTest, set_cutsToTheLimitsInCharactersAsTheUserSeesThem)
{
    VectorStore store;
    EXPECT_EQ(store.vectors()[1], (Vector{1, QString(), QString()}));
    const QString flag = QString::fromUtf8("🇩🇪");       // one character, four UTF-16 units
    const QString accented = QStringLiteral("e\u0301"); // one character, two code points

    store.set(flag.repeated(30), accented.repeated(130), 1);

    EXPECT_EQ(store.vectors()[1], (Vector{1, flag.repeated(24), accented.repeated(120)}));
    EXPECT_EQ(stored("vectors.1.name"), flag.repeated(24));
    EXPECT_EQ(stored("vectors.1.statement"), accented.repeated(120));
}

TEST_F(VectorStoreTest, set_outsideTheSlots_changesAndWritesNothing)
{
    VectorStore store;
    int changes = 0;
    QObject::connect(&store, &VectorStore::vectorsChanged, [&] { ++changes; });

    store.set("Name", "Statement", 3);
    store.set("Name", "Statement", -1);

    EXPECT_EQ(changes, 0);
    EXPECT_TRUE(UserDefaults::open()->allKeys().isEmpty());
}

TEST_F(VectorStoreTest, visible_skipsBlankNamesWhateverTheStatement)
{
    VectorStore store;
    EXPECT_TRUE(store.visible().empty());
    store.set("   ", "A long statement about the quarter", 0);
    store.set("Ship", "", 2);

    ASSERT_EQ(store.visible().size(), 1u);
    EXPECT_EQ(store.visible()[0].slot, 2);
    EXPECT_EQ(stored("vectors.0.name"), "   "); // kept as typed
}

TEST_F(VectorStoreTest, goals_surviveAReopenOfTheDefaults)
{
    VectorStore(nullptr).set("Ship 2.0", "Release the new planner", 0);
    QFile file(UserDefaults::filePath());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().contains("Ship 2.0")); // on disk, not only in memory

    VectorStore reopened;
    EXPECT_EQ(reopened.vectors()[0], (Vector{0, "Ship 2.0", "Release the new planner"}));
}
