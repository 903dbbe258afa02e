#pragma once

#include <QString>

namespace furrow {

class PlannerStore;
class Project;

// Which names a project may take: a name whose key another project already has would leave
// one of the two out of reach of its #token.
namespace ProjectNames {

// Why a new project cannot be named `name` (trimmed, not blank); empty when it can.
QString refusalToCreate(const PlannerStore &store, const QString &name);
// Why `project` cannot be renamed to `name` (trimmed, not blank); empty when it can.
QString refusalToRename(const PlannerStore &store, const Project &project, const QString &name);

} // namespace ProjectNames
} // namespace furrow
