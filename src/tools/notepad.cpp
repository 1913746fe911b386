#include "tools/notepad.h"

#include "storage/block_list.h"

#include <QFileInfo>

namespace tarvik {

namespace notepad {

QString notePath(const QString& programFolder)
{
    const QString name = QStringLiteral("Contact.nte");
    if (programFolder.endsWith(QChar('/')))
        return programFolder + name;
    return programFolder + QChar('/') + name;
}

std::optional<QByteArray> load(const QString& path)
{
    if (!QFileInfo::exists(path))
        return std::nullopt;
    return blocks::loadFile(path).join('\n');
}

void save(const QString& path, const QByteArray& text)
{
    // An empty note is an empty file rather than one blank line.
    const BlockList lines = text.isEmpty() ? BlockList() : text.split('\n');
    blocks::saveFile(path, lines);
}

bool saveIfModified(const QString& path, const QByteArray& text, bool modified)
{
    if (!modified)
        return false;
    save(path, text);
    return true;
}

} // namespace notepad

} // namespace tarvik
