#include "ServerHarness.h"

namespace furrow::test {

SyncServer::Settings ServerHarness::defaultSettings()
{
    SyncServer::Settings settings;
    settings.maxBody = 64 * 1024;
    settings.pageSize = 7;
    settings.readTimeout = std::chrono::seconds(2);
    // Tests that are not about throttling must never be throttled.
    settings.throttle.freeFailures = 1000;
    return settings;
}

ServerHarness::ServerHarness(SyncServer::Settings settings, AuthThrottle::Now now)
    : m_settings(std::move(settings))
    , m_now(std::move(now))
    , m_tokens(TokenSet::fromText("# test\n" + kToken + "\n"))
{
    start();
}

ServerHarness::~ServerHarness()
{
    stop();
}

void ServerHarness::start()
{
    m_store = std::make_unique<SyncStore>(databasePath());
    m_server = std::make_unique<SyncServer>(*m_store, m_tokens, m_log, m_settings, m_now);
    m_port = m_server->bind("127.0.0.1", 0);
    m_thread = std::thread([this] { m_server->run(); });
}

void ServerHarness::stop()
{
    if (!m_server)
        return;
    m_server->stop();
    m_thread.join();
    m_server.reset();
    m_store.reset();
}

QString ServerHarness::url() const
{
    const QString scheme
        = m_settings.certPath.empty() ? QStringLiteral("http") : QStringLiteral("https");
    return QStringLiteral("%1://127.0.0.1:%2/v1/sync").arg(scheme).arg(m_port);
}

QString ServerHarness::databasePath() const
{
    return m_folder.filePath(QStringLiteral("data/sync.db"));
}

} // namespace furrow::test
