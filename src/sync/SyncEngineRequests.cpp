// SyncEngine: what the user asks for by hand (a cycle now, a certificate to trust) and the
// digest that tells whether the settings changed since the last completed cycle.

#include "SyncEngine.h"

#include <QCryptographicHash>

namespace furrow {

void SyncEngine::syncNow(Finished finished)
{
    // The user asks, so a locked keyring may ask to be unlocked.
    if (m_isOn && !isRunning() && !hasSecrets()) {
        loadSecrets([this, finished](bool loaded) {
            if (loaded)
                syncNow(finished);
            else if (finished)
                finished(false);
        });
        return;
    }
    if (m_isOn && !isRunning()) {
        if (const QString missing = missingSetting(); !missing.isEmpty()) {
            setStatus(SyncStatus::failed(missing));
            if (finished)
                finished(false);
            return;
        }
    }
    sync(std::move(finished));
}

bool SyncEngine::trustCertificate(const QString &fingerprint)
{
    const QString normalized = SyncExchange::normalizedFingerprint(fingerprint);
    if (normalized.isEmpty())
        return false;
    m_settings.setTrustedCertificate(normalized);
    return true;
}

QString SyncEngine::missingSetting() const
{
    const bool noAddress = m_address.trimmed().isEmpty();
    if (noAddress && token().isEmpty())
        return QStringLiteral("не указаны адрес сервера и токен доступа");
    if (noAddress)
        return QStringLiteral("не указан адрес сервера");
    if (!endpoint())
        return QStringLiteral("адрес сервера не разобрать — проверьте, как он написан");
    if (token().isEmpty())
        return QStringLiteral("не указан токен доступа");
    return {};
}

QString SyncEngine::basisOf(const QString &address, const QString &token, const QString &phrase)
{
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData(SyncExchange::endpoint(address).value_or(QUrl()).toString().toUtf8() + '\n');
    hash.addData(token.toUtf8() + '\n');
    hash.addData(phrase.trimmed().toUtf8());
    return QString::fromLatin1(hash.result().toHex());
}

} // namespace furrow
