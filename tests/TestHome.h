#pragma once

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <ctime>

namespace furrow::test {

// Gives a test program a home of its own — data, settings and runtime folders in a temporary
// folder — so that no test, however it is started, touches the real home folder; and the time
// zone the tests are written for. Create it first thing in main().
class TestHome
{
public:
    TestHome()
    {
        const QString home = m_folder.path();
        QDir(home).mkpath(QStringLiteral("runtime"));
        QFile::setPermissions(home + QStringLiteral("/runtime"), QFileDevice::ReadOwner
                                                                     | QFileDevice::WriteOwner
                                                                     | QFileDevice::ExeOwner);
        qputenv("HOME", home.toUtf8());
        qputenv("XDG_DATA_HOME", (home + QStringLiteral("/data")).toUtf8());
        qputenv("XDG_CONFIG_HOME", (home + QStringLiteral("/config")).toUtf8());
        qputenv("XDG_RUNTIME_DIR", (home + QStringLiteral("/runtime")).toUtf8());
        qputenv("TZ", "Europe/Berlin");
        tzset();
    }

private:
    QTemporaryDir m_folder;
};

} // namespace furrow::test
