#include "sync/ui/keychain_password_store.h"

#include <QEventLoop>
#include <qt6keychain/keychain.h>

namespace tarvik::sync {

namespace {

const QString Service = QStringLiteral("Tarvik");

// Runs a keyring job to its end; false, with its reason, when it failed.
bool finish(QKeychain::Job& job, QString* error)
{
    job.setAutoDelete(false);
    // Never a file of the program in place of the keyring.
    job.setInsecureFallback(false);
    QEventLoop loop;
    QObject::connect(&job, &QKeychain::Job::finished, &loop, &QEventLoop::quit);
    job.start();
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    if (job.error() == QKeychain::NoError)
        return true;
    if (error)
        *error = job.errorString();
    return false;
}

} // namespace

std::optional<QString> KeychainPasswordStore::read(const QUrl& server, const QString& user,
                                                   QString* error)
{
    QKeychain::ReadPasswordJob job(Service);
    job.setKey(passwordKey(server, user));
    if (!finish(job, error))
        return std::nullopt;
    return job.textData();
}

bool KeychainPasswordStore::write(const QUrl& server, const QString& user, const QString& password,
                                  QString* error)
{
    QKeychain::WritePasswordJob job(Service);
    job.setKey(passwordKey(server, user));
    job.setTextData(password);
    return finish(job, error);
}

} // namespace tarvik::sync
