#pragma once

#include "sync/dav_state.h"

#include <QDialog>
#include <functional>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace tarvik::sync {

class DavClient;
struct Discovery;

// "Synchronisation..." of the settings menu: the server, the user name and
// password, and the address book and calendar found there ("Tester"), kept
// in the contact file's sync state (the password in the keyring).
class SyncSettingsDialog : public QDialog
{
    Q_OBJECT
public:
    // `discover` asks the server (a test replaces it); it throws TarvikError.
    using Discover =
        std::function<Discovery(const QUrl& server, const QString& user, const QString& password)>;

    SyncSettingsDialog(const DavState& state, const QString& password, Discover discover,
                       QWidget* parent = nullptr);

    // The state with the chosen server, user and collections.
    DavState state() const;
    QString password() const;

    // Runs the dialog; true on OK, with `state` and `password` changed.
    static bool edit(DavState& state, QString& password, Discover discover, QWidget* parent);

private:
    void test();
    void fill(const Discovery& found);

    DavState m_state;
    Discover m_discover;
    QLineEdit* m_server;
    QLineEdit* m_user;
    QLineEdit* m_password;
    QPushButton* m_test;
    QComboBox* m_books;
    QComboBox* m_calendars;
    QLabel* m_found;
};

} // namespace tarvik::sync
