#include "CertificateFingerprint.h"
#include "RequestLog.h"
#include "ServerError.h"
#include "ServerOptions.h"
#include "SyncServer.h"
#include "SyncStore.h"
#include "TokenSet.h"

#include <malloc.h>
#include <pthread.h>
#include <signal.h>

#include <atomic>
#include <iostream>
#include <thread>

using namespace furrow;

namespace {

// Fixed thresholds keep glibc from raising them after the first freed buffer of megabytes, as it
// otherwise does: it would then keep up to twice the largest request in every thread's heap.
// Request bodies and answers that large are mapped and unmapped on their own, and free memory at
// the top of a heap goes back to the system at once.
void returnLargeBuffersAtOnce()
{
    mallopt(M_MMAP_THRESHOLD, 256 * 1024);
    mallopt(M_TRIM_THRESHOLD, 1024 * 1024);
}

// Serves until SIGTERM or SIGINT. The signals are blocked before any thread starts, so only the
// wait here receives them; the serving thread wakes it with SIGUSR1 if listening fails.
int serve(const ServerOptions &options, sigset_t signals)
{
    RequestLog log(std::cout);
    const TokenSet tokens = TokenSet::fromFile(options.tokensPath);
    SyncStore store(QString::fromStdString(options.databasePath));
    SyncServer::Settings settings;
    settings.maxBody = options.maxBody;
    settings.pageSize = options.pageSize;
    settings.certPath = options.certPath;
    settings.keyPath = options.keyPath;
    SyncServer server(store, tokens, log, settings);
    ServerOptions bound = options;
    bound.port = server.bind(options.host, options.port);
    log.note(std::string("слушает ") + (server.isSecure() ? "https://" : "http://")
             + bound.listenText() + ", база " + options.databasePath
             + ", токенов: " + std::to_string(tokens.size()));
    // Planners that do not trust the certificate show this fingerprint for comparison.
    if (server.isSecure())
        log.note("отпечаток сертификата (SHA-256): " + certificateFingerprint(options.certPath));
    if (server.connectionCap() < settings.maxConnections)
        log.note("соединений не больше " + std::to_string(server.connectionCap())
                 + ": столько позволяет ограничение на открытые файлы (ulimit -n)");

    std::atomic<bool> failed = false;
    const pthread_t waiter = pthread_self();
    std::thread serving([&] {
        if (!server.run()) {
            failed = true;
            pthread_kill(waiter, SIGUSR1);
        }
    });
    int received = 0;
    sigwait(&signals, &received);
    server.stop();
    serving.join();
    log.note(failed ? "не удалось принимать соединения" : "остановлен");
    return failed ? 1 : 0;
}

} // namespace

int main(int argc, char **argv)
{
    ServerOptions options;
    try {
        options = ServerOptions::parse(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const ServerError &error) {
        std::cerr << "furrow-sync-server: " << error.what() << '\n';
        return 2;
    }
    if (options.help) {
        std::cout << ServerOptions::usage();
        return 0;
    }
    returnLargeBuffersAtOnce();
    // A peer that hangs up while its answer is written must not end the server.
    signal(SIGPIPE, SIG_IGN);
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    sigaddset(&signals, SIGUSR1);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);
    try {
        return serve(options, signals);
    } catch (const ServerError &error) {
        std::cerr << "furrow-sync-server: " << error.what() << '\n';
        return 1;
    }
}
