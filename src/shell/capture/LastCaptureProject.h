#pragma once

#include <vector>

namespace furrow {

class Project;

// Remembers the project of the last quick capture in the user's defaults, as the project's id
// text under "capture.lastProject", so that the next capture starts with it.
namespace LastCaptureProject {

// Stores the project's id; no project removes the key.
void save(const Project *project);
// The project of `projects` with the remembered id; none when the key is absent, is not an
// identifier or names none of them.
Project *load(const std::vector<Project *> &projects);

} // namespace LastCaptureProject
} // namespace furrow
