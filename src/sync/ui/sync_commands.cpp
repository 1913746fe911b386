#include "sync/ui/sync_commands.h"

#include "book/file_commands.h"
#include "book/record_book.h"
#include "platform/errors.h"
#include "platform/prompter.h"
#include "platform/ui/command_guard.h"
#include "sync/dav_client.h"
#include "sync/ui/keychain_password_store.h"
#include "sync/ui/sync_conflict_dialog.h"
#include "sync/ui/sync_settings_dialog.h"

#include <QApplication>
#include <QHash>
#include <QProgressDialog>

namespace tarvik::syncui {

namespace {

// Passwords given for the run where no keyring answers; never written anywhere.
QHash<QString, QString>& runPasswords()
{
    static QHash<QString, QString> passwords;
    return passwords;
}

QString knownPassword(const sync::DavState& state)
{
    const QString key = sync::passwordKey(state.server, state.user);
    if (runPasswords().contains(key))
        return runPasswords().value(key);
    sync::KeychainPasswordStore store;
    return store.read(state.server, state.user).value_or(QString());
}

} // namespace

void editSettings(RecordBook& book, QWidget* parent)
{
    runGuarded(parent, [&] {
        if (book.contactPath().isEmpty())
            throw TarvikError(QStringLiteral("Enregistrez d'abord le fichier de contacts."));
        sync::DavState state = book.syncState();
        QString password = state.server.isEmpty() ? QString() : knownPassword(state);
        auto discover = [](const QUrl& server, const QString& user, const QString& pw) {
            sync::DavClient client;
            client.setCredentials(user, pw);
            return client.discover(server);
        };
        if (!sync::SyncSettingsDialog::edit(state, password, discover, parent))
            return;
        book.setSyncState(state);
        sync::KeychainPasswordStore store;
        QString why;
        if (!store.write(state.server, state.user, password, &why)) {
            runPasswords().insert(sync::passwordKey(state.server, state.user), password);
            book.prompter().information(
                QStringLiteral("Le trousseau du bureau ne répond pas (%1) : le mot de passe est "
                               "gardé pour cette session seulement.")
                    .arg(why));
        }
    });
}

void synchronise(RecordBook& book, FileCommands& files, QWidget* parent)
{
    runGuarded(parent, [&] {
        if (book.contactPath().isEmpty())
            throw TarvikError(QStringLiteral("Enregistrez d'abord le fichier de contacts."));
        const sync::DavState state = book.syncState();
        if (state.server.isEmpty())
            throw TarvikError(QStringLiteral("Aucun serveur de synchronisation n'est réglé : "
                                             "Paramètres > Synchronisation..."));
        sync::SyncRequest request;
        request.readOnly = files.readOnly();
        request.password = knownPassword(state);
        if (request.password.isEmpty()) {
            const std::optional<QString> typed = book.prompter().inputPassword(
                QStringLiteral("Synchronisation"),
                QStringLiteral("Mot de passe de %1 :").arg(state.user));
            if (!typed)
                return;
            request.password = *typed;
            runPasswords().insert(sync::passwordKey(state.server, state.user), request.password);
        }

        sync::SyncReport total;
        for (int round = 0; round < 2; ++round) {
            QProgressDialog progress(QStringLiteral("Synchronisation en cours..."),
                                     QStringLiteral("Annuler"), 0, 0, parent);
            progress.setObjectName(QStringLiteral("SyncProgress"));
            progress.setWindowTitle(QStringLiteral("Synchroniser"));
            progress.setWindowModality(Qt::WindowModal);
            progress.setMinimumDuration(0);
            progress.show();
            sync::DavClient client;
            const sync::SyncResult result = book.synchronise(
                client, request, [&] { return progress.wasCanceled(); },
                [&](int done, int all) {
                    progress.setMaximum(all);
                    progress.setValue(done);
                    QApplication::processEvents();
                },
                [&] { return files.save(); });
            progress.close();
            total.sent += result.report.sent;
            total.received += result.report.received;
            total.deleted += result.report.deleted;
            total.conflicts = result.report.conflicts;
            QStringList said = result.notices + result.report.problems;
            if (result.report.cancelled)
                said.prepend(QStringLiteral("Synchronisation annulée : ce qui était commencé "
                                            "est terminé, le reste attend la prochaine."));
            if (!said.isEmpty())
                book.prompter().information(said.join(u'\n'));
            if (result.report.cancelled || result.report.conflicts.isEmpty() || round == 1)
                break;
            request.choices = sync::SyncConflictDialog::ask(result.report.conflicts, parent);
            if (request.choices.isEmpty())
                break;
        }
        book.prompter().information(total.summary());
    });
}

} // namespace tarvik::syncui
