#include "shell/CommandLine.h"

#include <QDir>

#include <gtest/gtest.h>

namespace furrow {
namespace {

using Action = CommandLine::Action;

std::optional<CommandLine> parse(const QStringList &arguments, QString *error = nullptr)
{
    QString ignored;
    return CommandLine::parse(arguments, error ? error : &ignored);
}

TEST(CommandLineTest, readsEveryCommand)
{
    EXPECT_EQ(parse({})->action, Action::Start);
    EXPECT_TRUE(parse({"--seed-demo"})->seedDemo);
    EXPECT_EQ(parse({"--help"})->action, Action::Help);
    EXPECT_EQ(parse({"--version"})->action, Action::Version);
    EXPECT_EQ(parse({"sync"})->action, Action::Sync);
    const auto add = parse({"add", "Milk #home"});
    EXPECT_EQ(add->action, Action::Add);
    EXPECT_EQ(add->argument, QStringLiteral("Milk #home"));
    EXPECT_TRUE(add->isHeadless());
    EXPECT_FALSE(parse({})->isHeadless());
}

TEST(CommandLineTest, refusesWhatMakesNoSense)
{
    QString error;
    EXPECT_FALSE(parse({"frobnicate"}, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("frobnicate")));
    EXPECT_FALSE(parse({"export"}, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("needs an argument")));
    EXPECT_FALSE(parse({"add", "a", "b"}, &error));
    EXPECT_FALSE(parse({"sync", "now"}, &error));
    EXPECT_FALSE(parse({"add", "x", "--seed-demo"}, &error));
}

TEST(CommandLineTest, forwardedFilesBecomeAbsolute)
{
    const auto command = parse({"export", "out/planner.json"});
    EXPECT_EQ(command->toArguments(),
              (QStringList{"export", QDir::current().absoluteFilePath("out/planner.json")}));
    EXPECT_EQ(parse({"add", "rel/ative"})->toArguments(), (QStringList{"add", "rel/ative"}));
    EXPECT_EQ(parse({"--seed-demo"})->toArguments(), (QStringList{"--seed-demo"}));
}

} // namespace
} // namespace furrow
