#include "sync/dav_client.h"

#include "platform/errors.h"

#include <QEventLoop>
#include <QHostAddress>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>

namespace tarvik::sync {

namespace {

const QByteArray XmlType = "application/xml; charset=utf-8";

QByteArray xmlEscape(const QString& text)
{
    return text.toHtmlEscaped().toUtf8();
}

} // namespace

DavClient::DavClient(DavLimits limits)
    : m_limits(limits), m_nam(std::make_unique<QNetworkAccessManager>())
{
    m_nam->setRedirectPolicy(QNetworkRequest::ManualRedirectPolicy);
    // Each request is waited for alone; a cache could hand back a stale card.
    m_nam->setCache(nullptr);
}

DavClient::~DavClient() = default;

void DavClient::setCredentials(const QString& user, const QString& password)
{
    if (user.isEmpty() && password.isEmpty()) {
        m_authorization.clear();
        return;
    }
    m_authorization = "Basic " + (user + u':' + password).toUtf8().toBase64();
}

bool DavClient::isLoopback(const QUrl& url)
{
    const QString host = url.host();
    if (host.compare(u"localhost", Qt::CaseInsensitive) == 0)
        return true;
    QHostAddress address;
    return address.setAddress(host) && address.isLoopback();
}

QString DavClient::refusal(const QUrl& url)
{
    if (!url.isValid() || url.host().isEmpty())
        return QStringLiteral("L'adresse du serveur n'est pas valide : %1").arg(url.toString());
    const QString scheme = url.scheme().toLower();
    if (scheme == u"https")
        return {};
    if (scheme == u"http") {
        if (isLoopback(url))
            return {};
        return QStringLiteral("Connexion non chiffrée refusée : %1 (seule une adresse locale "
                              "peut être jointe en http, utilisez https)")
            .arg(url.host());
    }
    return QStringLiteral("Protocole non pris en charge : %1").arg(url.scheme());
}

DavReply DavClient::send(const QByteArray& verb, const QUrl& target, const QByteArray& body,
                         const QList<Header>& headers, qint64 maxBody)
{
    if (maxBody < 0)
        maxBody = m_limits.maxListing;
    QUrl url = target;
    for (int hop = 0;; ++hop) {
        if (const QString why = refusal(url); !why.isEmpty()) {
            DavReply refused;
            refused.url = url;
            refused.error = why;
            return refused;
        }
        QUrl location;
        DavReply out = sendOnce(verb, url, body, headers, maxBody, location);
        const bool redirect = out.status == 301 || out.status == 302 || out.status == 303 ||
                              out.status == 307 || out.status == 308;
        if (!redirect || !out.error.isEmpty())
            return out;
        if (hop >= m_limits.maxRedirects) {
            out.error = QStringLiteral("Trop de redirections depuis %1").arg(target.toString());
            return out;
        }
        const QUrl next = url.resolved(location);
        if (next.scheme().compare(url.scheme(), Qt::CaseInsensitive) != 0) {
            out.error = QStringLiteral("Redirection refusée vers un autre protocole : %1")
                            .arg(next.toString(QUrl::RemoveUserInfo));
            return out;
        }
        url = next;
    }
}

DavReply DavClient::sendOnce(const QByteArray& verb, const QUrl& url, const QByteArray& body,
                             const QList<Header>& headers, qint64 maxBody, QUrl& location)
{
    DavReply out;
    out.url = url;
    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::ManualRedirectPolicy);
    request.setAttribute(QNetworkRequest::Http2AllowedAttribute, false);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute,
                         QNetworkRequest::AlwaysNetwork);
    request.setTransferTimeout(m_limits.idleMs);
    if (!m_authorization.isEmpty())
        request.setRawHeader("Authorization", m_authorization);
    for (const auto& [name, value] : headers)
        request.setRawHeader(name, value);

    ++m_requests;
    QNetworkReply* reply = m_nam->sendCustomRequest(request, verb, body);
    QEventLoop loop;
    QTimer whole;
    whole.setSingleShot(true);
    bool tooBig = false;
    bool overTime = false;
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    QObject::connect(reply, &QNetworkReply::metaDataChanged, &loop, [&] {
        const QVariant length = reply->header(QNetworkRequest::ContentLengthHeader);
        if (length.isValid() && length.toLongLong() > maxBody) {
            tooBig = true;
            reply->abort();
        }
    });
    QObject::connect(reply, &QNetworkReply::downloadProgress, &loop, [&](qint64 received, qint64) {
        if (received > maxBody && !tooBig) {
            tooBig = true;
            reply->abort();
        }
    });
    QObject::connect(&whole, &QTimer::timeout, &loop, [&] {
        overTime = true;
        reply->abort();
    });
    whole.start(m_limits.requestMs);
    if (!reply->isFinished())
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    whole.stop();

    out.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    out.etag = QString::fromUtf8(reply->rawHeader("ETag"));
    location = reply->header(QNetworkRequest::LocationHeader).toUrl();
    if (tooBig) {
        out.error = QStringLiteral("Réponse trop volumineuse du serveur (plus de %1 Mo) : %2")
                        .arg(maxBody / (1024 * 1024))
                        .arg(url.toString(QUrl::RemoveUserInfo));
    } else if (overTime) {
        out.error = QStringLiteral("Le serveur ne répond pas dans le temps imparti : %1")
                        .arg(url.toString(QUrl::RemoveUserInfo));
    } else if (reply->error() == QNetworkReply::OperationCanceledError ||
               reply->error() == QNetworkReply::TimeoutError) {
        out.error = QStringLiteral("Le serveur ne répond pas dans le temps imparti : %1")
                        .arg(url.toString(QUrl::RemoveUserInfo));
    } else if (reply->error() == QNetworkReply::RemoteHostClosedError) {
        out.error = QStringLiteral("Réponse interrompue par le serveur : %1")
                        .arg(url.toString(QUrl::RemoveUserInfo));
    } else if (out.status == 0 && reply->error() != QNetworkReply::NoError) {
        // No HTTP answer: connection refused or cut, a certificate refused...
        out.error =
            QStringLiteral("Échec de la connexion au serveur : %1").arg(reply->errorString());
    } else {
        out.body = reply->readAll();
        if (reply->error() != QNetworkReply::NoError && out.status >= 200 && out.status < 300)
            out.error =
                QStringLiteral("Réponse interrompue par le serveur : %1").arg(reply->errorString());
    }
    reply->deleteLater();
    return out;
}

