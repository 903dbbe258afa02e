#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace furrow {

// Standard base64 (RFC 4648: "+" and "/", "=" fill, no line breaks). Decoding is strict: any
// character outside the alphabet, a misplaced "=" or a length that is not a multiple of four
// fails.
namespace SyncBase64 {

QString encode(QByteArrayView bytes);
std::optional<QByteArray> decode(QStringView text);

} // namespace SyncBase64
} // namespace furrow
