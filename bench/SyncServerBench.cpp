// Load check of the sync server on loopback: clients push sealed records concurrently and every
// record is then counted in the database. The baseline is one client pushing the same number of
// records alone, in requests of the same size. Concurrent clients are separate devices, so their
// answers also hand each of them the others' records (counted as handed_back).

#include "server/RequestLog.h"
#include "server/SyncServer.h"
#include "server/SyncStore.h"
#include "server/TokenSet.h"
#include "sync/wire/SyncRequest.h"
#include "sync/wire/SyncResponse.h"

#include <httplib.h>

#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QUuid>

#include <benchmark/benchmark.h>

#include <arpa/inet.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <mutex>
#include <thread>

namespace furrow {
namespace {

constexpr int kRecordsPerClient = 1'000;
constexpr int kRequestsPerClient = 20;
constexpr int kRecordsPerRequest = kRecordsPerClient / kRequestsPerClient;
const std::string kToken = "bench-token-Hx7Qe2Lm9Tz4Wd";

// The requests of one client: records with sealed bodies of a typical task's size.
std::vector<SyncRequest> clientRequests(int client, int requests)
{
    std::vector<SyncRequest> bodies;
    const QString device = QStringLiteral("device-%1").arg(client);
    for (int request = 0; request < requests; ++request) {
        SyncRequest sync{device, 0, {}};
        for (int n = 0; n < kRecordsPerRequest; ++n) {
            QByteArray box(28 + 300, Qt::Uninitialized);
            QRandomGenerator::global()->fillRange(reinterpret_cast<quint32 *>(box.data()),
                                                  box.size() / 4);
            sync.changes.push_back({QStringLiteral("task"),
                                    QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper(),
                                    1733400000000 + n,
                                    false,
                                    {{QStringLiteral("e"), SyncValue::text(box.toBase64())}}});
        }
        bodies.push_back(std::move(sync));
    }
    return bodies;
}

// Pushes the requests one after another, each from the cursor the answer before gave, as the
// planner does; answers how many records the server accepted and counts those it handed back.
long long push(int port, std::vector<SyncRequest> &requests, std::atomic<long long> &received)
{
    httplib::Client client("127.0.0.1", port);
    client.set_bearer_token_auth(kToken.c_str());
    long long accepted = 0;
    qint64 since = 0;
    for (SyncRequest &request : requests) {
        request.since = since;
        const auto reply
            = client.Post("/v1/sync", request.encode().toStdString(), "application/json");
        if (!reply || reply->status != 200)
            return -1;
        const SyncResponse response = SyncResponse::decode(QByteArray::fromStdString(reply->body));
        accepted += response.accepted;
        received += qint64(response.changes.size());
        since = response.seq;
    }
    return accepted;
}

// A server on a fresh database in a temporary folder, serving on an ephemeral loopback port
// until it goes.
struct RunningServer
{
    RunningServer()
        : store(folder.filePath(QStringLiteral("sync.db")))
        , server(store, tokens, log, SyncServer::Settings())
        , port(server.bind("127.0.0.1", 0))
        , serving([this] { server.run(); })
    {}
    ~RunningServer()
    {
        server.stop();
        serving.join();
    }

