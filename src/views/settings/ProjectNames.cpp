#include "views/settings/ProjectNames.h"

#include "model/InlineSyntax.h"
#include "model/PlannerStore.h"
#include "model/TextUnits.h"

namespace furrow::ProjectNames {

namespace {

const Project *sameKey(const PlannerStore &store, const QString &name, const Project *except)
{
    const QString key = InlineSyntax::normalizedKey(name);
    for (const Project *project : store.projects()) {
        if (project != except
            && TextUnits::canonicallyEqual(InlineSyntax::normalizedKey(project->name()), key))
            return project;
    }
    return nullptr;
}

QString alreadyNamed(const Project &project)
{
    return QStringLiteral("There is already a project named “%1”.").arg(project.name());
}

} // namespace

QString refusalToCreate(const PlannerStore &store, const QString &name)
{
    if (const Project *twin = sameKey(store, name, nullptr))
        return alreadyNamed(*twin);
    // The store hands back the one project whose name begins with it instead of making one.
    if (const Project *match = store.matchProject(name))
        return QStringLiteral("“%1” already leads to “%2”. Pick another name.")
            .arg(name, match->name());
    return {};
}

QString refusalToRename(const PlannerStore &store, const Project &project, const QString &name)
{
    const Project *twin = sameKey(store, name, &project);
    return twin ? alreadyNamed(*twin) : QString();
}

} // namespace furrow::ProjectNames
