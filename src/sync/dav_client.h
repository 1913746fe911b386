#pragma once

#include "sync/multistatus.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QUrl>
#include <memory>
#include <utility>

class QNetworkAccessManager;

namespace tarvik::sync {

// What one request may cost. A server that sends more than the bound, or
// nothing for longer than the idle time, has its request stopped.
struct DavLimits
{
    qint64 maxCard = 10LL * 1024 * 1024;     // one card or task
    qint64 maxListing = 200LL * 1024 * 1024; // one multistatus
    int idleMs = 30000;                      // without any byte received
    int requestMs = 30 * 60 * 1000;          // a whole request, whatever arrives
    int maxRedirects = 5;
};

struct DavReply
{
    int status = 0; // the HTTP status, 0 when no answer came
    QByteArray body;
    QString etag;  // the ETag header
    QUrl url;      // where the answer came from, after redirects
    QString error; // why no usable answer came (French), empty otherwise

    bool ok() const { return error.isEmpty() && status >= 200 && status < 300; }
};

// A collection found on the server.
struct DavCollection
{
    QUrl url;
    QString name;
};

struct Discovery
{
    QList<DavCollection> addressBooks;
    QList<DavCollection> calendars; // those that take tasks
    QUrl principal;
};

// WebDAV, CardDAV and CalDAV requests, one at a time, each waited for in a
// local event loop. Only the network is here: what to send is decided by the
// sync plan.
class DavClient
{
public:
    using Header = std::pair<QByteArray, QByteArray>;

    explicit DavClient(DavLimits limits = {});
    ~DavClient();
    DavClient(const DavClient&) = delete;
    DavClient& operator=(const DavClient&) = delete;

    void setCredentials(const QString& user, const QString& password);
    const DavLimits& limits() const { return m_limits; }

    // Empty when requests may go to `url`; otherwise the French reason they
    // may not: HTTPS for every host, plain HTTP only for a loopback one.
    static QString refusal(const QUrl& url);
    static bool isLoopback(const QUrl& url);

    // One request; redirects followed (same scheme, limited). `maxBody` bounds
    // the answer's size.
    DavReply send(const QByteArray& verb, const QUrl& url, const QByteArray& body = {},
                  const QList<Header>& headers = {}, qint64 maxBody = -1);
    int requestCount() const { return m_requests; }

    // --- the requests of a sync
    // PROPFIND of `props` (already-written XML inside <prop>) with `depth`.
    DavReply propfind(const QUrl& url, int depth, const QByteArray& props);
    // Every member of a collection with its ETag.
    DavReply listMembers(const QUrl& collection);
    // The cards (or tasks) of `hrefs` in one REPORT.
    DavReply multiget(const QUrl& collection, const QStringList& hrefs, bool calendar);
    // PUT: `etag` empty creates (If-None-Match: *), otherwise If-Match.
    DavReply put(const QUrl& url, const QByteArray& data, const QByteArray& contentType,
                 const QString& etag);
    DavReply remove(const QUrl& url, const QString& etag);
    DavReply makeAddressBook(const QUrl& url, const QString& name);
    DavReply makeCalendar(const QUrl& url, const QString& name);

    // The address books and task calendars reachable from `base`: a
    // collection itself, or a server through /.well-known, the principal and
    // its home sets. Throws TarvikError with the reason when nothing answers.
    Discovery discover(const QUrl& base);

    // The French message for a reply that failed, naming what was asked.
    static QString describe(const DavReply& reply);

private:
    // One request and its answer, no redirect followed; `location` is the
    // answer's Location header.
    DavReply sendOnce(const QByteArray& verb, const QUrl& url, const QByteArray& body,
                      const QList<Header>& headers, qint64 maxBody, QUrl& location);

    QList<DavCollection> collectionsUnder(const QUrl& home, bool calendars);

    DavLimits m_limits;
    std::unique_ptr<QNetworkAccessManager> m_nam;
    QByteArray m_authorization;
    int m_requests = 0;
};

// `href` of a multistatus resolved against the URL that was asked.
QUrl resolveHref(const QUrl& base, const QString& href);

} // namespace tarvik::sync
