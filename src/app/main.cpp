#include "shell/CommandLine.h"
#include "shell/PlannerApplication.h"
#include "shell/StoreLauncher.h"

#include "views/theme/FontLoader.h"
#include "views/theme/Theme.h"

#include <QApplication>

using namespace furrow;

namespace {

QStringList argumentsOf(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    return arguments;
}

void describeApplication()
{
    QCoreApplication::setApplicationName(QStringLiteral("Furrow"));
    QCoreApplication::setApplicationVersion(QStringLiteral(FURROW_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral(FURROW_APP_ID));
}

} // namespace

int main(int argc, char *argv[])
{
    QString error;
    auto command = CommandLine::parse(argumentsOf(argc, argv), &error);
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
    case CommandLine::Action::Background:
    case CommandLine::Action::QuickCapture: {
        if (command->activationToken.isEmpty())
            command->activationToken = CommandLine::takeActivationToken();
        QApplication app(argc, argv);
        describeApplication();
        FontLoader::registerBundledFonts();
        const QPalette desktopPalette = QApplication::palette();
        Theme::applyToApplication();
        return PlannerApplication::run(*command, desktopPalette);
    }
    default: {
        QCoreApplication app(argc, argv);
        describeApplication();
        return StoreLauncher::runHeadless(*command);
    }
    }
}
