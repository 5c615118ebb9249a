#include "core/sync/DesktopKeyring.h"

#include "core/eventstore/EventStoreLog.h"
#include "foundation/Localization.h"
#include "foundation/Log.h"

#include <qt6keychain/keychain.h>

namespace {

// The keyring's items are named by the service and the account's identifier.
QString keyringService() {
    return QStringLiteral("org.orvella.Orvella");
}

// The job deletes itself once it has told its end.
template <typename JobType> JobType* keyringJob(const QString& account) {
    auto* job = new JobType(keyringService());
    job->setAutoDelete(true);
    job->setInsecureFallback(false);
    job->setKey(account);
    return job;
}

} // namespace

void DesktopKeyring::readPassword(const QString& account, std::function<void(std::optional<QString>)> done) {
    auto* job = keyringJob<QKeychain::ReadPasswordJob>(account);
    QObject::connect(job, &QKeychain::Job::finished, job, [done = std::move(done)](QKeychain::Job* finished) {
        if (finished->error() != QKeychain::NoError) {
            if (finished->error() != QKeychain::EntryNotFound) {
                Log::warning(eventStoreLogCategory,
                             localizedString(QStringLiteral("The keyring gave no password: %1"))
                                 .arg(finished->errorString()));
            }
            done(std::nullopt);
            return;
        }
        done(static_cast<QKeychain::ReadPasswordJob*>(finished)->textData());
    });
    job->start();
}

void DesktopKeyring::writePassword(const QString& account, const QString& password,
                                   std::function<void(bool kept)> done) {
    auto* job = keyringJob<QKeychain::WritePasswordJob>(account);
    job->setTextData(password);
    QObject::connect(job, &QKeychain::Job::finished, job, [done = std::move(done)](QKeychain::Job* finished) {
        if (finished->error() != QKeychain::NoError) {
            Log::warning(eventStoreLogCategory,
                         localizedString(QStringLiteral("The keyring did not keep the password: %1"))
                             .arg(finished->errorString()));
        }
        done(finished->error() == QKeychain::NoError);
    });
    job->start();
}

void DesktopKeyring::removePassword(const QString& account) {
    auto* job = keyringJob<QKeychain::DeletePasswordJob>(account);
    QObject::connect(job, &QKeychain::Job::finished, job, [](QKeychain::Job* finished) {
        if (finished->error() != QKeychain::NoError && finished->error() != QKeychain::EntryNotFound) {
            Log::warning(eventStoreLogCategory,
                         localizedString(QStringLiteral("The keyring kept a removed account's password: %1"))
                             .arg(finished->errorString()));
        }
    });
    job->start();
}
