#include "Keyring.h"

#include "SecretService.h"

#include <qt6keychain/keychain.h>

namespace furrow::Keyring {

namespace {

// Starts `job` and hands its outcome to `done`; the job deletes itself once it has finished.
void run(QKeychain::Job *job, const QString &key, Done done)
{
    job->setAutoDelete(true);
    job->setKey(key);
    QObject::connect(job, &QKeychain::Job::finished, job, [done](QKeychain::Job *finished) {
        Answer answer;
        answer.ok = finished->error() == QKeychain::NoError
                    || finished->error() == QKeychain::EntryNotFound;
        if (!answer.ok)
            answer.error = finished->errorString();
        else if (auto *reading = qobject_cast<QKeychain::ReadPasswordJob *>(finished))
            answer.value = reading->textData();
        done(answer);
    });
    job->start();
}

} // namespace

void read(const QString &key, Done done)
{
    run(new QKeychain::ReadPasswordJob(QStringLiteral(FURROW_APP_ID)), key,
        [done](const Answer &answer) {
            // A keyring left locked (the user refused to unlock it) reports no entry, exactly
            // as if none had been stored: that must not pass for an empty secret.
            if (answer.ok && answer.value.isEmpty() && SecretService::isLocked())
                return done({false, {}, QStringLiteral("связка осталась запертой")});
            done(answer);
        });
}

void write(const QString &key, const QString &value, Done done)
{
    auto *job = new QKeychain::WritePasswordJob(QStringLiteral(FURROW_APP_ID));
    job->setTextData(value);
    run(job, key, std::move(done));
}

} // namespace furrow::Keyring
