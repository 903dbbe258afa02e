// Serves arbitrary bytes as a sync request body against a scratch store, as the server does.
#include "server/SyncService.h"
#include "server/SyncStore.h"

#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>

namespace {

furrow::SyncStore &store()
{
    static const QTemporaryDir folder;
    static furrow::SyncStore instance(folder.filePath(QStringLiteral("sync.sqlite")));
    return instance;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const furrow::SyncService service(store(), 50, 64 * 1024);
    const auto outcome
        = service.handle(QByteArrayView(reinterpret_cast<const char *>(data), qsizetype(size)));
    if (outcome.status == 500)
        __builtin_trap();
    return 0;
}
