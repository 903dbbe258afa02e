#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

#include <functional>

namespace furrow {

// Keeps named secrets, each under its key of the user's defaults ("sync.token"), in the
// desktop's keyring when a Secret Service runs, else in Furrow.conf (readable by its owner
// alone). Nothing is read until load(), since a locked keyring asks the user to unlock it.
class SecretStore
{
public:
    enum class Place { Keyring, File };
    struct Loaded
    {
        bool ok = false;
        // Every key's value, empty for one never stored.
        QHash<QString, QString> values;
        // Why the keyring gave nothing.
        QString error;
        // The keyring is locked and was not asked to unlock.
        bool locked = false;
    };
    using Done = std::function<void(const Loaded &)>;

    // Asks the session bus once, without starting or prompting anything, where secrets go.
    explicit SecretStore(QStringList keys);

    Place place() const { return m_place; }
    // Moves values still in the file to the keyring when it is open. Each leaves the file only
    // once the keyring has confirmed it and only if the file still holds what was moved.
    void migrate() const;
    // Reads every key: from the file at once, from the keyring asynchronously. A value still in
    // the file wins over the keyring's, being the newer one. Unless `mayAsk`, a locked keyring
    // is not asked to unlock: the answer comes at once, with `locked` set.
    void load(Done done, bool mayAsk) const;
    // Keeps `value` under `key`. A value the keyring refuses goes to the file rather than
    // being lost, and moves over at a later start.
    void store(const QString &key, const QString &value) const;

private:
    QStringList m_keys;
    Place m_place;
};

} // namespace furrow