DavReply DavClient::propfind(const QUrl& url, int depth, const QByteArray& props)
{
    const QByteArray body = "<?xml version=\"1.0\" encoding=\"utf-8\"?>"
                            "<d:propfind xmlns:d=\"DAV:\" "
                            "xmlns:card=\"urn:ietf:params:xml:ns:carddav\" "
                            "xmlns:cal=\"urn:ietf:params:xml:ns:caldav\"><d:prop>" +
                            props + "</d:prop></d:propfind>";
    return send("PROPFIND", url, body,
                {{"Depth", QByteArray::number(depth)}, {"Content-Type", XmlType}});
}

DavReply DavClient::listMembers(const QUrl& collection)
{
    return propfind(collection, 1, "<d:getetag/><d:resourcetype/>");
}

DavReply DavClient::multiget(const QUrl& collection, const QStringList& hrefs, bool calendar)
{
    QByteArray body = "<?xml version=\"1.0\" encoding=\"utf-8\"?>";
    if (calendar)
        body += "<cal:calendar-multiget xmlns:d=\"DAV:\" "
                "xmlns:cal=\"urn:ietf:params:xml:ns:caldav\">"
                "<d:prop><d:getetag/><cal:calendar-data/></d:prop>";
    else
        body += "<card:addressbook-multiget xmlns:d=\"DAV:\" "
                "xmlns:card=\"urn:ietf:params:xml:ns:carddav\">"
                "<d:prop><d:getetag/><card:address-data/></d:prop>";
    for (const QString& href : hrefs)
        body += "<d:href>" + xmlEscape(href) + "</d:href>";
    body += calendar ? "</cal:calendar-multiget>" : "</card:addressbook-multiget>";
    return send("REPORT", collection, body, {{"Depth", "1"}, {"Content-Type", XmlType}});
}

DavReply DavClient::put(const QUrl& url, const QByteArray& data, const QByteArray& contentType,
                        const QString& etag)
{
    QList<Header> headers{{"Content-Type", contentType}};
    if (etag.isEmpty())
        headers.append(Header("If-None-Match", "*"));
    else
        headers.append(Header("If-Match", etag.toUtf8()));
    return send("PUT", url, data, headers, m_limits.maxCard);
}

DavReply DavClient::remove(const QUrl& url, const QString& etag)
{
    QList<Header> headers;
    if (!etag.isEmpty())
        headers.append(Header("If-Match", etag.toUtf8()));
    return send("DELETE", url, {}, headers, m_limits.maxCard);
}

DavReply DavClient::makeAddressBook(const QUrl& url, const QString& name)
{
    const QByteArray body =
        "<?xml version=\"1.0\" encoding=\"utf-8\"?>"
        "<d:mkcol xmlns:d=\"DAV:\" xmlns:card=\"urn:ietf:params:xml:ns:carddav\">"
        "<d:set><d:prop><d:resourcetype><d:collection/><card:addressbook/></d:resourcetype>"
        "<d:displayname>" +
        xmlEscape(name) + "</d:displayname></d:prop></d:set></d:mkcol>";
    return send("MKCOL", url, body, {{"Content-Type", XmlType}});
}

DavReply DavClient::makeCalendar(const QUrl& url, const QString& name)
{
    const QByteArray body =
        "<?xml version=\"1.0\" encoding=\"utf-8\"?>"
        "<cal:mkcalendar xmlns:d=\"DAV:\" xmlns:cal=\"urn:ietf:params:xml:ns:caldav\">"
        "<d:set><d:prop><d:displayname>" +
        xmlEscape(name) +
        "</d:displayname><cal:supported-calendar-component-set><cal:comp name=\"VTODO\"/>"
        "</cal:supported-calendar-component-set></d:prop></d:set></cal:mkcalendar>";
    return send("MKCALENDAR", url, body, {{"Content-Type", XmlType}});
}

