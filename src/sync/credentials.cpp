#include "sync/credentials.h"

#include "platform/errors.h"

#include <QFile>
#include <QFileInfo>

namespace tarvik::sync {

QString passwordKey(const QUrl& server, const QString& user)
{
    return user + u'@' +
           server
               .adjusted(QUrl::RemovePath | QUrl::RemoveQuery | QUrl::RemoveFragment |
                         QUrl::RemoveUserInfo)
               .toString();
}

QString readPasswordFile(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists() || !info.isFile())
        throw TarvikError(QStringLiteral("Le fichier de mot de passe %1 n'existe pas").arg(path));
    const QFileDevice::Permissions p = info.permissions();
    if (p & (QFileDevice::ReadGroup | QFileDevice::ReadOther | QFileDevice::WriteGroup |
             QFileDevice::WriteOther))
        throw TarvikError(QStringLiteral("Le fichier de mot de passe %1 est lisible par d'autres "
                                         "utilisateurs : réservez-le à son propriétaire "
                                         "(chmod 600)")
                              .arg(path));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw TarvikError(QStringLiteral("Impossible de lire le fichier de mot de passe %1 : %2")
                              .arg(path, file.errorString()));
    QByteArray line = file.read(64 * 1024);
    const qsizetype end = line.indexOf('\n');
    if (end >= 0)
        line.truncate(end);
    if (line.endsWith('\r'))
        line.chop(1);
    return QString::fromUtf8(line);
}

} // namespace tarvik::sync
