#pragma once

#include "storage/block_list.h"

#include <QByteArray>
#include <QFile>
#include <QString>

namespace tarvik {

// Writes raw bytes to a file; for building test inputs in a QTemporaryDir.
inline void writeBytes(const QString& path, const QByteArray& data)
{
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(data);
}

inline QByteArray readBytes(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

} // namespace tarvik
