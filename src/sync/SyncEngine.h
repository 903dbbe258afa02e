#pragma once

#include "SyncExchange.h"
#include "SyncSettings.h"
#include "SyncStatus.h"

#include <QObject>
#include <QTimer>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>

namespace furrow {

class ModelContext;

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
    // defaults; no timer runs until start().
    explicit SyncEngine(ModelContext &context, QObject *parent = nullptr);
    SyncEngine(ModelContext &context, Timing timing, QObject *parent = nullptr);
    SyncEngine(ModelContext &context, Timing timing, Limits limits, QObject *parent = nullptr);
    ~SyncEngine() override;

    const SyncStatus &status() const { return m_status; }
    bool isRunning() const { return m_cycle != nullptr; }

    // Each setting is stored under its key at once.
    QString address() const { return m_address; }
    void setAddress(const QString &address);
    QString token() const { return m_token; }
    void setToken(const QString &token);
    QString phrase() const { return m_phrase; }
    void setPhrase(const QString &phrase);
    bool isOn() const { return m_isOn; }
    // Switching on shows idle, starts the periodic timer and a cycle; off shows off and stops
    // the timers (a cycle in flight still finishes).
    void setOn(bool on);

    std::optional<QUrl> endpoint() const { return SyncExchange::endpoint(m_address); }

    // When sync is on: restarts the periodic timer and starts a cycle on the next event-loop
    // turn.
    void start();
    void stop();

    // Runs one cycle. `finished` is called with false at once when no cycle can start (sync off,
    // a cycle running, no address or no token: the status stays as it is), when the address is
    // plain http:// to another computer or the phrase is empty, else when the cycle ends.
    void sync(Finished finished = {});
    // Runs one cycle and waits for its end in a local event loop: for the command line. Answers
    // as `finished` would; status() then holds the final status.
    bool syncAndWait();

Q_SIGNALS:
    void statusChanged(const furrow::SyncStatus &status);

private:
    struct Cycle;

    void scheduleNudge();
    void setStatus(const SyncStatus &status);
    void beginCycle();
    void sendPage(std::vector<SyncRecord> changes);
    void receivePage(SyncExchange::Outcome outcome);
    // Why the cycle must stop after the answer just received, or nothing.
    QString limitBreach(bool morePages) const;
    void completeCycle();
    void endCycle(const SyncStatus &status, bool clean);

    ModelContext &m_context;
    Timing m_timing;
    Limits m_limits;
    SyncSettings m_settings;
    SyncExchange m_exchange;
    SyncStatus m_status;
    QString m_address;
    QString m_token;
    QString m_phrase;
    bool m_isOn = false;
    QTimer m_timer;
    QTimer m_nudge;
    std::unique_ptr<Cycle> m_cycle;
};

} // namespace furrow
