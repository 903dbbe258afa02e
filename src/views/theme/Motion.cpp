#include "views/theme/Motion.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <QSettings>
#include <QStandardPaths>

namespace furrow::Motion {

namespace {

bool isOff(const QVariant &value)
{
    const QString text = value.toString().trimmed().toLower();
    return text == QLatin1String("false") || text == QLatin1String("0");
}

// GTK desktops without dconf and GTK applications' own setting.
bool gtkDisablesAnimations(const QString &configFolder)
{
    for (const char *version : {"gtk-4.0", "gtk-3.0"}) {
        QSettings settings(configFolder + u'/' + QLatin1String(version)
                               + QLatin1String("/settings.ini"),
                           QSettings::IniFormat);
        const QVariant value = settings.value(QStringLiteral("Settings/gtk-enable-animations"));
        if (value.isValid())
            return isOff(value);
    }
    return false;
}

// Plasma: the animation speed slider at "instant".
bool kdeDisablesAnimations(const QString &configFolder)
{
    QSettings settings(configFolder + QLatin1String("/kdeglobals"), QSettings::IniFormat);
    const QVariant factor = settings.value(QStringLiteral("KDE/AnimationDurationFactor"));
    return factor.isValid() && factor.toDouble() == 0.0;
}

// GNOME and its relatives keep the switch in dconf, which only gsettings reads.
bool gnomeDisablesAnimations()
{
    const QString desktop = qEnvironmentVariable("XDG_CURRENT_DESKTOP").toLower();
    const bool gnomeLike = desktop.contains(QLatin1String("gnome"))
                           || desktop.contains(QLatin1String("unity"))
                           || desktop.contains(QLatin1String("budgie"))
                           || desktop.contains(QLatin1String("cinnamon"));
    if (!gnomeLike || QStandardPaths::findExecutable(QStringLiteral("gsettings")).isEmpty())
        return false;
    QProcess gsettings;
    gsettings.start(QStringLiteral("gsettings"),
                    {QStringLiteral("get"), QStringLiteral("org.gnome.desktop.interface"),
                     QStringLiteral("enable-animations")});
    if (!gsettings.waitForFinished(1000))
        return false;
    return gsettings.readAllStandardOutput().trimmed() == "false";
}

bool desktopDisablesAnimations()
{
    const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return gtkDisablesAnimations(config) || kdeDisablesAnimations(config)
           || gnomeDisablesAnimations();
}

} // namespace

bool reduceMotion()
{
    if (qEnvironmentVariable("FURROW_REDUCE_MOTION") == QLatin1String("1"))
        return true;
    static const bool desktop = desktopDisablesAnimations();
    return desktop;
}

} // namespace furrow::Motion
