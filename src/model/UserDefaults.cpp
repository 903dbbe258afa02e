#include "UserDefaults.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace furrow::UserDefaults {

QString filePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
           + QStringLiteral("/Furrow/Furrow.conf");
}

std::unique_ptr<QSettings> open()
{
    const QString path = filePath();
    QDir().mkpath(QFileInfo(path).path());
    // QSettings keeps the permissions of an existing file when it rewrites it, so the file is
    // created private before anything is written into it.
    QFile file(path);
    if (!file.exists() && file.open(QIODevice::WriteOnly))
        file.close();
    file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    return std::make_unique<QSettings>(path, QSettings::IniFormat);
}

} // namespace furrow::UserDefaults
