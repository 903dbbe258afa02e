#include "shell/capture/LastCaptureProject.h"

#include "model/Project.h"
#include "model/UserDefaults.h"

#include <QUuid>

namespace furrow::LastCaptureProject {

namespace {
const QString kKey = QStringLiteral("capture.lastProject");
} // namespace

void save(const Project *project)
{
    const auto defaults = UserDefaults::open();
    if (project)
        defaults->setValue(kKey, idText(project->id()));
    else
        defaults->remove(kKey);
}

Project *load(const std::vector<Project *> &projects)
{
    const QUuid id(UserDefaults::open()->value(kKey).toString().trimmed());
    if (id.isNull())
        return nullptr;
    for (Project *project : projects) {
        if (project->id() == id)
            return project;
    }
    return nullptr;
}

} // namespace furrow::LastCaptureProject
