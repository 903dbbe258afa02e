#pragma once

// Shared by the wire sources: strict member access and the JSON text conversions. Errors of the
// JSON library come out as SyncWireError carrying the library's own description.

#include "SyncRecord.h"
#include "SyncWireError.h"

#include <nlohmann/json.hpp>

#include <QByteArray>

#include <optional>

namespace furrow::WireJson {

nlohmann::json parse(QByteArrayView text);
QByteArray dump(const nlohmann::json &json);

// A number that is exactly a signed 64-bit integer (1.0 counts, 1.5 and 2^63 do not).
std::optional<qint64> exactInteger(const nlohmann::json &json);

QString textMember(const nlohmann::json &object, const char *key);
qint64 integerMember(const nlohmann::json &object, const char *key);
bool flagMember(const nlohmann::json &object, const char *key);
const nlohmann::json &arrayMember(const nlohmann::json &object, const char *key);

nlohmann::json fromText(const QString &text);

nlohmann::json fromBody(const SyncBody &body);
// `what` names the value in the error when it is not an object.
SyncBody toBody(const nlohmann::json &object, const std::string &what);

nlohmann::json fromRecords(const std::vector<SyncRecord> &records);
std::vector<SyncRecord> recordsMember(const nlohmann::json &object, const char *key);

// Runs `decode`, turning an error of the JSON library into SyncWireError.
template<class Decode>
auto translated(Decode &&decode) -> decltype(decode())
{
    try {
        return decode();
    } catch (const nlohmann::json::exception &error) {
        throw SyncWireError(error.what());
    }
}

} // namespace furrow::WireJson
