#include "shell/CommandLine.h"
#include "shell/StoreLauncher.h"

#include <QCoreApplication>

using namespace furrow;

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Furrow"));
    QCoreApplication::setApplicationVersion(QStringLiteral(FURROW_VERSION));

    QString error;
    const auto command = CommandLine::parse(QCoreApplication::arguments().mid(1), &error);
    if (!command) {
        printError(QStringLiteral("furrow: ") + error + QStringLiteral("\n\n")
                   + CommandLine::usage());
        return 2;
    }
    switch (command->action) {
    case CommandLine::Action::Help:
        printOut(CommandLine::usage());
        return 0;
    case CommandLine::Action::Version:
        printOut(QStringLiteral("furrow %1\n").arg(QStringLiteral(FURROW_VERSION)));
        return 0;
    case CommandLine::Action::Start:
        if (!command->seedDemo) {
            printError(CommandLine::usage());
            return 2;
        }
        return StoreLauncher::runHeadless(*command);
    default:
        return StoreLauncher::runHeadless(*command);
    }
}
