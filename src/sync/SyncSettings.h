#pragma once

#include <QSettings>
#include <QString>

#include <memory>

namespace furrow {

// The sync keys of the user's defaults. Values are stored exactly as given; trimming happens
// only where they are used.
class SyncSettings
{
public:
    SyncSettings();

    QString address() const;
    void setAddress(const QString &address);
    QString token() const;
    void setToken(const QString &token);
    QString phrase() const;
    void setPhrase(const QString &phrase);
    bool isOn() const;
    void setOn(bool on);

    // This installation's identifier, created and stored on first use.
    QString device();
    // The server cursor and the local change mark (seconds since 1970) of the last completed
    // cycle; both are written together.
    qint64 cursor() const;
    double mark() const;
    void setProgress(qint64 cursor, double mark);

private:
    void write(const QString &key, const QVariant &value);

    std::unique_ptr<QSettings> m_defaults;
};

} // namespace furrow
