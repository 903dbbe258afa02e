#pragma once

#include <QStringList>

#include <optional>

namespace furrow {

// What the `furrow` command line asks for: start the planner, or one headless command that
// works on the store (through the running planner when there is one).
struct CommandLine
{
    enum class Action { Start, Add, Export, Import, Sync, Help, Version };

    Action action = Action::Start;
    QString argument; // the text to add, or the file to export to or import from
    bool seedDemo = false;

    // Parses the arguments that follow the program name; none, with a message, when they make
    // no sense.
    static std::optional<CommandLine> parse(const QStringList &arguments, QString *error);
    static QString usage();

    bool isHeadless() const;
    // The arguments that hand this command to another process: files become absolute paths,
    // because the other process has its own working folder.
    QStringList toArguments() const;
};

} // namespace furrow
