// Feeds arbitrary bytes to the backup-document decoder and encodes what it accepts.
#include "persistence/PersistenceError.h"
#include "persistence/PlannerArchive.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    try {
        const auto archive = furrow::PlannerArchive::decode(
            QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
        (void)archive.encode();
    } catch (const furrow::PersistenceError &) {
    }
    return 0;
}
