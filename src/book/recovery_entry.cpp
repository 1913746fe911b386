#include "book/recovery.h"

#include "platform/errors.h"

#include <QCryptographicHash>
#include <QUrl>

// The bytes of a recovery entry: a heading of key=value lines, the lists with
// each line's length before it, and a last line holding the digest of all
// that came before.

namespace tarvik {

namespace {

constexpr char Marker[] = "TARVIK-RECOVERY ";

// Lines are written with their length before them, so that any byte a line
// holds comes back as it was.
void appendLines(QByteArray& out, const BlockList& lines, QIODevice& device,
                 QCryptographicHash& hash)
{
    for (const QByteArray& line : lines) {
        out += QByteArray::number(line.size());
        out += ':';
        out += line;
        out += '\n';
        if (out.size() > (1 << 20)) {
            hash.addData(out);
            device.write(out);
            out.clear();
        }
    }
}

QByteArray headingText(const Recovery::Entry& e, const Recovery::Lists& lists)
{
    QByteArray h = Marker + QByteArray::number(Recovery::Version) + '\n';
    h += "path=" + QUrl::toPercentEncoding(e.filePath, "/") + '\n';
    h += "pid=" + QByteArray::number(e.pid) + '\n';
    h += "token=" + QUrl::toPercentEncoding(e.token) + '\n';
    h += "host=" + QUrl::toPercentEncoding(e.host) + '\n';
    h += "user=" + QUrl::toPercentEncoding(e.user) + '\n';
    h += "written=" + e.written.toUTC().toString(Qt::ISODateWithMs).toLatin1() + '\n';
    h += QByteArray("readonly=") + (e.readOnly ? "1" : "0") + '\n';
    h += "contactfile=" + e.contactStamp.toText() + '\n';
    h += "operationsfile=" + e.operationsStamp.toText() + '\n';
    h += "contacts=" + QByteArray::number(lists.contacts.size()) + '\n';
    h += "operations=" + QByteArray::number(lists.operations.size()) + '\n';
    h += '\n';
    return h;
}

[[noreturn]] void damaged(const QString& why)
{
    throw TarvikError(why);
}

// Reads the heading; `pos` is left on the first line of the lists. Throws on
// a heading that is not one.
Recovery::Entry readHeading(const QByteArray& bytes, qsizetype& pos, qsizetype& contacts,
                            qsizetype& operations)
{
    if (bytes.isEmpty())
        damaged(QStringLiteral("copie vide"));
    if (!bytes.startsWith(Marker))
        damaged(QStringLiteral("ce n'est pas une copie de récupération"));
    Recovery::Entry e;
    contacts = -1;
    operations = -1;
    pos = 0;
    bool first = true;
    while (true) {
        const qsizetype end = bytes.indexOf('\n', pos);
        if (end < 0)
            damaged(QStringLiteral("copie tronquée"));
        const QByteArray line = bytes.mid(pos, end - pos);
        pos = end + 1;
        if (first) {
            first = false;
            bool ok = false;
            const int version = line.mid(int(sizeof(Marker)) - 1).toInt(&ok);
            if (!ok)
                damaged(QStringLiteral("version illisible"));
            if (version > Recovery::Version)
                damaged(QStringLiteral("copie écrite par une version plus récente du programme"));
            continue;
        }
        if (line.isEmpty())
            break;
        const qsizetype eq = line.indexOf('=');
        const QByteArray key = line.left(eq);
        const QByteArray value = eq < 0 ? QByteArray() : line.mid(eq + 1);
        if (key == "path")
            e.filePath = QUrl::fromPercentEncoding(value);
        else if (key == "pid")
            e.pid = value.toLongLong();
        else if (key == "token")
            e.token = QUrl::fromPercentEncoding(value);
        else if (key == "host")
            e.host = QUrl::fromPercentEncoding(value);
        else if (key == "user")
            e.user = QUrl::fromPercentEncoding(value);
        else if (key == "written")
            e.written = QDateTime::fromString(QString::fromLatin1(value), Qt::ISODateWithMs);
        else if (key == "readonly")
            e.readOnly = value == "1";
        else if (key == "contactfile")
            e.contactStamp = FileStamp::fromText(value);
        else if (key == "operationsfile")
            e.operationsStamp = FileStamp::fromText(value);
        else if (key == "contacts")
            contacts = value.toLongLong();
        else if (key == "operations")
            operations = value.toLongLong();
    }
    if (e.filePath.isEmpty() || contacts < 0 || operations < 0)
        damaged(QStringLiteral("en-tête incomplet"));
    return e;
}

bool readLines(const QByteArray& bytes, qsizetype& pos, qsizetype count, BlockList& out)
{
    out.reserve(count);
    for (qsizetype i = 0; i < count; ++i) {
        const qsizetype colon = bytes.indexOf(':', pos);
        if (colon < 0 || colon - pos > 12)
            return false;
        bool ok = false;
        const qsizetype length = bytes.mid(pos, colon - pos).toLongLong(&ok);
        if (!ok || length < 0 || colon + 1 + length >= bytes.size() ||
            bytes.at(colon + 1 + length) != '\n')
            return false;
        out.append(bytes.mid(colon + 1, length));
        pos = colon + 2 + length;
    }
    return true;
}

} // namespace

void Recovery::write(QIODevice& device, const Entry& heading, const Lists& lists)
{
    QCryptographicHash hash(QCryptographicHash::Sha1);
    QByteArray out = headingText(heading, lists);
    appendLines(out, lists.contacts, device, hash);
    appendLines(out, lists.operations, device, hash);
    hash.addData(out);
    device.write(out);
    // The last line proves the copy whole: a copy cut short lacks it or
    // does not match it.
    device.write("end=" + hash.result().toHex() + '\n');
}

Recovery::Entry Recovery::decode(const QByteArray& bytes)
{
    qsizetype pos = 0;
    qsizetype contacts = 0;
    qsizetype operations = 0;
    Entry e = readHeading(bytes, pos, contacts, operations);
    if (!readLines(bytes, pos, contacts, e.lists.contacts) ||
        !readLines(bytes, pos, operations, e.lists.operations))
        damaged(QStringLiteral("copie tronquée"));
    const QByteArray end = bytes.mid(pos);
    const QByteArray sum =
        QCryptographicHash::hash(bytes.left(pos), QCryptographicHash::Sha1).toHex();
    if (!end.startsWith("end="))
        damaged(QStringLiteral("copie tronquée"));
    if (end != "end=" + sum + '\n')
        damaged(QStringLiteral("copie endommagée"));
    return e;
}

Recovery::Entry Recovery::decodeHeading(const QByteArray& head)
{
    qsizetype pos = 0;
    qsizetype contacts = 0;
    qsizetype operations = 0;
    return readHeading(head, pos, contacts, operations);
}

} // namespace tarvik
