#include "TestHome.h"

#include <QDir>
#include <QFile>

#include <ctime>

namespace furrow::test {

TestHome::TestHome()
{
    const QString home = m_folder.path();
    QDir(home).mkpath(QStringLiteral("runtime"));
    QFile::setPermissions(home + QStringLiteral("/runtime"),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    qputenv("HOME", home.toUtf8());
    qputenv("XDG_DATA_HOME", (home + QStringLiteral("/data")).toUtf8());
    qputenv("XDG_CONFIG_HOME", (home + QStringLiteral("/config")).toUtf8());
    qputenv("XDG_RUNTIME_DIR", (home + QStringLiteral("/runtime")).toUtf8());
    qputenv("TZ", "Europe/Berlin");
    tzset();
}

} // namespace furrow::test
