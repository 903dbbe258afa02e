#pragma once

#include "base/Error.h"
#include "sync/wire/SyncRecord.h"

#include <array>
#include <optional>
#include <vector>

namespace furrow {

// The key that seals record bodies before they leave the machine and opens those that arrive.
// It is derived from the user's secret phrase at the start of every cycle and never stored;
// its bytes are wiped when the value goes away.
class SyncCrypto
{
public:
    enum class Failure { Sealing, Unreadable };

    // Raised when a body cannot be sealed; the description is the failure's name.
    class Error : public furrow::Error
    {
    public:
        explicit Error(Failure failure);
        Failure failure() const { return m_failure; }

    private:
        Failure m_failure;
    };

    // No key when the phrase is empty after trimming white space and line breaks. Throws
    // Error(Sealing) when the key cannot be derived.
    static std::optional<SyncCrypto> fromPhrase(const QString &phrase);

    SyncCrypto(const SyncCrypto &other);
    SyncCrypto &operator=(const SyncCrypto &other);
    ~SyncCrypto();

    // The base64 text of the sealed JSON of a body. Throws Error(Sealing).
    QString seal(const SyncBody &body) const;
    // The record with its body replaced by {"e": sealed text}. The sealed body also carries
    // the envelope, so that it opens only in a record with the same kind, id, time and
    // deletion flag. Throws Error(Sealing).
    SyncRecord sealed(const SyncRecord &record) const;
    // The body sealed in `text`, or none when it does not decode, authenticate or parse.
    std::optional<SyncBody> open(QStringView text) const;
    // The body a received record sealed, or none when it has no sealed text, does not open,
    // or names another envelope. Bodies sealed without an envelope open in any record.
    std::optional<SyncBody> openRecord(const SyncRecord &record) const;

    // Opens the bodies of received records, in order. Those that cannot be opened are left out
    // and added to `unreadable`: with a key, every record whose body is not a sealed text that
    // opens for its envelope, since a plain body could come from anyone who reaches the
    // server; without one, every record with an "e" member.
    static std::vector<SyncRecord> open(std::vector<SyncRecord> records, const SyncCrypto *crypto,
                                        qint64 &unreadable);

private:
    SyncCrypto() = default;

    std::array<unsigned char, 32> m_key{};
};

} // namespace furrow
