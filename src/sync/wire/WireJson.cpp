#include "WireJson.h"

#include <cmath>

namespace furrow::WireJson {

using nlohmann::json;

json parse(QByteArrayView text)
{
    return translated([&] { return json::parse(text.begin(), text.end()); });
}

QByteArray dump(const json &value)
{
    // Texts come from QString and are valid UTF-8; replacing keeps a stray byte from throwing.
    const std::string text = value.dump(-1, ' ', false, json::error_handler_t::replace);
    return QByteArray(text.data(), qsizetype(text.size()));
}

std::optional<qint64> exactInteger(const json &value)
{
    if (value.is_number_unsigned()) {
        const auto number = value.get<std::uint64_t>();
        if (number > std::uint64_t(std::numeric_limits<qint64>::max()))
            return std::nullopt;
        return qint64(number);
    }
    if (value.is_number_integer())
        return value.get<std::int64_t>();
    if (value.is_number_float()) {
        // Only below 2^53 is a double certain to be the integer that was written: the parser
        // also turns integers past the 64-bit range into doubles, which would round them.
        constexpr double exactLimit = 9007199254740992.0;
        const double number = value.get<double>();
        if (std::trunc(number) == number && std::abs(number) < exactLimit)
            return qint64(number);
    }
    return std::nullopt;
}

QString textMember(const json &object, const char *key)
{
    return translated([&] { return QString::fromStdString(object.at(key).get<std::string>()); });
}

qint64 integerMember(const json &object, const char *key)
{
    const json &value = translated([&]() -> const json & { return object.at(key); });
    if (const auto number = exactInteger(value))
        return *number;
    if (value.is_number())
        throw SyncWireError("member '" + std::string(key) + "': " + value.dump()
                            + " is not a signed 64-bit integer");
    return translated([&] { return value.get<std::int64_t>(); });
}

bool flagMember(const json &object, const char *key)
{
    return translated([&] { return object.at(key).get<bool>(); });
}

const json &arrayMember(const json &object, const char *key)
{
    const json &value = translated([&]() -> const json & { return object.at(key); });
    if (!value.is_array())
        throw SyncWireError("member '" + std::string(key) + "': type must be array, but is "
                            + value.type_name());
    return value;
}

json fromText(const QString &text)
{
    return text.toStdString();
}

json fromBody(const SyncBody &body)
{
    json members = json::object();
    for (const auto &[name, value] : body)
        value.toJson(members[name.toStdString()]);
    return members;
}

SyncBody toBody(const json &object, const std::string &what)
{
    if (!object.is_object())
        throw SyncWireError(what + ": type must be object, but is " + object.type_name());
    SyncBody body;
    for (const auto &[name, value] : object.items())
        body.emplace(QString::fromStdString(name), SyncValue::fromJson(value));
    return body;
}

json fromRecords(const std::vector<SyncRecord> &records)
{
    json list = json::array();
    for (const SyncRecord &record : records)
        record.toJson(list.emplace_back());
    return list;
}

std::vector<SyncRecord> recordsMember(const json &object, const char *key)
{
    std::vector<SyncRecord> records;
    for (const json &record : arrayMember(object, key))
        records.push_back(SyncRecord::fromJson(record));
    return records;
}

} // namespace furrow::WireJson