QUrl resolveHref(const QUrl& base, const QString& href)
{
    return base.resolved(QUrl(href));
}

static bool takesTasks(const DavResource& r)
{
    // A calendar that does not say which components it takes takes them all.
    return r.calendar && (!r.componentSet || r.calendarHoldsTasks);
}

QString DavClient::describe(const DavReply& reply)
{
    const QString where = reply.url.toString(QUrl::RemoveUserInfo);
    if (!reply.error.isEmpty())
        return reply.error;
    switch (reply.status) {
    case 401:
        return QStringLiteral("Nom d'utilisateur ou mot de passe refusé par le serveur (401) : %1")
            .arg(where);
    case 403:
        return QStringLiteral("Accès refusé par le serveur (403) : %1").arg(where);
    case 404:
        return QStringLiteral("Collection ou élément introuvable sur le serveur (404) : %1")
            .arg(where);
    case 412:
        return QStringLiteral("Modifié sur le serveur entre-temps (412) : %1").arg(where);
    case 507:
        return QStringLiteral("Espace insuffisant sur le serveur (507) : %1").arg(where);
    default:
        return QStringLiteral("Réponse inattendue du serveur (%1) : %2")
            .arg(reply.status)
            .arg(where);
    }
}

QList<DavCollection> DavClient::collectionsUnder(const QUrl& home, bool calendars)
{
    const DavReply reply = propfind(
        home, 1, "<d:resourcetype/><d:displayname/><cal:supported-calendar-component-set/>");
    if (!reply.ok() || reply.status != 207)
        throw TarvikError(describe(reply));
    QString why;
    const auto ms = parseMultistatus(reply.body, &why);
    if (!ms)
        throw TarvikError(QStringLiteral("Réponse illisible du serveur (%1) : %2")
                              .arg(why, reply.url.toString(QUrl::RemoveUserInfo)));
    QList<DavCollection> out;
    for (const DavResource& r : ms->resources) {
        // A calendar without a component set takes every component.
        const bool fits = calendars ? takesTasks(r) : r.addressBook;
        if (!fits || r.status != 200)
            continue;
        out.append({resolveHref(reply.url, r.href), r.displayName});
    }
    return out;
}

Discovery DavClient::discover(const QUrl& base)
{
    if (const QString why = refusal(base); !why.isEmpty())
        throw TarvikError(why);
    Discovery found;

    // The URL may name a collection itself.
    const DavReply self = propfind(base, 0,
                                   "<d:resourcetype/><d:displayname/><d:current-user-principal/>"
                                   "<cal:supported-calendar-component-set/>");
    if (!self.error.isEmpty() || self.status == 401 || self.status == 403)
        throw TarvikError(describe(self));
    QUrl principal;
    if (self.status == 207) {
        if (const auto ms = parseMultistatus(self.body)) {
            for (const DavResource& r : ms->resources) {
                if (r.addressBook)
                    found.addressBooks.append({resolveHref(self.url, r.href), r.displayName});
                if (takesTasks(r))
                    found.calendars.append({resolveHref(self.url, r.href), r.displayName});
                if (!r.principal.isEmpty())
                    principal = resolveHref(self.url, r.principal);
            }
        }
    }
    if (!found.addressBooks.isEmpty() || !found.calendars.isEmpty())
        return found;

    if (principal.isEmpty()) {
        for (const char* wellKnown : {"/.well-known/carddav", "/.well-known/caldav"}) {
            QUrl probe = base;
            probe.setPath(QString::fromLatin1(wellKnown));
            const DavReply r = propfind(probe, 0, "<d:current-user-principal/>");
            if (r.status == 207) {
                if (const auto ms = parseMultistatus(r.body)) {
                    for (const DavResource& res : ms->resources)
                        if (!res.principal.isEmpty())
                            principal = resolveHref(r.url, res.principal);
                }
            }
            if (!principal.isEmpty())
                break;
        }
    }
    if (principal.isEmpty())
        throw TarvikError(QStringLiteral("Aucun carnet d'adresses trouvé à cette adresse : %1")
                              .arg(base.toString(QUrl::RemoveUserInfo)));
    found.principal = principal;

    const DavReply homes =
        propfind(principal, 0, "<card:addressbook-home-set/><cal:calendar-home-set/>");
    if (homes.status != 207)
        throw TarvikError(describe(homes));
    QUrl addressHome, calendarHome;
    if (const auto ms = parseMultistatus(homes.body)) {
        for (const DavResource& r : ms->resources) {
            if (!r.addressHome.isEmpty())
                addressHome = resolveHref(homes.url, r.addressHome);
            if (!r.calendarHome.isEmpty())
                calendarHome = resolveHref(homes.url, r.calendarHome);
        }
    }
    if (!addressHome.isEmpty())
        found.addressBooks = collectionsUnder(addressHome, false);
    if (!calendarHome.isEmpty())
        found.calendars = collectionsUnder(calendarHome, true);
    return found;
}

} // namespace tarvik::sync
