#pragma once

#include <QDate>
#include <QStringList>

#include <optional>

namespace furrow {

// What the `furrow` command line asks for: start the planner, or one headless command that
// works on the store (through the running planner when there is one).
struct CommandLine
{
    enum class Action {
        Start,
        Background,
        QuickCapture,
        Add,
        Export,
        Import,
        Sync,
        Search,
        Done,
        Reopen,
        Help,
        Version
    };
    static constexpr int kDefaultSearchLimit = 20;

    Action action = Action::Start;
    // The text to add, the file to export to or import from, the query to search for or the id
    // of the task to close or reopen.
    QString argument;
    bool seedDemo = false;
    bool dryRun = false; // import, add: only tell what the command would change or file
    // add --dry-run: read relative dates as on this day instead of today.
    QDate today;
    bool json = false;               // search: print a JSON array
    int limit = kDefaultSearchLimit; // search: at most this many results
    bool limitGiven = false;
    // sync: the SHA-256 fingerprint of a server certificate to trust before the cycle.
    QString trust;
    // The launcher's token that lets the window this command opens take the keyboard focus;
    // carried to the running planner with the command.
    QString activationToken;

    // Parses the arguments that follow the program name; none, with a message, when they make
    // no sense.
    static std::optional<CommandLine> parse(const QStringList &arguments, QString *error);
    static QString usage();
    // The activation token a desktop launcher gave this process: XDG_ACTIVATION_TOKEN on
    // Wayland, DESKTOP_STARTUP_ID on X11. Both are taken out of the environment, so that no
    // window of this process spends the token by accident.
    static QString takeActivationToken();

    bool isHeadless() const;
    // The arguments that hand this command to another process: files become absolute paths,
    // because the other process has its own working folder.
    QStringList toArguments() const;
};

} // namespace furrow
