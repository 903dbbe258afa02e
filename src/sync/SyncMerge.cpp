#include "SyncMerge.h"

#include "Links.h"
#include "Snapshot.h"
#include "SyncRecordMapping.h"

namespace furrow::SyncMerge {

qint64 applyPages(ModelContext &context, const std::vector<std::vector<SyncRecord>> &pages)
{
    static const QString kinds[]
        = {SyncKind::project, SyncKind::page, SyncKind::section, SyncKind::task, SyncKind::day};
    Snapshot snapshot(context);
    Links links;
    qint64 applied = 0;
    for (const auto &page : pages) {
        for (const QString &kind : kinds) {
            for (const SyncRecord &record : page) {
                if (record.kind == kind && snapshot.applyOne(record, links))
                    ++applied;
            }
        }
    }
    links.resolve(snapshot, context);
    return applied;
}

} // namespace furrow::SyncMerge
