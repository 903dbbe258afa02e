// Feeds arbitrary bytes to the decoder of the sync server's answers and encodes what it accepts.
#include "sync/wire/SyncResponse.h"
#include "sync/wire/SyncWireError.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    try {
        const auto response = furrow::SyncResponse::decode(
            QByteArrayView(reinterpret_cast<const char *>(data), qsizetype(size)));
        (void)response.encode();
    } catch (const furrow::SyncWireError &) {
    }
    return 0;
}