    std::ostringstream discarded;
    RequestLog log{discarded};
    const TokenSet tokens = TokenSet::fromText(kToken);
    QTemporaryDir folder;
    SyncStore store;
    SyncServer server;
    const int port;
    std::thread serving;
};

// The requests of each of `clients` clients.
std::vector<std::vector<SyncRequest>> everyClientsRequests(int clients, int requests)
{
    std::vector<std::vector<SyncRequest>> bodies;
    for (int client = 0; client < clients; ++client)
        bodies.push_back(clientRequests(client, requests));
    return bodies;
}

void pushConcurrently(benchmark::State &state)
{
    const int clients = int(state.range(0));
    // The baseline client sends as many requests as all concurrent clients together.
    const int requests = kRequestsPerClient * 8 / clients;
    const long long expected = (long long)clients * requests * kRecordsPerRequest;
    for (auto _ : state) {
        state.PauseTiming();
        auto server = std::make_unique<RunningServer>();
        const int port = server->port;
        auto bodies = everyClientsRequests(clients, requests);
        std::atomic<long long> accepted = 0;
        std::atomic<long long> received = 0;
        state.ResumeTiming();

        std::vector<std::thread> running;
        for (int client = 0; client < clients; ++client)
            running.emplace_back(
                [&, client] { accepted += push(port, bodies[std::size_t(client)], received); });
        for (std::thread &thread : running)
            thread.join();

        state.PauseTiming();
        const long long stored = server->store.recordCount();
        server.reset();
        if (accepted != expected || stored != expected)
            state.SkipWithError("records were lost");
        state.counters["handed_back"] = double(received);
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * expected);
    state.counters["records"] = double(expected);
}

// A new desk's first sync: it pulls 10 000 records page by page from the cursor 0, asking for
// compressed answers as HTTP clients do. The baseline is the push of the same records, in 200
// requests of 50, timed in the same run (push_ms).
void newDeskPulls10000(benchmark::State &state)
{
    constexpr int kRequests = 10'000 / kRecordsPerRequest;
    double pushMilliseconds = 0;
    long long pulled = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto server = std::make_unique<RunningServer>();
        const int port = server->port;
        std::vector<SyncRequest> bodies = clientRequests(0, kRequests);
        std::atomic<long long> unused = 0;
        const auto pushStart = std::chrono::steady_clock::now();
        push(port, bodies, unused);
        pushMilliseconds = std::chrono::duration<double, std::milli>(
                               std::chrono::steady_clock::now() - pushStart)
                               .count();
        state.ResumeTiming();

        httplib::Client client("127.0.0.1", port);
        client.set_bearer_token_auth(kToken.c_str());
        const httplib::Headers accepting{{"Accept-Encoding", "br, gzip, deflate"}};
        SyncResponse page{0, 0, true, {}};
        pulled = 0;
        while (page.more) {
            const SyncRequest request{QStringLiteral("new-desk"), page.seq, {}};
            const auto reply = client.Post("/v1/sync", accepting, request.encode().toStdString(),
                                           "application/json");
            if (!reply || reply->status != 200)
                break;
            page = SyncResponse::decode(QByteArray::fromStdString(reply->body));
            pulled += qint64(page.changes.size());
        }

        state.PauseTiming();
        server.reset();
        if (pulled != 10'000)
            state.SkipWithError("the new desk did not receive every record");
        state.ResumeTiming();
    }
    state.counters["pulled"] = double(pulled);
    state.counters["push_ms"] = pushMilliseconds;
}

// Opens `count` connections that never send a byte, from many loopback addresses so that no
// single address is over its own limit; answers their sockets, to be closed by the caller.
std::vector<int> openSilentConnections(int port, int count)
{
    std::vector<int> sockets;
    for (int n = 0; n < count; ++n) {
        const int fd = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(0x7f000000u | std::uint32_t(2 + n / 16) << 8 | 1);
        ::bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof address);
        address.sin_port = htons(std::uint16_t(port));
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        connect(fd, reinterpret_cast<sockaddr *>(&address), sizeof address);
        sockets.push_back(fd);
    }
    return sockets;
}

// Each client pushes its requests and then pulls what the others pushed, as planners do, while
// `silent` other connections sit open without sending. Reports every request's p99 and the
// records pushed per second; a client stops at its first failed request (counted as failed).
void pushAndPull(benchmark::State &state)
{
    const int clients = int(state.range(0));
    const int silent = int(state.range(1));
    constexpr int kRequests = 10;
    std::vector<double> latencies;
    std::atomic<int> failed = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto server = std::make_unique<RunningServer>();
        const int port = server->port;
        auto bodies = everyClientsRequests(clients, kRequests);
        const std::vector<int> sockets = openSilentConnections(port, silent);
        std::mutex mutex;
        state.ResumeTiming();

        std::vector<std::thread> running;
        for (int client = 0; client < clients; ++client)
            running.emplace_back([&, client] {
                httplib::Client http("127.0.0.1", port);
                http.set_bearer_token_auth(kToken.c_str());
                http.set_connection_timeout(5);
                http.set_read_timeout(5);
                std::vector<SyncRequest> &requests = bodies[std::size_t(client)];
                requests.push_back({requests.front().device, 0, {}}); // the pull
                std::vector<double> own;
                qint64 since = 0;
                for (SyncRequest &request : requests) {
                    request.since = since;
                    const auto start = std::chrono::steady_clock::now();
                    const auto reply
                        = http.Post("/v1/sync", request.encode().toStdString(), "application/json");
                    own.push_back(std::chrono::duration<double, std::milli>(
                                      std::chrono::steady_clock::now() - start)
                                      .count());
                    if (!reply || reply->status != 200) {
                        ++failed;
                        break;
                    }
                    since = SyncResponse::decode(QByteArray::fromStdString(reply->body)).seq;
                }
                const std::lock_guard lock(mutex);
                latencies.insert(latencies.end(), own.begin(), own.end());
            });
        for (std::thread &thread : running)
            thread.join();

        state.PauseTiming();
        for (const int fd : sockets)
            close(fd);
        server.reset();
        state.ResumeTiming();
    }
    std::sort(latencies.begin(), latencies.end());
    state.counters["p99_ms"] = latencies.empty() ? 0 : latencies[latencies.size() * 99 / 100];
    state.counters["failed"] = double(failed);
    state.SetItemsProcessed(state.iterations() * clients * kRequests * kRecordsPerRequest);
}

BENCHMARK(newDeskPulls10000)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

BENCHMARK(pushConcurrently)
    ->ArgName("clients")
    ->Arg(1)
    ->Arg(8)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3);

BENCHMARK(pushAndPull)
    ->ArgNames({"clients", "silent"})
    ->Args({8, 0})
    ->Args({32, 0})
    ->Args({32, 2000})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(2);

} // namespace
} // namespace furrow
