#pragma once

#include <QString>
#include <QUuid>

namespace furrow {

class ModelContext;
class Page;

// The page every planner starts with, "Inbox" with the sections "Today", "Next" and "Later".
// Its rows take identifiers derived from their names (UUID version 5 in a namespace of ours),
// so the starter pages that two computers make on their own are one record on the sync server
// and merge instead of standing side by side.
namespace StarterPage {

QUuid pageId();
QUuid sectionId(const QString &name);

// Inserts the page and its sections, unsaved. A fixed identifier that a row already holds (a
// starter page deleted earlier and not yet purged) gives way to a random one, so that no two
// rows share an identifier.
Page *insert(ModelContext &context);

} // namespace StarterPage
} // namespace furrow
