// SyncEngine: loading the token and the phrase from where they are kept, at the moment a cycle
// or the user first needs them.

#include "SyncEngine.h"

#include "model/Log.h"

#include <QPointer>

namespace furrow {

void SyncEngine::loadSecrets(std::function<void(bool)> done, bool mayAsk)
{
    if (hasSecrets()) {
        if (done)
            done(true);
        return;
    }
    m_secretWaiters.push_back(std::move(done));
    // One read at a time: the others wait for its answer.
    if (m_secretWaiters.size() > 1)
        return;
    const QPointer<SyncEngine> engine(this);
    m_secrets.load(
        [engine](const SecretStore::Loaded &loaded) {
            if (engine)
                engine->takeSecrets(loaded);
        },
        mayAsk);
}

void SyncEngine::takeSecrets(const SecretStore::Loaded &loaded)
{
    if (loaded.ok) {
        // A value the user set while the keyring was read is newer than the stored one.
        if (!m_token)
            m_token = loaded.values.value(SyncSettings::tokenKey());
        if (!m_phrase)
            m_phrase = loaded.values.value(SyncSettings::phraseKey());
    } else if (loaded.locked) {
        setStatus(SyncStatus::failed(QStringLiteral(
            "связка ключей заперта — синхронизация ждёт, пока её не откроют или вы не нажмёте "
            "«Sync now»")));
    } else {
        logLine(QStringLiteral("связка ключей не выдала токен и фразу: ") + loaded.error);
        // Never an empty phrase in their place: nothing is sent.
        setStatus(SyncStatus::failed(QStringLiteral(
            "связка ключей не выдала токен и фразу — синхронизации не будет, пока вы не "
            "откроете её через «Sync now»")));
    }
    const std::vector<std::function<void(bool)>> waiters = std::exchange(m_secretWaiters, {});
    if (loaded.ok)
        Q_EMIT secretsLoaded();
    for (const auto &waiter : waiters) {
        if (waiter)
            waiter(loaded.ok);
    }
}

} // namespace furrow
