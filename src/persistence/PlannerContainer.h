#pragma once

#include "SqliteStore.h"

#include "base/Error.h"
#include "base/StoreError.h"
#include "model/ModelContext.h"

#include <QLockFile>

#include <memory>
#include <optional>

namespace furrow {

// Raised when another process holds the store; nothing was opened or moved.
class StoreInUseError : public Error
{
public:
    explicit StoreInUseError(const QString &description)
        : Error(description)
    {}
};

// Raised when the store cannot be opened for a reason other than damage (a full disk, an I/O
// error, no permission, a read-only file system): no file was moved or changed. The message is
// the reason.
class StoreUnavailableError : public Error
{
public:
    using Error::Error;
};

// Raised when not even a clean store can be opened; what() is the complete fatal message.
class FatalStoreError : public Error
{
public:
    using Error::Error;
};

// The planner's one persistent store: the SQLite file under its lock and the context holding its
// rows, whose saves write to the file. A damaged file is moved aside under a time-stamped name
// and a clean store takes its place, so the planner always starts; StoreRecovery then brings the
// old data back. A mark beside the store records a recovery until it is finished, so that one
// cut short is resumed at the next opening instead of leaving the clean store in charge.
class PlannerContainer
{
public:
    // $XDG_DATA_HOME/Furrow/furrow.store
    static QString defaultStorePath();

    // How open() found the store: it opened as it was, or it was damaged, was moved aside and a
    // clean, empty store took its place, or a recovery after that was left unfinished.
    enum class Opening { AsItWas, SetAside, RecoveryUnfinished };

    // Throws StoreInUseError, StoreUnavailableError (nothing changed) or FatalStoreError.
    static std::unique_ptr<PlannerContainer> open(const QString &storePath);
    ~PlannerContainer();

    ModelContext &context() { return *m_context; }
    const QString &storePath() const { return m_storePath; }
    Opening opening() const { return m_opening; }
    // ".backup-" and the whole seconds the old store files were renamed with; empty when the
    // store opened as it was.
    const QString &asideSuffix() const { return m_asideSuffix; }
    // Removes the mark of a recovery under way; the store opens as it is from then on.
    void finishRecovery();

    // Replaces the store with a copy of the store at `copyPath` and opens it, for the recovery
    // of a store that was set aside; the context is a new one, so nothing may hold the old one.
    // When the copy does not open as a store, a clean store takes its place again and `error`
    // says why. Throws FatalStoreError when not even that opens.
    bool replaceWithCopy(const QString &copyPath, QString *error);

private:
    PlannerContainer(const QString &storePath, std::unique_ptr<QLockFile> lock);
    QString recoveryMarkPath() const;
    void readRecoveryMark();
    std::optional<StoreError> openFile();
    bool tryOpen(QString *error);
    [[noreturn]] void refuse(const QString &reason, const QStringList &missing);
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
