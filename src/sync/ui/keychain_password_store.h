#pragma once

#include "sync/credentials.h"

namespace tarvik::sync {

// The desktop's keyring through QtKeychain. Without a keyring in the session
// (a server without a desktop), every call fails with the keyring's reason
// and the window asks for the password for the run.
class KeychainPasswordStore : public PasswordStore
{
public:
    std::optional<QString> read(const QUrl& server, const QString& user,
                                QString* error = nullptr) override;
    bool write(const QUrl& server, const QString& user, const QString& password,
               QString* error = nullptr) override;
};

} // namespace tarvik::sync
