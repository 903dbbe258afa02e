#include "SecretStore.h"

#include "Keyring.h"
#include "SecretService.h"
#include "model/Log.h"
#include "model/UserDefaults.h"

namespace furrow {

namespace {

void writeToFile(const QString &key, const QString &value)
{
    const auto defaults = UserDefaults::open();
    defaults->setValue(key, value);
    // Written through at once: the secret must survive a crash.
    defaults->sync();
}

// Drops the file's copy of `key`, but only while it still holds `value`: a newer value that
// the keyring refused meanwhile stays.
void dropFromFile(const QString &key, const QString &value)
{
    const auto defaults = UserDefaults::open();
    if (!defaults->contains(key) || defaults->value(key).toString() != value)
        return;
    defaults->remove(key);
    defaults->sync();
}

void loadFrom(const QStringList &keys, qsizetype index, bool fromKeyring, bool mayAsk,
              SecretStore::Loaded loaded, const SecretStore::Done &done)
{
    for (; index < keys.size(); ++index) {
        const QString &key = keys[index];
        const auto defaults = UserDefaults::open();
        if (fromKeyring && !defaults->contains(key))
            break;
        loaded.values.insert(key, defaults->value(key).toString());
    }
    if (index == keys.size()) {
        loaded.ok = true;
        return done(loaded);
    }
    if (!mayAsk && SecretService::isLocked())
        return done({false, {}, QStringLiteral("связка заперта"), true});
    const QString key = keys[index];
    Keyring::read(key, [=](const Keyring::Answer &answer) mutable {
        if (!answer.ok)
            return done({false, {}, answer.error});
        loaded.values.insert(key, answer.value);
        loadFrom(keys, index + 1, true, mayAsk, std::move(loaded), done);
    });
}

} // namespace

SecretStore::SecretStore(QStringList keys)
    : m_keys(std::move(keys))
    , m_place(SecretService::isRunning() ? Place::Keyring : Place::File)
{}

void SecretStore::migrate() const
{
    if (m_place != Place::Keyring)
        return;
    const auto defaults = UserDefaults::open();
    QStringList present;
    for (const QString &key : m_keys) {
        if (defaults->contains(key))
            present.append(key);
    }
    // A locked keyring would ask the user now; the values wait in the file for a later start.
    if (present.isEmpty() || SecretService::isLocked())
        return;
    for (const QString &key : present) {
        const QString value = defaults->value(key).toString();
        Keyring::write(key, value, [key, value](const Keyring::Answer &answer) {
            if (answer.ok)
                dropFromFile(key, value);
            else
                logLine(QStringLiteral("секрет %1 остаётся в Furrow.conf: связка ключей его не "
                                       "приняла — %2")
                            .arg(key, answer.error));
        });
    }
}

void SecretStore::load(Done done, bool mayAsk) const
{
    loadFrom(m_keys, 0, m_place == Place::Keyring, mayAsk, {}, done);
}

void SecretStore::store(const QString &key, const QString &value) const
{
    if (m_place == Place::File)
        return writeToFile(key, value);
    Keyring::write(key, value, [key, value](const Keyring::Answer &answer) {
        if (answer.ok) {
            // An older copy the keyring once refused is stale now.
            const auto defaults = UserDefaults::open();
            defaults->remove(key);
            defaults->sync();
            return;
        }
        logLine(QStringLiteral("связка ключей не приняла %1 — он сохранён в Furrow.conf: %2")
                    .arg(key, answer.error));
        writeToFile(key, value);
    });
}

} // namespace furrow
