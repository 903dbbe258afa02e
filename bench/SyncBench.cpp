// Sync throughput: sealing and opening bodies of a typical size against raw AES-256-GCM, and the
// record mapping of 10 000 tasks on the way out (changes after the mark) and on the way in
// (applying one page).

#include "model/ModelContext.h"
#include "sync/Snapshot.h"
#include "sync/SyncCrypto.h"
#include "sync/SyncMerge.h"
#include "sync/SyncRecordMapping.h"
#include "sync/wire/SyncBodyCoding.h"
#include "sync/wire/SyncResponse.h"

#include <openssl/evp.h>

#include <benchmark/benchmark.h>

namespace furrow {
namespace {

constexpr int kTasks = 10'000;

// A task body of about 300 bytes of JSON, as most tasks have.
SyncBody typicalBody()
{
    auto task = std::make_shared<TaskItem>(QStringLiteral("Call the plumber about the kitchen tap"),
                                           nullptr, 12, nullptr);
    task->setNote(QStringLiteral("Ask for Tuesday morning, before the school run; the spare key "
                                 "is with the neighbours at number 12"));
    task->setDueDate(task->createdAt());
    return syncRecord(*task).body;
}

const SyncCrypto &key()
{
    static const SyncCrypto crypto = *SyncCrypto::fromPhrase(QStringLiteral("correct horse"));
    return crypto;
}

void BM_RawAesGcmSeal(benchmark::State &state)
{
    const QByteArray plaintext = SyncBodyCoding::encode(typicalBody());
    QByteArray out(plaintext.size() + 16, Qt::Uninitialized);
    auto *buffer = reinterpret_cast<unsigned char *>(out.data());
    const unsigned char keyBytes[32] = {1};
    const unsigned char nonce[12] = {2};
    EVP_CIPHER_CTX *context = EVP_CIPHER_CTX_new();
    EVP_EncryptInit_ex(context, EVP_aes_256_gcm(), nullptr, keyBytes, nullptr);
    for (auto _ : state) {
        int length = 0;
        EVP_EncryptInit_ex(context, nullptr, nullptr, nullptr, nonce);
        EVP_EncryptUpdate(context, buffer, &length,
                          reinterpret_cast<const unsigned char *>(plaintext.data()),
                          int(plaintext.size()));
        EVP_EncryptFinal_ex(context, buffer + length, &length);
        EVP_CIPHER_CTX_ctrl(context, EVP_CTRL_GCM_GET_TAG, 16, buffer + plaintext.size());
        benchmark::DoNotOptimize(buffer);
    }
    EVP_CIPHER_CTX_free(context);
    state.SetBytesProcessed(state.iterations() * plaintext.size());
}
BENCHMARK(BM_RawAesGcmSeal);

void BM_SealBody(benchmark::State &state)
{
    const SyncBody body = typicalBody();
    for (auto _ : state)
        benchmark::DoNotOptimize(key().seal(body));
    state.SetBytesProcessed(state.iterations() * SyncBodyCoding::encode(body).size());
    state.counters["plaintext_bytes"] = double(SyncBodyCoding::encode(body).size());
}
BENCHMARK(BM_SealBody);

void BM_OpenBody(benchmark::State &state)
{
    const SyncBody body = typicalBody();
    const QString sealed = key().seal(body);
    for (auto _ : state)
        benchmark::DoNotOptimize(key().open(sealed));
    state.SetBytesProcessed(state.iterations() * SyncBodyCoding::encode(body).size());
}
BENCHMARK(BM_OpenBody);

void fillTasks(ModelContext &context)
{
    auto *project = context.insert(std::make_shared<Project>(QStringLiteral("Home"), "#123456", 0));
    auto *section = context.insert(std::make_shared<Section>(QStringLiteral("Today"), nullptr, 0));
    for (int i = 0; i < kTasks; ++i)
        context.insert(std::make_shared<TaskItem>(QStringLiteral("Task %1").arg(i), section, i,
                                                  i % 2 ? project : nullptr));
}

void BM_ChangesAfterMark(benchmark::State &state)
{
    ModelContext context;
    fillTasks(context);
    for (auto _ : state) {
        const Snapshot snapshot(context);
        benchmark::DoNotOptimize(snapshot.changes(0));
    }
    state.SetItemsProcessed(state.iterations() * kTasks);
}
BENCHMARK(BM_ChangesAfterMark)->Unit(benchmark::kMillisecond);

// The step that follows in a cycle: sealing every one of those records.
void BM_SealAllChanges(benchmark::State &state)
{
    ModelContext context;
    fillTasks(context);
    const std::vector<SyncRecord> changes = Snapshot(context).changes(0);
    for (auto _ : state) {
        for (const SyncRecord &record : changes)
            benchmark::DoNotOptimize(key().sealed(record));
    }
    state.SetItemsProcessed(state.iterations() * qint64(changes.size()));
}
BENCHMARK(BM_SealAllChanges)->Unit(benchmark::kMillisecond);

std::vector<SyncRecord> incomingPage()
{
    ModelContext source;
    fillTasks(source);
    std::vector<SyncRecord> page;
    for (const auto &task : source.rows<TaskItem>())
        page.push_back(syncRecord(*task));
    return page;
}

// The step before applying: decoding the page as it comes off the wire.
void BM_DecodeIncomingPage(benchmark::State &state)
{
    const QByteArray json = SyncResponse{1, 0, false, incomingPage()}.encode();
    for (auto _ : state)
        benchmark::DoNotOptimize(SyncResponse::decode(json));
    state.SetItemsProcessed(state.iterations() * kTasks);
}
BENCHMARK(BM_DecodeIncomingPage)->Unit(benchmark::kMillisecond);

void BM_ApplyIncomingPage(benchmark::State &state)
{
    const std::vector<std::vector<SyncRecord>> pages{incomingPage()};
    for (auto _ : state) {
        state.PauseTiming();
        auto context = std::make_unique<ModelContext>();
        state.ResumeTiming();
        benchmark::DoNotOptimize(SyncMerge::applyPages(*context, pages));
        state.PauseTiming();
        context.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * kTasks);
}
BENCHMARK(BM_ApplyIncomingPage)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace furrow
