// PlannerStore: projects, their colours and the matching of project tokens.

#include "PlannerStore.h"

#include "Clock.h"
#include "InlineSyntax.h"
#include "LiveRecords.h"
#include "TextUnits.h"

namespace furrow {

namespace {

bool isHexDigit(QChar c)
{
    return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}

} // namespace

Project *PlannerStore::createProject(const QString &name)
{
    if (Project *existing = matchProject(name))
        return existing;
    const auto existing = projects();
    Project *project = m_context.insert(std::make_shared<Project>(
        name, Project::paletteHex(qsizetype(existing.size())), orderAfter(existing)));
    save();
    return project;
}

void PlannerStore::rename(Project &project, const QString &name)
{
    const QString trimmed = name.trimmed();
    if (trimmed.isEmpty() || trimmed == project.name())
        return;
    project.setName(trimmed);
    project.setUpdatedAt(Clock::now());
    save();
}

void PlannerStore::setColor(const QString &hex, Project &project)
{
    if (hex == project.colorHex())
        return;
    project.setColorHex(hex);
    project.setUpdatedAt(Clock::now());
    save();
}

void PlannerStore::deleteProject(Project &project)
{
    const Instant now = Clock::now();
    for (TaskItem *task : allTasks()) {
        if (task->project() && task->project()->id() == project.id()) {
            task->setProject(nullptr);
            task->setUpdatedAt(now);
        }
    }
    project.setDeletedAt(now);
    project.setUpdatedAt(now);
    save();
}

void PlannerStore::normalizeProjectColors()
{
    bool changed = false;
    const auto list = projects();
    for (qsizetype i = 0; i < qsizetype(list.size()); ++i) {
        Project *project = list[std::size_t(i)];
        if (!isHexColor(project->colorHex())) {
            project->setColorHex(Project::paletteHex(i));
            project->setUpdatedAt(Clock::now());
            changed = true;
        }
    }
    if (changed)
        save();
}

bool PlannerStore::isHexColor(const QString &text)
{
    QString digits = text.trimmed();
    if (digits.startsWith(u'#'))
        digits.remove(0, 1);
    if (digits.size() != 6)
        return false;
    // The rules of an unsigned base-16 conversion: an optional sign, then hex digits; a minus
    // sign only when the value is zero.
    const QChar sign = digits.front();
    const bool hasSign = sign == u'+' || sign == u'-';
    const QStringView number = QStringView(digits).mid(hasSign ? 1 : 0);
    bool allZero = true;
    for (const QChar c : number) {
        if (!isHexDigit(c))
            return false;
        allZero = allZero && c == u'0';
    }
    return sign != u'-' || allZero;
}

Project *PlannerStore::matchProject(const QString &token) const
{
    const QString key = InlineSyntax::normalizedKey(token);
    if (key.isEmpty())
        return nullptr;
    const auto candidates = projects();
    for (Project *project : candidates) {
        if (TextUnits::canonicallyEqual(InlineSyntax::normalizedKey(project->name()), key))
            return project;
    }
    Project *onlyPrefixMatch = nullptr;
    for (Project *project : candidates) {
        if (!TextUnits::hasCanonicalPrefix(InlineSyntax::normalizedKey(project->name()), key))
            continue;
        if (onlyPrefixMatch)
            return nullptr; // ambiguous
        onlyPrefixMatch = project;
    }
    return onlyPrefixMatch;
}

} // namespace furrow
