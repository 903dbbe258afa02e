#include "GnomeShortcut.h"

#include "hotkey/KeyTable.h"

#include <QProcess>
#include <QRegularExpression>

#include <array>
#include <utility>

namespace furrow {

namespace {

const QString kSchema = QStringLiteral("org.gnome.settings-daemon.plugins.media-keys");
const QString kListKey = QStringLiteral("custom-keybindings");
const QString kPath = QStringLiteral(
    "/org/gnome/settings-daemon/plugins/media-keys/custom-keybindings/furrow-quick-capture/");
const QString kBindingSchema = kSchema + QStringLiteral(".custom-keybinding:") + kPath;
constexpr int kTimeoutMs = 5000;

// A string in GVariant's text form, so gsettings never reads it as anything else.
QString quoted(QString text)
{
    text.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    text.replace(QLatin1Char('\''), QStringLiteral("\\'"));
    return QLatin1Char('\'') + text + QLatin1Char('\'');
}

} // namespace

GnomeShortcut::GnomeShortcut(QString program)
    : m_program(std::move(program))
{}

bool GnomeShortcut::isGnomeSession()
{
    return qEnvironmentVariable("XDG_CURRENT_DESKTOP").contains(QStringLiteral("GNOME"));
}

QString GnomeShortcut::accelerator(const HotkeyCombo &combo)
{
    static const std::array<std::pair<quint32, const char *>, 4> kNames{{
        {HotkeyCombo::kControl, "<Control>"},
        {HotkeyCombo::kAlt, "<Alt>"},
        {HotkeyCombo::kShift, "<Shift>"},
        {HotkeyCombo::kSuper, "<Super>"},
    }};
    QString text;
    for (const auto &[mask, name] : kNames) {
        if (combo.modifiers & mask)
            text += QString::fromLatin1(name);
    }
    return text + KeyTable::keysymName(combo.keyCode);
}

bool GnomeShortcut::add(const HotkeyCombo &combo)
{
    std::optional<QStringList> paths = listedPaths();
    if (!paths)
        return false;
    // The keys first, so the listed binding is complete the moment the desktop sees it.
    const bool keysSet = run({QStringLiteral("set"), kBindingSchema, QStringLiteral("name"),
                              quoted(QStringLiteral("Furrow quick capture"))})
                         && run({QStringLiteral("set"), kBindingSchema, QStringLiteral("command"),
                                 quoted(QStringLiteral("furrow --quick-capture"))})
                         && run({QStringLiteral("set"), kBindingSchema, QStringLiteral("binding"),
                                 quoted(accelerator(combo))});
    if (!keysSet)
        return false;
    if (paths->contains(kPath))
        return true;
    paths->append(kPath);
    return setListedPaths(*paths);
}

bool GnomeShortcut::remove()
{
    std::optional<QStringList> paths = listedPaths();
    if (!paths)
        return false;
    paths->removeAll(kPath);
    bool done = setListedPaths(*paths);
    for (const char *key : {"name", "command", "binding"})
        done = run({QStringLiteral("reset"), kBindingSchema, QString::fromLatin1(key)}) && done;
    return done;
}

std::optional<QStringList> GnomeShortcut::listedPaths() const
{
    QByteArray output;
    if (!run({QStringLiteral("get"), kSchema, kListKey}, &output))
        return std::nullopt;
    // "['/a/', '/b/']", or "@as []" when empty; the paths never hold quotes.
    static const QRegularExpression kItem(QStringLiteral("'([^']*)'"));
    QStringList paths;
    for (const QRegularExpressionMatch &match : kItem.globalMatch(QString::fromUtf8(output)))
        paths.append(match.captured(1));
    return paths;
}

bool GnomeShortcut::setListedPaths(const QStringList &paths) const
{
    QStringList items;
    for (const QString &path : paths)
        items.append(quoted(path));
    return run({QStringLiteral("set"), kSchema, kListKey,
                QLatin1Char('[') + items.join(QStringLiteral(", ")) + QLatin1Char(']')});
}

bool GnomeShortcut::run(const QStringList &arguments, QByteArray *output) const
{
    QProcess process;
    process.start(m_program, arguments, QIODevice::ReadOnly);
    if (!process.waitForFinished(kTimeoutMs)) {
        process.kill();
        process.waitForFinished();
        return false;
    }
    if (output)
        *output = process.readAllStandardOutput();
    return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

} // namespace furrow
