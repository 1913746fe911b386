#include "sync/ui/sync_settings_dialog.h"

#include "platform/errors.h"
#include "platform/ui/command_guard.h"
#include "sync/dav_client.h"
#include "sync/sync_job.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace tarvik::sync {

namespace {

// A collection in a list: its name, and its URL for the one who needs it.
void addCollection(QComboBox* box, const QString& name, const QUrl& url)
{
    const QString shown =
        name.isEmpty() ? url.path() : name + QStringLiteral(" (") + url.path() + u')';
    box->addItem(shown, url);
}

void select(QComboBox* box, const QUrl& url)
{
    const int i = box->findData(url);
    if (i >= 0)
        box->setCurrentIndex(i);
}

} // namespace

SyncSettingsDialog::SyncSettingsDialog(const DavState& state, const QString& password,
                                       Discover discover, QWidget* parent)
    : QDialog(parent), m_state(state), m_discover(std::move(discover))
{
    setObjectName(QStringLiteral("SyncSettingsDialog"));
    setWindowTitle(QStringLiteral("Synchronisation"));

    m_server = new QLineEdit(state.server.toString(), this);
    m_server->setObjectName(QStringLiteral("SyncServerEdit"));
    m_server->setPlaceholderText(QStringLiteral("https://cloud.exemple.fr/remote.php/dav"));
    m_server->setMinimumWidth(380);
    m_user = new QLineEdit(state.user, this);
    m_user->setObjectName(QStringLiteral("SyncUserEdit"));
    m_password = new QLineEdit(password, this);
    m_password->setObjectName(QStringLiteral("SyncPasswordEdit"));
    m_password->setEchoMode(QLineEdit::Password);
    m_test = new QPushButton(QStringLiteral("Tester"), this);
    m_test->setObjectName(QStringLiteral("SyncTestButton"));
    m_books = new QComboBox(this);
    m_books->setObjectName(QStringLiteral("SyncAddressBookCombo"));
    m_calendars = new QComboBox(this);
    m_calendars->setObjectName(QStringLiteral("SyncCalendarCombo"));
    m_found = new QLabel(this);
    m_found->setObjectName(QStringLiteral("SyncFoundLabel"));
    m_found->setWordWrap(true);

    // What was kept stays choosable before any test.
    if (!state.addressBook.isEmpty())
        addCollection(m_books, QString(), state.addressBook);
    m_calendars->addItem(QStringLiteral("(pas de relances)"), QUrl());
    if (!state.calendar.isEmpty()) {
        addCollection(m_calendars, QString(), state.calendar);
        select(m_calendars, state.calendar);
    }

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Serveur"), m_server);
    form->addRow(QStringLiteral("Utilisateur"), m_user);
    form->addRow(QStringLiteral("Mot de passe"), m_password);
    form->addRow(QString(), m_test);
    form->addRow(QStringLiteral("Carnet d'adresses"), m_books);
    form->addRow(QStringLiteral("Calendrier des relances"), m_calendars);
    form->addRow(QString(), m_found);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Annuler"));
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);

    connect(m_test, &QPushButton::clicked, this, [this] { test(); });
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        const QString why = DavClient::refusal(QUrl(m_server->text().trimmed()));
        if (!why.isEmpty()) {
            m_found->setText(why);
            return;
        }
        accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

void SyncSettingsDialog::test()
{
    const QUrl server(m_server->text().trimmed());
    try {
        WaitCursor wait;
        fill(m_discover(server, m_user->text(), m_password->text()));
    } catch (const TarvikError& e) {
        m_found->setText(e.text());
    }
}

void SyncSettingsDialog::fill(const Discovery& found)
{
    const QUrl book = m_books->currentData().toUrl();
    const QUrl calendar = m_calendars->currentData().toUrl();
    m_books->clear();
    for (const DavCollection& c : found.addressBooks)
        addCollection(m_books, c.name, c.url);
    m_calendars->clear();
    m_calendars->addItem(QStringLiteral("(pas de relances)"), QUrl());
    for (const DavCollection& c : found.calendars)
        addCollection(m_calendars, c.name, c.url);
    select(m_books, book);
    if (!calendar.isEmpty())
        select(m_calendars, calendar);
    else if (!found.calendars.isEmpty())
        m_calendars->setCurrentIndex(1);
    m_found->setText(describeDiscovery(found));
}

DavState SyncSettingsDialog::state() const
{
    DavState s = m_state;
    const QUrl server(m_server->text().trimmed());
    if (server != s.server) {
        // Another server: what was synced with the old one says nothing here.
        s.cards.clear();
        s.tasks.clear();
    }
    s.server = server;
    s.user = m_user->text().trimmed();
    const QUrl book = m_books->currentData().toUrl();
    if (book != s.addressBook)
        s.cards.clear();
    s.addressBook = book;
    const QUrl calendar = m_calendars->currentData().toUrl();
    if (calendar != s.calendar)
        s.tasks.clear();
    s.calendar = calendar;
    return s;
}

QString SyncSettingsDialog::password() const
{
    return m_password->text();
}

bool SyncSettingsDialog::edit(DavState& state, QString& password, Discover discover,
                              QWidget* parent)
{
    SyncSettingsDialog dialog(state, password, std::move(discover), parent);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    state = dialog.state();
    password = dialog.password();
    return true;
}

} // namespace tarvik::sync
