#pragma once

#include "SqliteStore.h"

#include "base/Error.h"
#include "model/ModelContext.h"

#include <QLockFile>

#include <memory>

namespace furrow {

// Raised when another process holds the store; nothing was opened or moved.
class StoreInUseError : public Error
{
public:
    explicit StoreInUseError(const QString &description)
        : Error(description)
    {}
};

// Raised when not even a clean store can be opened; what() is the complete fatal message.
class FatalStoreError : public Error
{
public:
    using Error::Error;
};

// The planner's one persistent store: the SQLite file under its lock and the context holding its
// rows, whose saves write to the file. A file that cannot be opened as a store is moved aside
// under a time-stamped name and a clean store takes its place, so the planner always starts;
// StoreRecovery then brings the old data back from the backup file.
class PlannerContainer
{
public:
    // $XDG_DATA_HOME/Furrow/furrow.store
    static QString defaultStorePath();

    // How open() found the store: it opened as it was, or it could not be opened, was moved
    // aside and a clean, empty store took its place.
    enum class Opening { AsItWas, SetAside };

    static std::unique_ptr<PlannerContainer> open(const QString &storePath);
    ~PlannerContainer();

    ModelContext &context() { return *m_context; }
    const QString &storePath() const { return m_storePath; }
    Opening opening() const { return m_opening; }
    // ".backup-" and the whole seconds the old store files were renamed with; empty when the
    // store opened as it was.
    const QString &asideSuffix() const { return m_asideSuffix; }

    // Replaces the store with a copy of the store at `copyPath` and opens it, for the recovery
    // of a store that was set aside; the context is a new one, so nothing may hold the old one.
    // When the copy does not open as a store, a clean store takes its place again and `error`
    // says why. Throws FatalStoreError when not even that opens.
    bool replaceWithCopy(const QString &copyPath, QString *error);

private:
    PlannerContainer(const QString &storePath, std::unique_ptr<QLockFile> lock);
    bool tryOpen(QString *error);
    void moveAside(const QString &error);
    void closeAndRemove();

    QString m_storePath;
    Opening m_opening = Opening::AsItWas;
    QString m_asideSuffix;
    std::unique_ptr<QLockFile> m_lock;
    std::unique_ptr<SqliteStore> m_store;
    std::unique_ptr<ModelContext> m_context;
};

} // namespace furrow
