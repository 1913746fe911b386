#pragma once

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QThread>
#include <QUrl>

namespace tarvik::testing {

// A real Radicale of the test's own: on 127.0.0.1 on a free port, htpasswd
// users "alice" and "bob" (password "secret"), storage in a temporary folder,
// stopped by its process id when the object goes.
class RadicaleServer
{
public:
    static QString program() { return QStandardPaths::findExecutable(QStringLiteral("radicale")); }

    // Starts the server; false (with the reason in error()) when it cannot.
    bool start()
    {
        if (program().isEmpty()) {
            m_error = QStringLiteral("radicale is not installed (scripts/deps.sh installs it)");
            return false;
        }
        {
            QTcpServer probe;
            if (!probe.listen(QHostAddress::LocalHost, 0)) {
                m_error = QStringLiteral("no free port on 127.0.0.1");
                return false;
            }
            m_port = probe.serverPort();
        }
        const QString dir = m_dir.path();
        writeFile(dir + "/users", "alice:secret\nbob:secret\n");
        writeFile(dir + "/config", QStringLiteral("[server]\nhosts = 127.0.0.1:%1\n"
                                                  "max_content_length = 100000000\n"
                                                  "[auth]\ntype = htpasswd\n"
                                                  "htpasswd_filename = %2/users\n"
                                                  "htpasswd_encryption = plain\n"
                                                  "delay = 0\n"
                                                  "[storage]\nfilesystem_folder = %2/store\n"
                                                  "[rights]\ntype = owner_only\n"
                                                  "[logging]\nlevel = warning\n")
                                       .arg(m_port)
                                       .arg(dir)
                                       .toUtf8());
        m_process.setProgram(program());
        m_process.setArguments({QStringLiteral("--config"), dir + "/config"});
        m_process.setProcessChannelMode(QProcess::MergedChannels);
        m_process.start();
        if (!m_process.waitForStarted(5000)) {
            m_error = QStringLiteral("radicale did not start");
            return false;
        }
        QDeadlineTimer deadline(15000);
        while (!deadline.hasExpired()) {
            QTcpSocket socket;
            socket.connectToHost(QHostAddress::LocalHost, m_port);
            if (socket.waitForConnected(200))
                return true;
            if (m_process.state() != QProcess::Running)
                break;
            QThread::msleep(50);
        }
        m_error =
            QStringLiteral("radicale did not answer: ") + QString::fromUtf8(m_process.readAll());
        return false;
    }

    ~RadicaleServer()
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill(); // our own child, by its process id
            m_process.waitForFinished(5000);
        }
    }

    QString error() const { return m_error; }
    quint16 port() const { return m_port; }
    QUrl base() const { return QUrl(QStringLiteral("http://127.0.0.1:%1/").arg(m_port)); }
    QUrl url(const QString& path) const { return base().resolved(QUrl(path)); }

private:
    static void writeFile(const QString& path, const QByteArray& data)
    {
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(data);
    }

    QTemporaryDir m_dir;
    QProcess m_process;
    quint16 m_port = 0;
    QString m_error;
};

} // namespace tarvik::testing

// Starts `server` or skips the test when the package is missing; fails when
// it is installed but does not start.
#define START_RADICALE(server)                                                                     \
    do {                                                                                           \
        if (tarvik::testing::RadicaleServer::program().isEmpty())                                  \
            QSKIP("radicale is not installed: scripts/deps.sh installs it");                       \
        QVERIFY2((server).start(), qPrintable((server).error()));                                  \
    } while (false)
