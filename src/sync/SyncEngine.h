#pragma once

#include "SyncExchange.h"
#include "SyncSettings.h"
#include "SyncStatus.h"
#include "secrets/SecretStore.h"

#include <QObject>
#include <QSet>
#include <QTimer>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace furrow {

class ModelContext;
class Snapshot;

// The sync client. Holds the user's sync settings, runs the cycle that pushes local changes
// sealed and pulls the server's changes page by page, merges them into the context and saves
// it, and publishes its status. Cycles start when sync is switched on or started, every period,
// a short while after the last local change, and on request. Everything runs on the thread that
// owns the engine; only the wait for the HTTP answer is asynchronous.
class SyncEngine : public QObject
{
    Q_OBJECT

public:
    struct Timing
    {
        std::chrono::milliseconds period{90'000};
        std::chrono::milliseconds nudge{4'000};
        std::chrono::milliseconds transferTimeout{30'000};
        // How long one request may take from its start, however steadily the answer arrives.
        std::chrono::milliseconds requestDeadline{60'000};
    };
    // What one cycle may receive before it is given up: a server that never stops paging or
    // never ends its answer must not keep a cycle, and the memory it buffers, growing.
    struct Limits
    {
        // Four times the largest request the sync server accepts (8 MiB), and far above a page
        // of 500 records.
        qint64 answerBytes = 32 * 1024 * 1024;
        // Room for a planner of several hundred thousand sealed records pulled at once.
        qint64 cycleBytes = 256 * 1024 * 1024;
        // A million records at the server's 500 a page.
        int cyclePages = 2'000;
    };
    // Called when a cycle ends: true when it completed with nothing unreadable.
    using Finished = std::function<void(bool)>;

    // The engine works on `context`, which must outlive it. Settings are read from the user's
    // defaults; the token and the phrase only when a cycle needs them, unless they are kept in
    // the file. No timer runs until start().
    explicit SyncEngine(ModelContext &context, QObject *parent = nullptr);
    SyncEngine(ModelContext &context, Timing timing, QObject *parent = nullptr);
    SyncEngine(ModelContext &context, Timing timing, Limits limits, QObject *parent = nullptr);
    ~SyncEngine() override;

    const SyncStatus &status() const { return m_status; }
    bool isRunning() const { return m_cycle != nullptr; }

    // Each setting is stored under its key at once. The token and the phrase read empty until
    // they are loaded.
    QString address() const { return m_address; }
    void setAddress(const QString &address);
    QString token() const { return m_token.value_or(QString()); }
    void setToken(const QString &token);
    QString phrase() const { return m_phrase.value_or(QString()); }
    void setPhrase(const QString &phrase);
    // The token and the phrase are known: loaded, or set since.
    bool hasSecrets() const { return m_token && m_phrase; }
    bool keepsSecretsInKeyring() const { return m_secrets.place() == SecretStore::Place::Keyring; }
    // Reads the token and the phrase unless they are known, for an act of the user: a locked
    // keyring asks to be unlocked now. `done` learns whether they are known then; if not, the
    // status says why.
    void loadSecrets(std::function<void(bool)> done) { loadSecrets(std::move(done), true); }
    bool isOn() const { return m_isOn; }
    // Switching on shows idle, starts the periodic timer and a cycle; off shows off and stops
    // the timers (a cycle in flight still finishes).
    void setOn(bool on);

    std::optional<QUrl> endpoint() const { return SyncExchange::endpoint(m_address); }
    // A digest of the settings that a cursor and a mark belong to: the endpoint, the token and
    // the trimmed phrase. A cycle under settings other than those of the last completed one
    // starts over.
    static QString basisOf(const QString &address, const QString &token, const QString &phrase);

    // When sync is on: restarts the periodic timer and starts a cycle on the next event-loop
    // turn.
    void start();
    void stop();

    // Runs one cycle. `finished` is called with false at once when no cycle can start (sync off,
    // a cycle running, no address or no token: the status stays as it is), when the address is
    // plain http:// to another computer or the phrase is empty, else when the cycle ends. The
    // token and the phrase are read first if they are not known; a locked keyring is not asked
    // to unlock (the status says the cycle waits for it).
    void sync(Finished finished = {});
    // Runs one cycle and waits for its end in a local event loop: for the command line. Answers
    // as `finished` would; status() then holds the final status.
    bool syncAndWait();
    // A cycle the user asked for: unlike sync(), a missing address or token is not passed over
    // in silence but becomes a failed status that says what is missing, and a locked keyring
    // asks to be unlocked.
    void syncNow(Finished finished = {});
    // When a cycle last completed cleanly, kept across restarts; none before the first.
    OptionalInstant lastSynced() const { return m_lastSynced; }

    // The fingerprint of the certificate the server showed in the last exchange when the
    // system does not trust it; empty otherwise.
    QString untrustedCertificate() const { return m_exchange.untrustedCertificate(); }
    // Accepts exactly the certificate with this SHA-256 fingerprint from now on, although no
    // authority the system knows signed it. False, and nothing kept, when it is not 64 hex
    // digits (colons and spaces between them are allowed).
    bool trustCertificate(const QString &fingerprint);
    QString trustedCertificate() const { return m_settings.trustedCertificate(); }

Q_SIGNALS:
    void statusChanged(const furrow::SyncStatus &status);
    // The token and the phrase have been read from where they are kept.
    void secretsLoaded();

private:
    struct Cycle;

    void scheduleNudge();
    void setStatus(const SyncStatus &status);
    void beginCycle();
    // Seals and sends every object changed after `mark`, but for the versions in `skip`.
    void pushChanges(const Snapshot &snapshot, double mark, const QSet<QString> &skip = {});
    void sendPage(std::vector<SyncRecord> changes);
    void receivePage(SyncExchange::Outcome outcome);
    // Why the cycle must stop after the answer just received, or nothing.
    QString limitBreach(bool morePages) const;
    // Under settings that have not completed a cycle yet (a new phrase, address or token), the
    // cycle starts over: it first pulls everything from the beginning, and pushes only when
    // the phrase opens what the server holds (or the server holds nothing).
    void beginCheck();
    void noteChecked(qsizetype received, const std::vector<SyncRecord> &opened);
    void finishCheck();
    // Merges and saves the pages received so far, then runs `andThen` on the context before
    // the save. False, with the cycle ended, when the save fails.
    bool mergePages(const std::function<void()> &andThen = {});
    void completeCycle();
    void endCycle(const SyncStatus &status, bool clean);
    // What stops a cycle the user asked for, or nothing.
    QString missingSetting() const;
    // Cycles the user did not start never make a locked keyring ask.
    void loadSecrets(std::function<void(bool)> done, bool mayAsk);
    void takeSecrets(const SecretStore::Loaded &loaded);

    ModelContext &m_context;
    Timing m_timing;
    Limits m_limits;
    SyncSettings m_settings;
    SyncExchange m_exchange;
    SecretStore m_secrets;
    SyncStatus m_status;
    QString m_address;
    std::optional<QString> m_token;
    std::optional<QString> m_phrase;
    // Waiting for the secrets being loaded.
    std::vector<std::function<void(bool)>> m_secretWaiters;
    bool m_isOn = false;
    OptionalInstant m_lastSynced;
    QTimer m_timer;
    QTimer m_nudge;
    std::unique_ptr<Cycle> m_cycle;
};

} // namespace furrow
