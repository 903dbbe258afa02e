#include "views/settings/SessionAutostart.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSettings>
#include <QStandardPaths>

namespace furrow {

namespace {

constexpr char kEntry[] = "[Desktop Entry]\n"
                          "Type=Application\n"
                          "Name=Furrow\n"
                          "Comment=Quick capture and reminders from the start of the session\n"
                          "Exec=furrow --background\n"
                          "Icon=furrow\n"
                          "Terminal=false\n"
                          "NoDisplay=true\n"
                          "X-GNOME-Autostart-enabled=true\n";

// A desktop entry's boolean is the literal "true" or "false".
bool isTrue(const QSettings &entry, const QString &key, bool otherwise)
{
    const QString value = entry.value(key).toString();
    return value.isEmpty() ? otherwise : value == QLatin1String("true");
}

} // namespace

QString SessionAutostart::entryPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
           + QStringLiteral("/autostart/furrow.desktop");
}

bool SessionAutostart::isEnabled()
{
    const QString path = entryPath();
    if (!QFileInfo(path).isFile())
        return false;
    QSettings entry(path, QSettings::IniFormat);
    entry.beginGroup(QStringLiteral("Desktop Entry"));
    return !isTrue(entry, QStringLiteral("Hidden"), false)
           && isTrue(entry, QStringLiteral("X-GNOME-Autostart-enabled"), true);
}

bool SessionAutostart::setEnabled(bool enabled)
{
    const QString path = entryPath();
    if (!enabled)
        return !QFileInfo::exists(path) || QFile::remove(path);
    if (!QDir().mkpath(QFileInfo(path).path()))
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(kEntry);
    return file.commit();
}

} // namespace furrow
