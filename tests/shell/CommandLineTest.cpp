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
    EXPECT_FALSE(parse({"--activation-token"}, &error));
    EXPECT_FALSE(parse({"sync", "--activation-token", "t"}, &error));
    EXPECT_FALSE(parse({"export", "f.json", "--dry-run"}, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("--dry-run")));
    EXPECT_FALSE(parse({"sync", "--trust"}, &error));
    EXPECT_FALSE(parse({"add", "x", "--trust", "ab"}, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("--trust")));
}

TEST(CommandLineTest, syncTrust_isHandedOnWithItsFingerprint)
{
    const auto trust = parse({"sync", "--trust", "AB:CD"});
    ASSERT_TRUE(trust);
    EXPECT_EQ(trust->action, Action::Sync);
    EXPECT_EQ(trust->trust, QStringLiteral("AB:CD"));
    EXPECT_EQ(parse(trust->toArguments())->trust, QStringLiteral("AB:CD"));
}

TEST(CommandLineTest, importDryRunAndFiles_areHandedOnWithAbsolutePaths)
{
    EXPECT_FALSE(parse({"import", "in.json"})->dryRun);
    const auto dryRun = parse({"import", "in.json", "--dry-run"});
    EXPECT_EQ(dryRun->action, Action::Import);
    EXPECT_TRUE(dryRun->dryRun);
    EXPECT_EQ(dryRun->argument, QStringLiteral("in.json"));
    EXPECT_TRUE(parse({"import", "--dry-run", "in.json"})->dryRun);
    const QString absolute = QDir::current().absoluteFilePath("in.json");
    EXPECT_EQ(dryRun->toArguments(), (QStringList{"import", absolute, "--dry-run"}));
    const auto handedOn = parse(dryRun->toArguments());
    EXPECT_TRUE(handedOn->dryRun);
    EXPECT_EQ(handedOn->argument, absolute);
    EXPECT_EQ(parse({"import", "in.json"})->toArguments(), (QStringList{"import", absolute}));
    EXPECT_EQ(parse({"add", "rel/ative"})->toArguments(), (QStringList{"add", "rel/ative"}));
    const auto preview = parse({"add", "Call fri", "--dry-run", "--today", "2026-12-07"});
    ASSERT_TRUE(preview);
    EXPECT_EQ(parse(preview->toArguments())->today, QDate(2026, 12, 7));
    EXPECT_TRUE(parse(preview->toArguments())->dryRun);
    QString error;
    EXPECT_FALSE(parse({"add", "x", "--today", "2026-12-07"}, &error));
    EXPECT_FALSE(parse({"add", "x", "--dry-run", "--today", "7 Dec"}, &error));
    EXPECT_FALSE(parse({"export", "f.json", "--dry-run"}, &error));
    EXPECT_TRUE(CommandLine::usage().contains(QStringLiteral("import FILE [--dry-run]")));
}

TEST(CommandLineTest, activationToken_travelsWithTheCommandAndLeavesTheEnvironment)
{
    const auto capture = parse({"--activation-token", "tok_TIME42", "--quick-capture"});
    EXPECT_EQ(capture->action, Action::QuickCapture);
    EXPECT_EQ(capture->activationToken, QStringLiteral("tok_TIME42"));
    EXPECT_EQ(capture->toArguments(),
              (QStringList{"--activation-token", "tok_TIME42", "--quick-capture"}));
    EXPECT_EQ(parse(capture->toArguments())->activationToken, QStringLiteral("tok_TIME42"));

    // The token is whatever the environment held; an option's name in it stays the token.
    for (const QString token : {"--seed-demo", "--quick-capture", "--activation-token"}) {
        CommandLine launch = *parse({"--quick-capture"});
        launch.activationToken = token;
        const auto handedOn = parse(launch.toArguments());
        ASSERT_TRUE(handedOn) << token.toStdString();
        EXPECT_EQ(handedOn->action, Action::QuickCapture);
        EXPECT_EQ(handedOn->activationToken, token);
        EXPECT_FALSE(handedOn->seedDemo);
    }

    qputenv("DESKTOP_STARTUP_ID", "x11-token");
    qputenv("XDG_ACTIVATION_TOKEN", "wayland-token");
    EXPECT_EQ(CommandLine::takeActivationToken(), QStringLiteral("wayland-token"));
    EXPECT_FALSE(qEnvironmentVariableIsSet("DESKTOP_STARTUP_ID"));
    EXPECT_FALSE(qEnvironmentVariableIsSet("XDG_ACTIVATION_TOKEN"));
    EXPECT_TRUE(CommandLine::takeActivationToken().isEmpty());
}

TEST(CommandLineTest, search_takesItsWordsAndOptions_andIsHandedOnWithThem)
{
    const auto search = parse({"search", "bank", "call", "--json", "--limit", "5"});
    ASSERT_TRUE(search);
    EXPECT_EQ(search->action, Action::Search);
    EXPECT_EQ(search->argument, QStringLiteral("bank call"));
    EXPECT_TRUE(search->json);
    EXPECT_EQ(search->limit, 5);
    const auto handedOn = parse(search->toArguments());
    ASSERT_TRUE(handedOn);
    EXPECT_EQ(handedOn->argument, QStringLiteral("bank call"));
    EXPECT_TRUE(handedOn->json);
    EXPECT_EQ(handedOn->limit, 5);
    EXPECT_EQ(parse({"search", "x"})->limit, CommandLine::kDefaultSearchLimit);
    EXPECT_EQ(parse({"done", "ID"})->toArguments(), (QStringList{"done", "ID"}));
    EXPECT_EQ(parse({"reopen", "ID"})->action, Action::Reopen);
}

TEST(CommandLineTest, searchOptions_areRefusedWhereTheyMakeNoSense)
{
    QString error;
    for (const char *limit : {"0", "-3", "many", "2.5"}) {
        EXPECT_FALSE(parse({"search", "x", "--limit", limit}, &error)) << limit;
        EXPECT_TRUE(error.contains(QStringLiteral("--limit")));
    }
    EXPECT_FALSE(parse({"search", "x", "--limit"}, &error));
    EXPECT_FALSE(parse({"search"}, &error));
    EXPECT_FALSE(parse({"add", "x", "--json"}, &error));
    EXPECT_FALSE(parse({"done", "a", "b"}, &error));
    EXPECT_FALSE(parse({"reopen"}, &error));
}

} // namespace
} // namespace furrow
