#include "CommandLine.h"

#include <QFileInfo>
#include <QtGlobal>

namespace furrow {

namespace {

struct Verb
{
    const char *name;
    CommandLine::Action action;
    bool takesArgument;
};

constexpr Verb kVerbs[] = {
    {"add", CommandLine::Action::Add, true},       {"export", CommandLine::Action::Export, true},
    {"import", CommandLine::Action::Import, true}, {"sync", CommandLine::Action::Sync, false},
    {"search", CommandLine::Action::Search, true}, {"done", CommandLine::Action::Done, true},
    {"reopen", CommandLine::Action::Reopen, true},
};

// A search limit: a whole number from 1 on.
bool takeLimit(const QString &text, CommandLine &command)
{
    bool ok = false;
    command.limit = text.toInt(&ok);
    return ok && command.limit > 0;
}

// Takes the options out of the arguments in one pass from the left, so that an option's value
// (the launcher's token, which anyone may set) is never read as an option itself; the other
// arguments go to `rest` in their order.
bool takeOptions(const QStringList &arguments, CommandLine &command, QStringList &rest,
                 QString *error)
{
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments[i];
        if (argument == QLatin1String("--seed-demo")) {
            command.seedDemo = true;
        } else if (argument == QLatin1String("--dry-run")) {
            command.dryRun = true;
        } else if (argument == QLatin1String("--activation-token")) {
            if (++i == arguments.size()) {
                *error = QStringLiteral("--activation-token needs an argument");
                return false;
            }
            command.activationToken = arguments[i];
        } else if (argument == QLatin1String("--today")) {
            if (++i == arguments.size()
                || !(command.today = QDate::fromString(arguments[i], Qt::ISODate)).isValid()) {
                *error = QStringLiteral("--today needs a day as YYYY-MM-DD");
                return false;
            }
        } else if (argument == QLatin1String("--json")) {
            command.json = true;
        } else if (argument == QLatin1String("--limit")) {
            if (++i == arguments.size() || !takeLimit(arguments[i], command)) {
                *error = QStringLiteral("--limit needs a whole number from 1 on");
                return false;
            }
            command.limitGiven = true;
        } else if (argument == QLatin1String("--trust")) {
            if (++i == arguments.size()) {
                *error = QStringLiteral("--trust goes only with sync and needs a fingerprint");
                return false;
            }
            command.trust = arguments[i];
        } else {
            rest.append(argument);
        }
    }
    return true;
}

} // namespace

std::optional<CommandLine> CommandLine::parse(const QStringList &arguments, QString *error)
{
    CommandLine command;
    QStringList rest;
    if (!takeOptions(arguments, command, rest, error))
        return std::nullopt;
    if (rest.isEmpty())
        return command;

    const QString first = rest.takeFirst();
    if (first == QLatin1String("--help") || first == QLatin1String("-h")) {
        command.action = Action::Help;
    } else if (first == QLatin1String("--version")) {
        command.action = Action::Version;
    } else if (first == QLatin1String("--quick-capture")) {
        command.action = Action::QuickCapture;
    } else if (first == QLatin1String("--background")) {
        command.action = Action::Background;
    } else {
        const auto verb = std::find_if(std::begin(kVerbs), std::end(kVerbs), [&](const Verb &v) {
            return first == QLatin1String(v.name);
        });
        if (verb == std::end(kVerbs)) {
            *error = QStringLiteral("unknown command or option: %1").arg(first);
            return std::nullopt;
        }
        command.action = verb->action;
        if (verb->takesArgument) {
            if (rest.isEmpty()) {
                *error = QStringLiteral("%1 needs an argument").arg(first);
                return std::nullopt;
            }
            // A query may come as several words.
            command.argument
                = command.action == Action::Search ? rest.join(u' ') : rest.takeFirst();
            if (command.action == Action::Search)
                rest.clear();
        }
    }
    if (!rest.isEmpty()) {
        *error = QStringLiteral("unexpected argument: %1").arg(rest.first());
        return std::nullopt;
    }
    if (command.seedDemo && command.action != Action::Start) {
        *error = QStringLiteral("--seed-demo cannot be combined with %1").arg(first);
        return std::nullopt;
    }
    if (!command.trust.isEmpty() && command.action != Action::Sync) {
        *error = QStringLiteral("--trust goes only with sync and needs a fingerprint");
        return std::nullopt;
    }
    if (command.dryRun && command.action != Action::Import && command.action != Action::Add) {
        *error = QStringLiteral("--dry-run goes only with add or import");
        return std::nullopt;
    }
    if (command.today.isValid() && (command.action != Action::Add || !command.dryRun)) {
        *error = QStringLiteral("--today goes only with add --dry-run");
        return std::nullopt;
    }
    if ((command.json || command.limitGiven) && command.action != Action::Search) {
        *error = QStringLiteral("--json and --limit go only with search");
        return std::nullopt;
    }
    if (!command.activationToken.isEmpty() && command.action != Action::Start
        && command.action != Action::QuickCapture) {
        *error = QStringLiteral("--activation-token cannot be combined with %1").arg(first);
        return std::nullopt;
    }
    return command;
}

