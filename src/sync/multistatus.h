#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

namespace tarvik::sync {

// One <response> of a WebDAV multistatus: the properties found (status 200)
// of one resource, or the status of the whole response when it carries none.
struct DavResource
{
    QString href;   // as the server wrote it (percent-encoded path or URL)
    int status = 0; // the response's own status, or 200 when a propstat said so
    QString etag;
    bool collection = false;
    bool addressBook = false;
    bool calendar = false;
    bool calendarHoldsTasks = false; // supported-calendar-component-set names VTODO
    bool componentSet = false;       // the server gave that set at all
    QString displayName;
    QString principal;    // current-user-principal
    QString addressHome;  // addressbook-home-set
    QString calendarHome; // calendar-home-set
    QByteArray data;      // address-data or calendar-data, UTF-8
};

struct Multistatus
{
    QList<DavResource> resources;
    QString syncToken;
};

// Reads a multistatus body. Returns nothing when the body is not well-formed
// XML or holds no multistatus element; `error` then says why.
std::optional<Multistatus> parseMultistatus(const QByteArray& body, QString* error = nullptr);

} // namespace tarvik::sync
