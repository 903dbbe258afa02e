// `furrow add --dry-run` against the table of phrases the model test reads, so that the command
// and the capture fields cannot read text differently.

#include "persistence/PlannerArchive.h"

#include <QFile>
#include <QMap>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>
#include <QUuid>

#include <gtest/gtest.h>

namespace furrow {
namespace {

struct Row
{
    int line = 0;
    QStringList cells; // today, order, text, title, project, due, rule, fromDone
};

// The rows grouped by their day and numeric date order: one command call per group.
QMap<QPair<QString, QString>, std::vector<Row>> tableByDay()
{
    QFile file(QStringLiteral(FURROW_CAPTURE_TABLE));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly | QIODevice::Text));
    QMap<QPair<QString, QString>, std::vector<Row>> groups;
    QTextStream in(&file);
    for (int line = 1; !in.atEnd(); ++line) {
        const QString text = in.readLine();
        if (text.isEmpty() || text.startsWith(u'#'))
            continue;
        const QStringList cells = text.split(u'\t');
        groups[{cells[0], cells[1]}].push_back({line, cells});
    }
    return groups;
}

QString run(const QStringList &arguments, const QString &timeLocale)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("LC_ALL"));
    environment.insert(QStringLiteral("LC_TIME"), timeLocale);
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(FURROW_EXECUTABLE), arguments);
    EXPECT_TRUE(process.waitForFinished(30000));
    EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    return QString::fromUtf8(process.readAllStandardOutput());
}

void importProjects(const QStringList &names)
{
    PlannerArchive archive;
    for (const QString &name : names)
        archive.projects.push_back({QUuid::createUuid(),
                                    name,
                                    QStringLiteral("#3B82F6"),
                                    qint64(archive.projects.size()),
                                    {},
                                    std::nullopt});
    QTemporaryDir folder;
    QFile file(folder.filePath(QStringLiteral("projects.json")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(archive.encode());
    file.close();
    run({"import", file.fileName()}, QStringLiteral("en_GB.UTF-8"));
}

// The table's columns from one printed block: title, project, due, rule, fromDone.
QStringList columnsOf(const QString &block)
{
    QStringList values;
    for (const QString &line : block.split(u'\n', Qt::SkipEmptyParts))
        values << line.section(QStringLiteral(": "), 1);
    if (values.size() != 4)
        return values;
    const bool fromDone = values[3].endsWith(u" from done");
    if (fromDone)
        values[3].chop(10);
    values[0] = values[0] == u"-" ? QString() : values[0];
    values[1] = values[1].toLower();
    values << (fromDone ? QStringLiteral("yes") : QStringLiteral("-"));
    return values;
}

TEST(CaptureDryRunTest, dryRun_printsWhatEveryRowOfThePhraseTableReads_andFilesNothing)
{
    importProjects(
        {QStringLiteral("Home"), QStringLiteral("Work"), QStringLiteral("Side project")});
    const auto groups = tableByDay();
    int checked = 0;
    for (auto group = groups.begin(); group != groups.end(); ++group) {
        QStringList texts;
        for (const Row &row : group.value())
            texts << row.cells[2];
        const QString locale = group.key().second == u"dm" ? QStringLiteral("en_GB.UTF-8")
                                                           : QStringLiteral("en_US.UTF-8");
        const QStringList blocks
            = run({"add", "--dry-run", "--today", group.key().first, texts.join(u'\n')}, locale)
                  .split(QStringLiteral("\n\n"));
        ASSERT_EQ(blocks.size(), qsizetype(group.value().size()));
        for (size_t i = 0; i < group.value().size(); ++i) {
            const Row &row = group.value()[i];
            QStringList expected = row.cells.mid(3);
            expected[1] = expected[1].toLower();
            EXPECT_EQ(columnsOf(blocks[qsizetype(i)]).join(u'|').toStdString(),
                      expected.join(u'|').toStdString())
                << "line " << row.line << ": " << row.cells[2].toStdString();
            ++checked;
        }
    }
    EXPECT_GE(checked, 200);
    EXPECT_EQ(run({"search", "Call", "--json"}, QStringLiteral("en_GB.UTF-8")).trimmed(),
              QStringLiteral("[]"));
}

} // namespace
} // namespace furrow
