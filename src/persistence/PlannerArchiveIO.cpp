#include "PlannerArchiveIO.h"

#include "PersistenceError.h"
#include "PlannerFile.h"
#include "PlannerSnapshot.h"

#include <QFile>

namespace furrow::PlannerArchiveIO {

namespace {

Outcome failure(const QString &prefix, const QString &description)
{
    return {false, prefix + description};
}

QByteArray readWholeFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw PersistenceError(file.errorString());
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw PersistenceError(file.errorString());
    return bytes;
}

} // namespace

PlannerArchive readFrom(const QString &path)
{
    return PlannerArchive::decode(readWholeFile(path));
}

Outcome exportTo(const PlannerStore &store, const QString &path)
{
    try {
        PlannerFile::write(PlannerSnapshot::snapshot(store), path);
    } catch (const PersistenceError &error) {
        return failure(QStringLiteral("Не удалось выгрузить: "), error.description());
    }
    return {};
}

Outcome importFrom(PlannerStore &store, const QString &path)
{
    PlannerArchive archive;
    try {
        archive = readFrom(path);
    } catch (const PersistenceError &error) {
        return failure(QStringLiteral("Не удалось прочитать файл: "), error.description());
    }
    PlannerSnapshot::restore(store, archive);
    return {};
}

} // namespace furrow::PlannerArchiveIO
