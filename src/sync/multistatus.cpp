#include "sync/multistatus.h"

#include <QXmlStreamReader>

namespace tarvik::sync {

namespace {

constexpr QStringView Dav = u"DAV:";
constexpr QStringView CardDav = u"urn:ietf:params:xml:ns:carddav";
constexpr QStringView CalDav = u"urn:ietf:params:xml:ns:caldav";

bool is(const QXmlStreamReader& xml, QStringView ns, QStringView name)
{
    return xml.namespaceUri() == ns && xml.name() == name;
}

// The text of the first <href> inside the element the reader stands on.
QString hrefInside(QXmlStreamReader& xml)
{
    QString found;
    while (xml.readNextStartElement()) {
        if (found.isEmpty() && is(xml, Dav, u"href"))
            found = xml.readElementText(QXmlStreamReader::IncludeChildElements).trimmed();
        else
            xml.skipCurrentElement();
    }
    return found;
}

int statusCode(const QString& line)
{
    // "HTTP/1.1 200 OK"
    const QStringList parts = line.trimmed().split(u' ', Qt::SkipEmptyParts);
    if (parts.size() < 2)
        return 0;
    bool ok = false;
    const int code = parts.at(1).toInt(&ok);
    return ok ? code : 0;
}

void readProp(QXmlStreamReader& xml, DavResource& into)
{
    while (xml.readNextStartElement()) {
        if (is(xml, Dav, u"getetag")) {
            into.etag = xml.readElementText(QXmlStreamReader::IncludeChildElements).trimmed();
        } else if (is(xml, Dav, u"displayname")) {
            into.displayName = xml.readElementText(QXmlStreamReader::IncludeChildElements);
        } else if (is(xml, Dav, u"resourcetype")) {
            while (xml.readNextStartElement()) {
                if (is(xml, Dav, u"collection"))
                    into.collection = true;
                else if (is(xml, CardDav, u"addressbook"))
                    into.addressBook = true;
                else if (is(xml, CalDav, u"calendar"))
                    into.calendar = true;
                xml.skipCurrentElement();
            }
        } else if (is(xml, CalDav, u"supported-calendar-component-set")) {
            into.componentSet = true;
            while (xml.readNextStartElement()) {
                if (is(xml, CalDav, u"comp") &&
                    xml.attributes()
                            .value(QStringLiteral("name"))
                            .compare(u"VTODO", Qt::CaseInsensitive) == 0)
                    into.calendarHoldsTasks = true;
                xml.skipCurrentElement();
            }
        } else if (is(xml, Dav, u"current-user-principal")) {
            into.principal = hrefInside(xml);
        } else if (is(xml, CardDav, u"addressbook-home-set")) {
            into.addressHome = hrefInside(xml);
        } else if (is(xml, CalDav, u"calendar-home-set")) {
            into.calendarHome = hrefInside(xml);
        } else if (is(xml, CardDav, u"address-data") || is(xml, CalDav, u"calendar-data")) {
            into.data = xml.readElementText(QXmlStreamReader::IncludeChildElements).toUtf8();
        } else {
            xml.skipCurrentElement();
        }
    }
}

void readResponse(QXmlStreamReader& xml, Multistatus& out)
{
    DavResource r;
    bool anyOk = false;
    while (xml.readNextStartElement()) {
        if (is(xml, Dav, u"href")) {
            r.href = xml.readElementText(QXmlStreamReader::IncludeChildElements).trimmed();
        } else if (is(xml, Dav, u"status")) {
            r.status = statusCode(xml.readElementText(QXmlStreamReader::IncludeChildElements));
        } else if (is(xml, Dav, u"propstat")) {
            DavResource found;
            int status = 0;
            while (xml.readNextStartElement()) {
                if (is(xml, Dav, u"prop"))
                    readProp(xml, found);
                else if (is(xml, Dav, u"status"))
                    status =
                        statusCode(xml.readElementText(QXmlStreamReader::IncludeChildElements));
                else
                    xml.skipCurrentElement();
            }
            // Only the properties the server has count; the 404 propstat
            // lists those it lacks.
            if (status >= 200 && status < 300) {
                anyOk = true;
                if (!found.etag.isEmpty())
                    r.etag = found.etag;
                r.collection |= found.collection;
                r.addressBook |= found.addressBook;
                r.calendar |= found.calendar;
                r.calendarHoldsTasks |= found.calendarHoldsTasks;
                r.componentSet |= found.componentSet;
                if (!found.displayName.isEmpty())
                    r.displayName = found.displayName;
                if (!found.principal.isEmpty())
                    r.principal = found.principal;
                if (!found.addressHome.isEmpty())
                    r.addressHome = found.addressHome;
                if (!found.calendarHome.isEmpty())
                    r.calendarHome = found.calendarHome;
                if (!found.data.isEmpty())
                    r.data = found.data;
            }
        } else {
            xml.skipCurrentElement();
        }
    }
    if (r.status == 0 && anyOk)
        r.status = 200;
    out.resources.append(r);
}

} // namespace

std::optional<Multistatus> parseMultistatus(const QByteArray& body, QString* error)
{
    QXmlStreamReader xml(body);
    Multistatus out;
    bool seen = false;
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement())
            continue;
        if (is(xml, Dav, u"multistatus")) {
            seen = true;
            while (xml.readNextStartElement()) {
                if (is(xml, Dav, u"response"))
                    readResponse(xml, out);
                else if (is(xml, Dav, u"sync-token"))
                    out.syncToken = xml.readElementText().trimmed();
                else
                    xml.skipCurrentElement();
            }
        }
    }
    if (xml.hasError() || !seen) {
        if (error)
            *error = xml.hasError() ? xml.errorString() : QStringLiteral("pas de multistatus");
        return std::nullopt;
    }
    return out;
}

} // namespace tarvik::sync
