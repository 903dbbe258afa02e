#include "SyncSettings.h"

#include "model/Record.h"
#include "model/UserDefaults.h"

#include <cmath>

namespace furrow {

namespace {
const QString kAddress = QStringLiteral("sync.address");
const QString kToken = QStringLiteral("sync.token");
const QString kPhrase = QStringLiteral("sync.phrase");
const QString kOn = QStringLiteral("sync.on");
const QString kDevice = QStringLiteral("sync.device");
const QString kCursor = QStringLiteral("sync.cursor");
const QString kMark = QStringLiteral("sync.mark");
const QString kBasis = QStringLiteral("sync.basis");
const QString kLastSynced = QStringLiteral("sync.lastSynced");
const QString kTrustedCertificate = QStringLiteral("sync.trustedCertificate");
} // namespace

SyncSettings::SyncSettings()
    : m_defaults(UserDefaults::open())
{}

QString SyncSettings::address() const
{
    return m_defaults->value(kAddress).toString();
}

void SyncSettings::setAddress(const QString &address)
{
    write(kAddress, address);
}

QString SyncSettings::tokenKey()
{
    return kToken;
}

QString SyncSettings::phraseKey()
{
    return kPhrase;
}

bool SyncSettings::isOn() const
{
    return m_defaults->value(kOn, false).toBool();
}

void SyncSettings::setOn(bool on)
{
    write(kOn, on);
}

QString SyncSettings::device()
{
    QString device = m_defaults->value(kDevice).toString();
    // An empty value would make every installation look alike to the server.
    if (device.isEmpty()) {
        device = idText(QUuid::createUuid());
        write(kDevice, device);
    }
    return device;
}

qint64 SyncSettings::cursor() const
{
    return m_defaults->value(kCursor, 0).toLongLong();
}

double SyncSettings::mark() const
{
    const double mark = m_defaults->value(kMark, 0.0).toDouble();
    // A mark that is no number would compare false with every time and push nothing ever again.
    return std::isfinite(mark) ? mark : 0.0;
}

void SyncSettings::setProgress(qint64 cursor, double mark)
{
    m_defaults->setValue(kCursor, cursor);
    write(kMark, mark);
}

QString SyncSettings::basis() const
{
    return m_defaults->value(kBasis).toString();
}

void SyncSettings::setBasis(const QString &basis)
{
    write(kBasis, basis);
}

std::optional<qint64> SyncSettings::lastSynced() const
{
    bool ok = false;
    const qint64 milliseconds = m_defaults->value(kLastSynced).toLongLong(&ok);
    if (!ok)
        return std::nullopt;
    return milliseconds;
}

void SyncSettings::setLastSynced(qint64 milliseconds)
{
    write(kLastSynced, milliseconds);
}

QString SyncSettings::trustedCertificate() const
{
    return m_defaults->value(kTrustedCertificate).toString();
}

void SyncSettings::setTrustedCertificate(const QString &fingerprint)
{
    write(kTrustedCertificate, fingerprint);
}

void SyncSettings::write(const QString &key, const QVariant &value)
{
    m_defaults->setValue(key, value);
    // Written through at once: the token, the phrase and the cursor must survive a crash.
    m_defaults->sync();
}

} // namespace furrow
