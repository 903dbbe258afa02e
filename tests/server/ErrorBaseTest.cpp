#include "base/Error.h"
#include "base/StoreError.h"
#include "persistence/PersistenceError.h"
#include "persistence/PlannerArchive.h"
#include "server/ServerError.h"
#include "server/ServerOptions.h"
#include "sqlite/SqliteDatabase.h"
#include "sync/wire/SyncResponse.h"
#include "sync/wire/SyncWireError.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

namespace furrow {
namespace {

// One failure of each layer, raised by the layer's own code.
struct LayerFailure
{
    const char *layer;
    std::function<void()> raise;
    std::function<bool(const Error &)> isLayersOwn;
    QString expected; // part of the description
};

template<typename Concrete>
std::function<bool(const Error &)> is()
{
    return [](const Error &error) {
        return dynamic_cast<const Concrete *>(&error) != nullptr;
    };
}

TEST(ErrorBaseTest, everyLayersFailure_isCaughtAsOneBase_withItsOwnTypeAndDescription)
{
    const QTemporaryDir dir;
    const QString missingFolder = dir.filePath("missing/store.db");
    const std::vector<LayerFailure> failures = {
        {"store", [&] { SqliteDatabase db(missingFolder); }, is<StoreError>(),
         QStringLiteral("unable to open database file")},
        {"persistence",
         [] { PlannerArchive::decode("not a document"); },
         is<PersistenceError>(),
         {}},
        {"wire", [] { SyncResponse::decode("{\"records\":"); }, is<SyncWireError>(), {}},
        {"server",
         [] {
             ServerOptions::parse({"--tokens", "t", "--bogus", "1"});
         },
         is<ServerError>(), QStringLiteral("неизвестный параметр --bogus")},
    };
    for (const LayerFailure &failure : failures) {
        SCOPED_TRACE(failure.layer);
        try {
            failure.raise();
            ADD_FAILURE() << "nothing was raised";
        } catch (const Error &error) {
            EXPECT_TRUE(failure.isLayersOwn(error));
            EXPECT_FALSE(error.description().isEmpty());
            EXPECT_TRUE(error.description().contains(failure.expected))
                << error.description().toStdString();
            EXPECT_EQ(error.description().toStdString(), std::string(error.what()));
        }
    }
}

} // namespace
} // namespace furrow
