#include "StarterPage.h"

#include "ModelContext.h"

namespace furrow::StarterPage {

namespace {

const QUuid kNamespace(QStringLiteral("{b6c0409c-2441-4f3f-962e-fbd1ec49ce1c}"));

template<class T>
void takeIdIfFree(const ModelContext &context, T &row, const QUuid &id)
{
    const auto &rows = context.rows<T>();
    if (std::none_of(rows.begin(), rows.end(),
                     [&](const auto &other) { return other->id() == id; }))
        row.setId(id);
}

} // namespace

QUuid pageId()
{
    return QUuid::createUuidV5(kNamespace, QStringLiteral("page/Inbox"));
}

QUuid sectionId(const QString &name)
{
    return QUuid::createUuidV5(kNamespace, QStringLiteral("section/Inbox/") + name);
}

Page *insert(ModelContext &context)
{
    auto page = std::make_shared<Page>(QStringLiteral("Inbox"), QStringLiteral("tray"), 0);
    takeIdIfFree(context, *page, pageId());
    Page *inserted = context.insert(std::move(page));
    const QString names[]
        = {QStringLiteral("Today"), QStringLiteral("Next"), QStringLiteral("Later")};
    for (qint64 order = 0; order < 3; ++order) {
        auto section = std::make_shared<Section>(names[order], inserted, order);
        takeIdIfFree(context, *section, sectionId(names[order]));
        context.insert(std::move(section));
    }
    return inserted;
}

} // namespace furrow::StarterPage
