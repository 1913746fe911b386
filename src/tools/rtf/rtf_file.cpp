#include "tools/rtf/rtf_file.h"

#include "platform/errors.h"
#include "tools/rtf/rtf_reader.h"
#include "tools/rtf/rtf_writer.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace tarvik {

namespace rtf {

static QString shortName(const QString& path)
{
    return QFileInfo(path).fileName();
}

static bool hasText(const Document& document)
{
    for (const Paragraph& p : document.paragraphs) {
        if (!p.runs.isEmpty())
            return true;
    }
    return false;
}

LoadedFile loadFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw TarvikError(QStringLiteral("Impossible d'ouvrir le fichier ") + shortName(path));
    if (file.size() > MaxFileSize)
        throw TarvikError(QStringLiteral("Le fichier ") + shortName(path) +
                          QStringLiteral(" est trop volumineux pour être ouvert"));
    const QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw TarvikError(QStringLiteral("Impossible de lire le fichier ") + shortName(path));
    if (data.isEmpty())
        throw TarvikError(QStringLiteral("Le fichier ") + shortName(path) +
                          QStringLiteral(" est vide"));
    std::optional<ReadResult> result = read(data, path);
    if (!result)
        throw TarvikError(QStringLiteral("Le fichier ") + shortName(path) +
                          QStringLiteral(" n'est pas un document RTF"));
    if (!result->notices.isEmpty() && !hasText(result->document))
        throw TarvikError(QStringLiteral("Le fichier ") + shortName(path) +
                          QStringLiteral(" est trop endommagé pour être lu"));
    return LoadedFile{std::move(result->document), std::move(result->notices)};
}

void saveFile(const QString& path, const Document& document)
{
    const QByteArray data = write(document);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size() || !file.commit())
        throw TarvikError(QStringLiteral("Impossible d'enregistrer le fichier ") + shortName(path) +
                          QStringLiteral(" : ") + file.errorString());
}

QString damagedMessage(const QString& path)
{
    return QStringLiteral("Le fichier ") + shortName(path) +
           QStringLiteral(" est endommagé : une partie du document peut manquer");
}

} // namespace rtf

} // namespace tarvik
