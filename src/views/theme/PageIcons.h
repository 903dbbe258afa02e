#pragma once

#include <QList>
#include <QStringList>

namespace furrow {

// The catalogue of page icons the picker offers: nine named groups, 168 icons in all.
namespace PageIcons {

struct Group
{
    QString name;
    QStringList icons;
};

const QList<Group> &groups();
// Every icon of every group, group after group.
const QStringList &all();
// The icons whose name contains the query (trimmed, lower-cased, inner spaces as hyphens), in
// catalogue order; the whole catalogue for a blank query.
QStringList search(const QString &query);

} // namespace PageIcons
} // namespace furrow
