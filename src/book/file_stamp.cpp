#include "book/file_stamp.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>

namespace tarvik {

FileStamp FileStamp::of(const QString& path)
{
    FileStamp s;
    const QFileInfo info(path);
    if (!info.exists())
        return s;
    s.exists = true;
    s.size = info.size();
    s.modified = info.lastModified().toMSecsSinceEpoch();
    if (!info.isFile()) {
        s.sha1 = "not a file";
        return s;
    }
    QFile f(path);
    QCryptographicHash hash(QCryptographicHash::Sha1);
    if (!f.open(QIODevice::ReadOnly) || !hash.addData(&f)) {
        s.sha1 = "unreadable";
        return s;
    }
    s.sha1 = hash.result().toHex();
    return s;
}

QByteArray FileStamp::toText() const
{
    if (!exists)
        return "none";
    return QByteArray::number(size) + ' ' + QByteArray::number(modified) + ' ' + sha1;
}

FileStamp FileStamp::fromText(const QByteArray& text)
{
    FileStamp s;
    const QList<QByteArray> parts = text.split(' ');
    if (parts.size() < 3)
        return s;
    s.exists = true;
    s.size = parts.at(0).toLongLong();
    s.modified = parts.at(1).toLongLong();
    s.sha1 = text.mid(parts.at(0).size() + parts.at(1).size() + 2);
    return s;
}

} // namespace tarvik
