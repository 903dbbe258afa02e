#include "BackupCommands.h"

#include "BackgroundWork.h"

#include "model/PlannerStore.h"
#include "persistence/ArchiveWriter.h"
#include "persistence/DatedCopies.h"
#include "persistence/PersistenceError.h"
#include "persistence/PlannerArchiveIO.h"
#include "persistence/PlannerFile.h"
#include "persistence/PlannerSnapshot.h"

#include <QClipboard>
#include <QDBusConnection>
#include <QDBusInterface>
#include <QDBusReply>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QUrl>

namespace furrow::BackupCommands {

namespace {

const QString kJsonFilter = QStringLiteral("JSON (*.json)");

void warn(QWidget *parent, const QString &text)
{
    QMessageBox::warning(parent, QStringLiteral("Furrow"), text);
}

// Whether something opens folders: xdg-open, with an application set for them.
bool canOpenFolders()
{
    const QString xdgMime = QStandardPaths::findExecutable(QStringLiteral("xdg-mime"));
    if (xdgMime.isEmpty() || QStandardPaths::findExecutable(QStringLiteral("xdg-open")).isEmpty())
        return false;
    QProcess query;
    query.start(xdgMime, {QStringLiteral("query"), QStringLiteral("default"),
                          QStringLiteral("inode/directory")});
    return query.waitForFinished(3000) && query.exitCode() == 0
           && !query.readAllStandardOutput().trimmed().isEmpty();
}

// Asks the desktop's file manager to show the file selected; without one, opens its folder.
// False when there is nothing to show it with.
bool showInFileManager(const QString &path)
{
    QDBusInterface fileManager(QStringLiteral("org.freedesktop.FileManager1"),
                               QStringLiteral("/org/freedesktop/FileManager1"),
                               QStringLiteral("org.freedesktop.FileManager1"),
                               QDBusConnection::sessionBus());
    if (fileManager.isValid()) {
        const QDBusMessage reply
            = fileManager.call(QStringLiteral("ShowItems"),
                               QStringList{QUrl::fromLocalFile(path).toString()}, QString());
        if (reply.type() != QDBusMessage::ErrorMessage)
            return true;
    }
    if (!canOpenFolders())
        return false;
    const QString folder = QFileInfo(path).path();
    QDir().mkpath(folder);
    return QDesktopServices::openUrl(QUrl::fromLocalFile(folder));
}

// Where there is no file manager, the user is told where the file is, to copy the path.
void tellWhereTheFileIs(const QString &path, QWidget *parent)
{
    auto *box = new QMessageBox(QMessageBox::Information, QStringLiteral("Furrow"),
                                QStringLiteral("No file manager is installed to show the backup "
                                               "file. It is here:\n\n")
                                    + path,
                                QMessageBox::NoButton, parent);
    box->setObjectName(QStringLiteral("backupFileLocation"));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setTextFormat(Qt::PlainText);
    box->setTextInteractionFlags(Qt::TextSelectableByMouse);
    QPushButton *copy = box->addButton(QStringLiteral("Copy path"), QMessageBox::ActionRole);
    copy->setObjectName(QStringLiteral("copyPath"));
    QObject::connect(copy, &QPushButton::clicked, box,
                     [path] { QGuiApplication::clipboard()->setText(path); });
    box->setDefaultButton(box->addButton(QMessageBox::Ok));
    box->open();
}

// Asks before an import, with the counts of what it would add and update.
bool confirmImport(const RestorePlan::Counts &counts, QWidget *parent)
{
    QMessageBox box(QMessageBox::Question, QStringLiteral("Import"), counts.summary(),
                    QMessageBox::NoButton, parent);
    box.setInformativeText(counts.details());
    QPushButton *import = box.addButton(QStringLiteral("Import"), QMessageBox::AcceptRole);
    box.setDefaultButton(import);
    box.setEscapeButton(box.addButton(QStringLiteral("Cancel"), QMessageBox::RejectRole));
    box.exec();
    return box.clickedButton() == import;
}

} // namespace

void exportWithDialog(ModelContext &context, QWidget *parent)
{
    const QString path = QFileDialog::getSaveFileName(
        parent, QStringLiteral("Export"), QDir::home().filePath(QStringLiteral("planner.json")),
        kJsonFilter);
    if (path.isEmpty())
        return;
    const PlannerStore store(context);
    if (const auto outcome = PlannerArchiveIO::exportTo(store, path); !outcome.succeeded)
        warn(parent, outcome.alertText);
}

void importWithDialog(ModelContext &context, QWidget *parent)
{
    const QString path = QFileDialog::getOpenFileName(parent, QStringLiteral("Import"),
                                                      QDir::homePath(), kJsonFilter);
    if (!path.isEmpty())
        importFile(context, path, parent);
}

bool importFile(ModelContext &context, const QString &path, QWidget *parent)
{
    PlannerArchive archive;
    PlannerArchiveIO::Outcome read;
    BackgroundWork::run([&] { read = PlannerArchiveIO::readForImport(path, archive); });
    if (!read.succeeded) {
        warn(parent, read.alertText);
        return false;
    }
    PlannerStore store(context);
    if (!confirmImport(PlannerSnapshot::preview(store, archive), parent))
        return false;
    if (const auto outcome = PlannerArchiveIO::restoreFrom(store, archive); !outcome.succeeded)
        warn(parent, outcome.alertText);
    return true;
}

void revealBackup(ModelContext &context, bool refresh, QWidget *parent)
{
    if (refresh)
        ArchiveWriter::shared().scheduleWrite(PlannerSnapshot::snapshot(PlannerStore(context)));
    if (!showInFileManager(PlannerFile::backupPath()))
        tellWhereTheFileIs(PlannerFile::backupPath(), parent);
}

std::vector<DatedCopy> datedCopies()
{
    std::vector<DatedCopy> copies;
    const QString folder = DatedCopies::folderFor(PlannerFile::backupPath());
    for (const QString &path : DatedCopies::backupCopiesNewestFirst(folder)) {
        // planner-YYYY-MM-DD.json
        const QString day = QFileInfo(path).completeBaseName().mid(8);
        QString contents;
        try {
            const qsizetype tasks = qsizetype(PlannerArchiveIO::readFrom(path).tasks.size());
            contents
                = tasks == 1 ? QStringLiteral("1 task") : QStringLiteral("%1 tasks").arg(tasks);
        } catch (const PersistenceError &) {
            contents = QStringLiteral("cannot be read");
        }
        copies.push_back({path, day + QStringLiteral(" · ") + contents});
    }
    return copies;
}

void restoreCopyWithDialog(ModelContext &context, QWidget *parent)
{
    // Each copy is read for its task count: fourteen large copies take a while.
    std::vector<DatedCopy> copies;
    BackgroundWork::run([&copies] { copies = datedCopies(); });
    if (copies.empty()) {
        QMessageBox::information(parent, QStringLiteral("Restore a copy"),
                                 QStringLiteral("There are no dated copies yet. Furrow keeps one "
                                                "a day, from the day after the first change on."));
        return;
    }
    QStringList labels;
    for (const DatedCopy &copy : copies)
        labels.append(copy.label);
    bool picked = false;
    const QString label = QInputDialog::getItem(
        parent, QStringLiteral("Restore a copy"),
        QStringLiteral("Import a dated copy of the backup file:"), labels, 0, false, &picked);
    if (!picked)
        return;
    importFile(context, copies[std::size_t(labels.indexOf(label))].path, parent);
}

} // namespace furrow::BackupCommands
