#pragma once

#include "server/RequestLog.h"
#include "server/SyncServer.h"
#include "server/SyncStore.h"
#include "server/TokenSet.h"

#include <QTemporaryDir>

#include <memory>
#include <sstream>
#include <thread>

namespace furrow::test {

// The sync server running in the test process on an ephemeral loopback port, with a database
// in a temporary folder and one accepted token. Restarting keeps the database.
class ServerHarness
{
public:
    static inline const std::string kToken = "test-token-7d1c";

    static SyncServer::Settings defaultSettings();

    explicit ServerHarness(SyncServer::Settings settings = defaultSettings(),
                           AuthThrottle::Now now = &std::chrono::steady_clock::now);
    ~ServerHarness();

    void start();
    void stop();

    int port() const { return m_port; }
    QString url() const;
    QString databasePath() const;
    qint64 recordCount() const { return m_store->recordCount(); }
    // What the server logged so far; only read while it is stopped.
    std::string log() const { return m_logText.str(); }

private:
    QTemporaryDir m_folder;
    SyncServer::Settings m_settings;
    AuthThrottle::Now m_now;
    TokenSet m_tokens;
    std::ostringstream m_logText;
    RequestLog m_log{m_logText};
    std::unique_ptr<SyncStore> m_store;
    std::unique_ptr<SyncServer> m_server;
    std::thread m_thread;
    int m_port = 0;
};

} // namespace furrow::test
