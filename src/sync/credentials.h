#pragma once

#include <QString>
#include <QUrl>
#include <optional>

namespace tarvik::sync {

// Where the password of a server is kept between runs: the desktop's
// keyring in the windows; never a file of the program. A store that cannot
// answer (no keyring in the session) says so, and the caller asks the user
// for the run instead.
class PasswordStore
{
public:
    virtual ~PasswordStore() = default;
    // The password kept for `user` on `server`; nothing when none is kept or
    // the store cannot answer, with the reason in `error`.
    virtual std::optional<QString> read(const QUrl& server, const QString& user,
                                        QString* error = nullptr) = 0;
    // False, with the reason in `error`, when it could not be kept.
    virtual bool write(const QUrl& server, const QString& user, const QString& password,
                       QString* error = nullptr) = 0;
};

// The key a password is kept under: the user and the server's scheme, host
// and port, so that one password serves every collection of that server.
QString passwordKey(const QUrl& server, const QString& user);

// The password of a password file: its first line, without the line end.
// Throws TarvikError when the file cannot be read, or when users other than
// its owner may read it (the password would not be the user's alone).
QString readPasswordFile(const QString& path);

} // namespace tarvik::sync
