#include "SyncEngine.h"

#include "Snapshot.h"
#include "SyncCrypto.h"
#include "SyncMerge.h"
#include "SyncTime.h"
#include "model/Clock.h"
#include "model/ModelContext.h"
#include "model/PlannerNotifications.h"
#include "model/PlannerStore.h"

#include <QEventLoop>

#include <limits>

namespace furrow {

namespace {

// Keeps what a cycle merges and saves out of the user's undo history.
class UndoPause
{
public:
    explicit UndoPause(UndoHistory *history)
        : m_history(history)
        , m_wasRecording(history && history->isRecording())
    {
        if (m_history)
            m_history->setRecordingEnabled(false);
    }
    ~UndoPause()
    {
        if (m_history)
            m_history->setRecordingEnabled(m_wasRecording);
    }
    UndoPause(const UndoPause &) = delete;
    UndoPause &operator=(const UndoPause &) = delete;

private:
    UndoHistory *m_history;
    bool m_wasRecording;
};

QString unreadableMessage(qint64 count)
{
    if (count == 1)
        return QStringLiteral("одна запись не прочиталась — проверьте секретную фразу");
    return QString::number(count)
           + QStringLiteral(" записей не прочитались — проверьте секретную фразу");
}

QString phraseMismatchMessage()
{
    return QStringLiteral(
        "фраза не открывает то, что хранит сервер — проверьте её на другом компьютере");
}

} // namespace

// What one cycle carries from its first request to its end.
struct SyncEngine::Cycle
{
    QUrl url;
    QString token;
    QString device;
    std::optional<SyncCrypto> crypto;
    double newest = 0;
    qint64 since = 0;
    qint64 unreadable = 0;
    qint64 receivedBytes = 0;
    // The opened records of every page received so far. They are merged only once the last
    // page has arrived, so a cycle that fails on a later page changes nothing.
    std::vector<std::vector<SyncRecord>> pages;
    Finished finished;
    // The settings digest the cycle runs under, stored with the cursor when it completes.
    QString basis;
    // The cycle is pulling from the beginning before it pushes anything.
    bool checking = false;
    // What the checking pull received: how many records, and the versions of those it opened.
    qint64 received = 0;
    QSet<QString> readable;
    // Records merged by the checking pull.
    qint64 applied = 0;
};

SyncEngine::SyncEngine(ModelContext &context, QObject *parent)
    : SyncEngine(context, Timing(), Limits(), parent)
{}

SyncEngine::SyncEngine(ModelContext &context, Timing timing, QObject *parent)
    : SyncEngine(context, timing, Limits(), parent)
{}

SyncEngine::SyncEngine(ModelContext &context, Timing timing, Limits limits, QObject *parent)
    : QObject(parent)
    , m_context(context)
    , m_timing(timing)
    , m_limits(limits)
    , m_exchange({timing.transferTimeout, timing.requestDeadline, limits.answerBytes})
    , m_secrets({SyncSettings::tokenKey(), SyncSettings::phraseKey()})
    , m_address(m_settings.address())
    , m_isOn(m_settings.isOn())
{
    m_secrets.migrate();
    // The file asks nothing, so its secrets are known from the start.
    if (!keepsSecretsInKeyring())
        loadSecrets({});
    if (const std::optional<qint64> last = m_settings.lastSynced())
        m_lastSynced = SyncTime::fromWire(*last);
    m_status = m_isOn ? SyncStatus::idle() : SyncStatus::off();
    m_timer.setInterval(m_timing.period);
    m_timer.callOnTimeout(this, [this] { sync(); });
    m_nudge.setSingleShot(true);
    m_nudge.setInterval(m_timing.nudge);
    m_nudge.callOnTimeout(this, [this] { sync(); });
    connect(&PlannerNotifications::center(), &PlannerNotifications::plannerDidChange, this,
            &SyncEngine::scheduleNudge);
}

SyncEngine::~SyncEngine() = default;

void SyncEngine::setAddress(const QString &address)
{
    m_address = address;
    m_settings.setAddress(address);
}

void SyncEngine::setToken(const QString &token)
{
    m_token = token;
    m_secrets.store(SyncSettings::tokenKey(), token);
}

void SyncEngine::setPhrase(const QString &phrase)
{
    m_phrase = phrase;
    m_secrets.store(SyncSettings::phraseKey(), phrase);
}

void SyncEngine::setOn(bool on)
{
    m_isOn = on;
    m_settings.setOn(on);
    setStatus(on ? SyncStatus::idle() : SyncStatus::off());
    if (on)
        start();
    else
        stop();
}

void SyncEngine::start()
{
    if (!m_isOn)
        return;
    stop();
    m_timer.start();
    QMetaObject::invokeMethod(
        this, [this] { sync(); }, Qt::QueuedConnection);
}

void SyncEngine::stop()
{
    m_timer.stop();
    m_nudge.stop();
}

void SyncEngine::scheduleNudge()
{
    if (m_isOn)
        m_nudge.start();
}

void SyncEngine::setStatus(const SyncStatus &status)
{
    m_status = status;
    Q_EMIT statusChanged(m_status);
}

void SyncEngine::sync(Finished finished)
{
    const std::optional<QUrl> url = endpoint();
    // A token of spaces counts as present; only the empty one stops the cycle.
    if (!m_isOn || isRunning() || !url || (hasSecrets() && m_token->isEmpty())) {
        if (finished)
            finished(false);
        return;
    }
    if (!hasSecrets()) {
        // The timer's cycle must not pop up an unlock prompt; a locked keyring waits.
        loadSecrets(
            [this, finished](bool loaded) {
                if (loaded)
                    sync(finished);
                else if (finished)
                    finished(false);
            },
            false);
        return;
    }
    if (!SyncExchange::isSafeEndpoint(*url)) {
        setStatus(SyncStatus::failed(SyncExchange::unsafeEndpointMessage()));
        if (finished)
            finished(false);
        return;
    }
    if (m_phrase->trimmed().isEmpty()) {
        setStatus(SyncStatus::failed(
            QStringLiteral("Задайте секретную фразу — без неё задачи ушли бы читаемыми")));
        if (finished)
            finished(false);
        return;
    }
    // Set before anything is announced, so a cycle requested meanwhile returns at once.
    m_cycle = std::make_unique<Cycle>();
    m_cycle->url = *url;
    m_cycle->token = *m_token;
    m_cycle->finished = std::move(finished);
    beginCycle();
}

bool SyncEngine::syncAndWait()
{
    std::optional<bool> clean;
    QEventLoop loop;
    sync([&](bool result) {
        clean = result;
        loop.quit();
    });
    if (!clean)
        loop.exec();
    return *clean;
}

void SyncEngine::beginCycle()
{
    setStatus(SyncStatus::running());
    m_cycle->device = m_settings.device();
    m_cycle->basis = basisOf(m_address, *m_token, *m_phrase);
    m_exchange.setTrustedCertificate(
        SyncExchange::normalizedFingerprint(m_settings.trustedCertificate()));
    try {
        m_cycle->crypto = SyncCrypto::fromPhrase(*m_phrase);
    } catch (const SyncCrypto::Error &error) {
        endCycle(
            SyncStatus::failed(QStringLiteral("не удалось зашифровать — ") + error.description()),
            false);
        return;
    }
    if (m_settings.basis() != m_cycle->basis)
        return beginCheck();
    const Snapshot snapshot(m_context);
    const double mark = m_settings.mark();
    m_cycle->newest = snapshot.newest(mark);
    m_cycle->since = m_settings.cursor();
    pushChanges(snapshot, mark);
}

void SyncEngine::pushChanges(const Snapshot &snapshot, double mark, const QSet<QString> &skip)
{
    std::vector<SyncRecord> outgoing;
    try {
        for (const SyncRecord &record : snapshot.changes(mark)) {
            if (!skip.contains(Snapshot::versionKey(record)))
                outgoing.push_back(m_cycle->crypto->sealed(record));
        }
    } catch (const SyncCrypto::Error &error) {
        endCycle(
            SyncStatus::failed(QStringLiteral("не удалось зашифровать — ") + error.description()),
            false);
        return;
    }
    // Marked as soon as they leave, since the server may keep them even if the cycle fails
    // afterwards.
    snapshot.markSent(mark);
    sendPage(std::move(outgoing));
}

void SyncEngine::sendPage(std::vector<SyncRecord> changes)
{
    const SyncRequest request{m_cycle->device, m_cycle->since, std::move(changes)};
    m_exchange.send(request, m_cycle->url, m_cycle->token,
                    [this](SyncExchange::Outcome outcome) { receivePage(std::move(outcome)); });
}

void SyncEngine::receivePage(SyncExchange::Outcome outcome)
{
    if (const QString *failure = std::get_if<QString>(&outcome)) {
        endCycle(SyncStatus::failed(*failure), false);
        return;
    }
    SyncExchange::Answer &answer = std::get<SyncExchange::Answer>(outcome);
    m_cycle->receivedBytes += answer.bytes;
    if (const QString breach = limitBreach(answer.response.more); !breach.isEmpty()) {
        endCycle(SyncStatus::failed(breach), false);
        return;
    }
    const SyncCrypto *crypto = m_cycle->crypto ? &*m_cycle->crypto : nullptr;
    const qsizetype received = qsizetype(answer.response.changes.size());
    m_cycle->pages.push_back(
        SyncCrypto::open(std::move(answer.response.changes), crypto, m_cycle->unreadable));
    if (m_cycle->checking)
        noteChecked(received, m_cycle->pages.back());
    m_cycle->since = answer.response.seq;
    if (answer.response.more)
        sendPage({});
    else if (m_cycle->checking)
        finishCheck();
    else
        completeCycle();
}

QString SyncEngine::limitBreach(bool morePages) const
{
    if (m_cycle->receivedBytes > m_limits.cycleBytes)
        return QStringLiteral("за один обмен сервер прислал больше предела (%1) — обмен прерван")
            .arg(SyncExchange::sizeText(m_limits.cycleBytes));
    // The page just received counts, so asking for one more would pass the limit.
    if (morePages && qsizetype(m_cycle->pages.size()) + 1 >= m_limits.cyclePages)
        return QStringLiteral("сервер слал страницу за страницей без конца (предел %1) — обмен "
                              "прерван")
            .arg(m_limits.cyclePages);
    return {};
}

void SyncEngine::beginCheck()
{
    m_cycle->checking = true;
    m_cycle->since = 0;
    sendPage({});
}

void SyncEngine::noteChecked(qsizetype received, const std::vector<SyncRecord> &opened)
{
    m_cycle->received += received;
    for (const SyncRecord &record : opened)
        m_cycle->readable.insert(Snapshot::versionKey(record));
}

void SyncEngine::finishCheck()
{
    m_cycle->checking = false;
    // A phrase that opens nothing of what others sent must not seal anything for them.
    if (m_cycle->received > 0 && m_cycle->readable.isEmpty()) {
        endCycle(SyncStatus::failed(phraseMismatchMessage()), false);
        return;
    }
    const QSet<QString> readable = std::move(m_cycle->readable);
    const bool merged = mergePages([this, &readable] {
        // The server keeps only strictly newer versions, so what it holds sealed with another
        // phrase (or under other settings) is replaced only by a later time.
        Snapshot(m_context).restampAllBut(readable);
    });
    if (!merged)
        return;
    // Everything else goes out again, sealed with the present phrase; what the server handed
    // back readable it holds already.
    const Snapshot snapshot(m_context);
    m_cycle->newest = snapshot.newest(m_settings.mark());
    pushChanges(snapshot, -std::numeric_limits<double>::infinity(), readable);
}

bool SyncEngine::mergePages(const std::function<void()> &andThen)
{
    ModelContext::SaveResult saved;
    {
        const UndoPause pause(m_context.undoHistory());
        m_cycle->applied += SyncMerge::applyPages(m_context, m_cycle->pages);
        m_cycle->pages.clear();
        // Merged records may have closed or reopened occurrences of a repeating task.
        PlannerStore(m_context).settleSeries();
        if (andThen)
            andThen();
        // Saved directly rather than through the planner store: a cycle's own changes must not
        // announce a local change, which would nudge another cycle.
        if (m_context.hasChanges())
            saved = m_context.save();
    }
    if (!saved.ok)
        endCycle(SyncStatus::failed(saved.error), false);
    return saved.ok;
}

void SyncEngine::completeCycle()
{
    if (!mergePages())
        return;
    m_settings.setProgress(m_cycle->since, m_cycle->newest);
    if (m_settings.basis() != m_cycle->basis)
        m_settings.setBasis(m_cycle->basis);
    const qint64 unreadable = m_cycle->unreadable;
    if (unreadable > 0) {
        endCycle(SyncStatus::failed(unreadableMessage(unreadable)), false);
        return;
    }
    const Instant now = Clock::now();
    m_lastSynced = now;
    m_settings.setLastSynced(SyncTime::toWire(now));
    endCycle(SyncStatus::done(now, m_cycle->applied), true);
}

void SyncEngine::endCycle(const SyncStatus &status, bool clean)
{
    const Finished finished = std::move(m_cycle->finished);
    m_cycle.reset();
    setStatus(status);
    if (finished)
        finished(clean);
}

} // namespace furrow
