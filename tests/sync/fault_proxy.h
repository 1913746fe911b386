#pragma once

#include <QHostAddress>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <QUrl>
#include <functional>
#include <memory>

namespace tarvik::testing {

// A small HTTP server of the tests' own in front of Radicale, on 127.0.0.1,
// that passes requests on or spoils the answers the way a server or a network
// can: cut short, endless, malformed, a status of its choice, or no answer.
// It runs in the test's thread: the client waits for each answer in an event
// loop, which serves the proxy's sockets too.
class FaultProxy
{
public:
    enum class Fault { None, CloseMidway, Endless, Malformed, Status, Silent };

    explicit FaultProxy(quint16 upstreamPort) : m_upstream(upstreamPort)
    {
        m_server.listen(QHostAddress::LocalHost, 0);
        QObject::connect(&m_server, &QTcpServer::newConnection, &m_server, [this] {
            while (QTcpSocket* client = m_server.nextPendingConnection())
                serve(client);
        });
    }

    QUrl base() const
    {
        return QUrl(QStringLiteral("http://127.0.0.1:%1/").arg(m_server.serverPort()));
    }

    // The fault applies to the requests of `verb` (all when empty), `times`
    // times (always when negative).
    void setFault(Fault fault, const QByteArray& verb = {}, int times = -1, int status = 0)
    {
        m_fault = fault;
        m_verb = verb;
        m_times = times;
        m_status = status;
    }
    int requests() const { return m_requests; }

private:
    void serve(QTcpSocket* client)
    {
        auto buffer = std::make_shared<QByteArray>();
        QObject::connect(client, &QTcpSocket::disconnected, client, &QObject::deleteLater);
        QObject::connect(client, &QTcpSocket::readyRead, client, [this, client, buffer] {
            buffer->append(client->readAll());
            const qsizetype end = buffer->indexOf("\r\n\r\n");
            if (end < 0)
                return;
            qsizetype length = 0;
            for (const QByteArray& line : buffer->left(end).split('\n'))
                if (line.toLower().startsWith("content-length:"))
                    length = line.mid(15).trimmed().toLongLong();
            if (buffer->size() < end + 4 + length)
                return;
            const QByteArray request = buffer->left(end + 4 + length);
            buffer->remove(0, end + 4 + length);
            answer(client, request);
        });
    }

    void answer(QTcpSocket* client, const QByteArray& request)
    {
        ++m_requests;
        const QByteArray verb = request.left(request.indexOf(' '));
        Fault fault = Fault::None;
        if (m_fault != Fault::None && (m_verb.isEmpty() || m_verb == verb) && m_times != 0) {
            fault = m_fault;
            if (m_times > 0)
                --m_times;
        }
        switch (fault) {
        case Fault::Status:
            client->write("HTTP/1.1 " + QByteArray::number(m_status) +
                          " Fault\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
            client->disconnectFromHost();
            return;
        case Fault::Malformed: {
            const QByteArray body = "<?xml version=\"1.0\"?><multistatus xmlns=\"DAV:\">"
                                    "<response><href>/a</href><propstat>";
            client->write("HTTP/1.1 207 Multi-Status\r\nContent-Type: application/xml\r\n"
                          "Content-Length: " +
                          QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n" + body);
            client->disconnectFromHost();
            return;
        }
        case Fault::Endless: {
            client->write("HTTP/1.1 207 Multi-Status\r\nContent-Type: application/xml\r\n"
                          "Connection: close\r\n\r\n<multistatus xmlns=\"DAV:\">");
            auto* timer = new QTimer(client);
            QObject::connect(timer, &QTimer::timeout, client, [client] {
                if (client->bytesToWrite() < (1 << 20))
                    client->write(QByteArray(64 * 1024, ' '));
            });
            timer->start(1);
            return;
        }
        case Fault::Silent:
            return; // the connection stays open, and nothing comes
        case Fault::CloseMidway:
        case Fault::None:
            break;
        }
        auto* upstream = new QTcpSocket(client);
        const bool cut = fault == Fault::CloseMidway;
        auto relayed = std::make_shared<qint64>(0);
        QPointer<QTcpSocket> to(client);
        QObject::connect(upstream, &QTcpSocket::readyRead, client, [upstream, to, cut, relayed] {
            QByteArray data = upstream->readAll();
            if (!to)
                return;
            if (cut) {
                // Headers and a part of the body, then the line goes dead.
                const qint64 room = 300 - *relayed;
                if (room <= 0)
                    return;
                data = data.left(room);
                *relayed += data.size();
                to->write(data);
                if (*relayed >= 300 || data.size() < room)
                    to->disconnectFromHost();
                return;
            }
            to->write(data);
        });
        QObject::connect(upstream, &QTcpSocket::disconnected, client, [to] {
            if (to)
                to->disconnectFromHost();
        });
        upstream->connectToHost(QHostAddress::LocalHost, m_upstream);
        // Radicale answers HTTP/1.0 and closes: one request per connection.
        QByteArray forwarded = request;
        forwarded.replace("Connection: Keep-Alive", "Connection: close");
        upstream->write(forwarded);
    }

    QTcpServer m_server;
    quint16 m_upstream;
    Fault m_fault = Fault::None;
    QByteArray m_verb;
    int m_times = -1;
    int m_status = 0;
    int m_requests = 0;
};

} // namespace tarvik::testing