QString CommandLine::usage()
{
    return QStringLiteral(
        "Usage: furrow [--seed-demo]\n"
        "       furrow --background | --quick-capture\n"
        "       furrow add TEXT [--dry-run [--today DAY]] | export FILE | import FILE [--dry-run]\n"
        "       furrow sync [--trust SHA256]\n"
        "       furrow search QUERY [--json] [--limit N] | done ID | reopen ID\n"
        "       furrow --help | --version\n"
        "\n"
        "Without a command, starts the planner (or brings the running one forward).\n"
        "\n"
        "  --seed-demo   fill a store holding fewer than 3 tasks with demo data\n"
        "  --background  start the planner without its window (as the session starts it);\n"
        "                does nothing when a planner already runs\n"
        "  --quick-capture\n"
        "                show or hide the capture panel of the running planner (starting\n"
        "                it without its window if none runs); bind this command to a key\n"
        "                in the desktop's keyboard settings\n"
        "  add TEXT      file TEXT (each line of it) as a task in the first section of\n"
        "                the first page; \"#project\" or #\"a name\" names its project,\n"
        "                and a due day (\"tomorrow\", \"fri\", \"24 dec\") or a repeat\n"
        "                (\"every mon\") is read out of the title\n"
        "  export FILE   write the whole planner to FILE as a JSON backup document\n"
        "  import FILE   merge a backup document into the planner (adds and updates,\n"
        "                never deletes)\n"
        "  --dry-run     with import: print how many records it would add and update\n"
        "                (tasks, projects and days together), and change nothing;\n"
        "                with add: print the title, project, due day and repeat rule\n"
        "                it would file (for each line of TEXT), and file nothing\n"
        "  --today DAY   with add --dry-run: read dates as on DAY (YYYY-MM-DD)\n"
        "  sync          run one sync cycle with the saved settings and print its\n"
        "                outcome; exits 0 only when it completed with nothing unreadable\n"
        "  --trust SHA256\n"
        "                with sync: accept the server's self-signed certificate with this\n"
        "                SHA-256 fingerprint (as furrow-sync-server prints it) from now on\n"
        "  search QUERY  print the tasks, archived tasks, pages and goals whose words start\n"
        "                with every word of QUERY, best first, one per line (title, place,\n"
        "                project, due); \"#project\" in QUERY keeps to that project\n"
        "  --json        with search: print a JSON array, with each task's id\n"
        "  --limit N     with search: print at most N results (20 unless given)\n"
        "  done ID       close the task with that id (as search --json prints it)\n"
        "  reopen ID     reopen that task, or put it back from the archive\n"
        "\n"
        "Commands go through the running planner when there is one.\n");
}

bool CommandLine::isHeadless() const
{
    return action == Action::Add || action == Action::Export || action == Action::Import
           || action == Action::Sync || action == Action::Search || action == Action::Done
           || action == Action::Reopen;
}

QStringList CommandLine::toArguments() const
{
    QStringList arguments;
    if (!activationToken.isEmpty())
        arguments = {QStringLiteral("--activation-token"), activationToken};
    switch (action) {
    case Action::Start:
        return seedDemo ? arguments << QStringLiteral("--seed-demo") : arguments;
    case Action::Background:
        return {QStringLiteral("--background")};
    case Action::QuickCapture:
        return arguments << QStringLiteral("--quick-capture");
    case Action::Add:
        arguments = {QStringLiteral("add"), argument};
        if (dryRun)
            arguments << QStringLiteral("--dry-run");
        if (today.isValid())
            arguments << QStringLiteral("--today") << today.toString(Qt::ISODate);
        return arguments;
    case Action::Export:
        return {QStringLiteral("export"), QFileInfo(argument).absoluteFilePath()};
    case Action::Import:
        arguments = {QStringLiteral("import"), QFileInfo(argument).absoluteFilePath()};
        return dryRun ? arguments << QStringLiteral("--dry-run") : arguments;
    case Action::Sync:
        if (!trust.isEmpty())
            return {QStringLiteral("sync"), QStringLiteral("--trust"), trust};
        return {QStringLiteral("sync")};
    case Action::Search:
        arguments = {QStringLiteral("search"), argument, QStringLiteral("--limit"),
                     QString::number(limit)};
        return json ? arguments << QStringLiteral("--json") : arguments;
    case Action::Done:
        return {QStringLiteral("done"), argument};
    case Action::Reopen:
        return {QStringLiteral("reopen"), argument};
    case Action::Help:
        return {QStringLiteral("--help")};
    case Action::Version:
        return {QStringLiteral("--version")};
    }
    return {};
}

QString CommandLine::takeActivationToken()
{
    QString token;
    for (const char *name : {"XDG_ACTIVATION_TOKEN", "DESKTOP_STARTUP_ID"}) {
        if (token.isEmpty())
            token = qEnvironmentVariable(name);
        qunsetenv(name);
    }
    return token;
}

} // namespace furrow
