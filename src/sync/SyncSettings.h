#pragma once

#include <QSettings>
#include <QString>

#include <memory>
#include <optional>

namespace furrow {

// The sync keys of the user's defaults but the secrets, which SecretStore keeps. Values are
// stored exactly as given; trimming happens only where they are used.
class SyncSettings
{
public:
    SyncSettings();

    // The keys the token and the phrase are kept under, in the keyring or in the file.
    static QString tokenKey();
    static QString phraseKey();

    QString address() const;
    void setAddress(const QString &address);
    bool isOn() const;
    void setOn(bool on);

    // This installation's identifier, created and stored on first use.
    QString device();
    // The server cursor and the local change mark (seconds since 1970) of the last completed
    // cycle; both are written together.
    qint64 cursor() const;
    double mark() const;
    void setProgress(qint64 cursor, double mark);

    // A digest of the address, token and phrase that the cursor and the mark belong to; empty
    // before the first cycle that completed under the present settings.
    QString basis() const;
    void setBasis(const QString &basis);
    // When a cycle last completed cleanly, in milliseconds since 1970; none before the first.
    std::optional<qint64> lastSynced() const;
    void setLastSynced(qint64 milliseconds);
    // The SHA-256 fingerprint (64 hex digits) of the one certificate the user trusts for the
    // server although the system does not; empty when there is none.
    QString trustedCertificate() const;
    void setTrustedCertificate(const QString &fingerprint);

private:
    void write(const QString &key, const QVariant &value);

    std::unique_ptr<QSettings> m_defaults;
};

} // namespace furrow
