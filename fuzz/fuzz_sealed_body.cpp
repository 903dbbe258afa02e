// Opens arbitrary text as a sealed body under a fixed key. Random text never authenticates, so
// inputs starting with '{' also go to the decoder of opened plaintext, and what it accepts is
// sealed and opened again.
#include "sync/SyncCrypto.h"
#include "sync/wire/SyncBodyCoding.h"
#include "sync/wire/SyncWireError.h"

#include <cstddef>
#include <cstdint>

namespace {

const furrow::SyncCrypto &crypto()
{
    static const furrow::SyncCrypto key
        = *furrow::SyncCrypto::fromPhrase(QStringLiteral("correct horse battery staple"));
    return key;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    (void)crypto().open(QString::fromUtf8(bytes));
    if (bytes.empty() || bytes.front() != '{')
        return 0;
    try {
        const furrow::SyncBody body = furrow::SyncBodyCoding::decode(bytes);
        if (!crypto().open(crypto().seal(body)))
            __builtin_trap();
    } catch (const furrow::SyncWireError &) {
    }
    return 0;
}
