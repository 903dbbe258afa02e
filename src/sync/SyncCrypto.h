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
    // The record with its body replaced by {"e": sealed text}. Throws Error(Sealing).
    SyncRecord sealed(const SyncRecord &record) const;
    // The body sealed in `text`, or none when it does not decode, authenticate or parse.
    std::optional<SyncBody> open(QStringView text) const;

    // Opens the bodies of received records, in order. Records without an "e" member, or whose
    // "e" is not text, pass unchanged; those that cannot be opened (or need a key when there is
    // none) are left out and added to `unreadable`.
    static std::vector<SyncRecord> open(std::vector<SyncRecord> records, const SyncCrypto *crypto,
                                        qint64 &unreadable);

private:
    SyncCrypto() = default;

    std::array<unsigned char, 32> m_key{};
};

} // namespace furrow
