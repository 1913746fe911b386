#pragma once

#include <QByteArray>
#include <QString>

namespace tarvik {

// What a file on disk was when the program read or wrote it: whether it was
// there, its size, its modification time and a hash of its bytes. Two stamps
// differ when another program changed, replaced or removed the file.
struct FileStamp
{
    bool exists = false;
    qint64 size = 0;
    qint64 modified = 0; // milliseconds since the epoch, UTC
    QByteArray sha1;     // hex

    bool operator==(const FileStamp&) const = default;

    // The stamp of the file as it is now; a folder or an unreadable file
    // gets a stamp that matches no file that was read.
    static FileStamp of(const QString& path);

    // One line of text, for the recovery copies.
    QByteArray toText() const;
    static FileStamp fromText(const QByteArray& text);
};

} // namespace tarvik
