#pragma once

#include <nlohmann/json_fwd.hpp>

#include <QString>

#include <map>
#include <variant>

namespace furrow {

// One field of a sync record's body: text, a 64-bit integer, a flag or blank, nothing else.
class SyncValue
{
public:
    enum class Kind { Text, Number, Flag, Blank };

    SyncValue() = default; // blank
    static SyncValue text(const QString &text) { return SyncValue(Payload(text)); }
    static SyncValue number(qint64 number) { return SyncValue(Payload(number)); }
    static SyncValue flag(bool flag) { return SyncValue(Payload(flag)); }
    static SyncValue blank() { return SyncValue(); }

    Kind kind() const { return Kind(m_payload.index()); }
    bool isText() const { return kind() == Kind::Text; }
    bool isNumber() const { return kind() == Kind::Number; }
    bool isFlag() const { return kind() == Kind::Flag; }
    bool isBlank() const { return kind() == Kind::Blank; }

    // The payload; each must only be called for its own kind.
    const QString &asText() const { return std::get<QString>(m_payload); }
    qint64 asNumber() const { return std::get<qint64>(m_payload); }
    bool asFlag() const { return std::get<bool>(m_payload); }

    bool operator==(const SyncValue &other) const = default;

    void toJson(nlohmann::json &out) const;
    // Tries null, boolean, 64-bit integer, then string; anything else throws SyncWireError
    // with the description of the failed string attempt.
    static SyncValue fromJson(const nlohmann::json &in);

private:
    using Payload = std::variant<QString, qint64, bool, std::monostate>;

    explicit SyncValue(Payload payload)
        : m_payload(std::move(payload))
    {}

    Payload m_payload = std::monostate();
};

// A record's body: member name to value. Sorted, so the encoding is the same on every run.
using SyncBody = std::map<QString, SyncValue>;

} // namespace furrow
