#include "platform/startup.h"

#include <QDir>
#include <QFileInfo>
#include <QUrl>

namespace tarvik {

namespace startup {

Arguments parseArguments(const QStringList& arguments, const QString& workingFolder)
{
    Arguments result;
    const QStringList given = arguments.mid(1);
    if (given.isEmpty())
        return result;
    if (given.size() > 1) {
        result.misused = true;
        return result;
    }
    QString name = given.first();
    // A file manager may hand over a URL rather than a path.
    if (name.startsWith(QLatin1String("file:"), Qt::CaseInsensitive)) {
        const QUrl url(name);
        // A file on another host is not ours to read as a local path.
        const bool otherHost =
            !url.host().isEmpty() && url.host().compare(QLatin1String("localhost")) != 0;
        if (!url.isValid() || !url.isLocalFile() || otherHost) {
            result.misused = true;
            return result;
        }
        name = url.toLocalFile();
    } else if (name.startsWith(QLatin1Char('-'))) {
        result.misused = true;
        return result;
    }
    // An empty argument (a launcher with no file) opens nothing.
    if (name.isEmpty())
        return result;
    result.file = QDir::cleanPath(QDir(workingFolder).absoluteFilePath(name));
    // cleanPath drops a trailing slash; the name must keep it so that the
    // file type check refuses a folder as it refuses any other name.
    if (name.endsWith(QLatin1Char('/')) && !result.file.endsWith(QLatin1Char('/')))
        result.file += QLatin1Char('/');
    return result;
}

QString usageText()
{
    return QStringLiteral("Usage : tarvik [FICHIER.ctc]\n"
                          "Démarre Tarvik et ouvre le fichier de contacts FICHIER.ctc s'il est "
                          "donné.\n");
}

QString programFolder(const QProcessEnvironment& environment, const QString& workingFolder,
                      const QString& homeFolder)
{
    if (environment.value(QLatin1String(DesktopMarker)).isEmpty())
        return workingFolder;
    // A relative XDG_DATA_HOME is invalid and must be ignored.
    QString data = environment.value(QStringLiteral("XDG_DATA_HOME"));
    if (data.isEmpty() || !QDir::isAbsolutePath(data))
        data = QDir(homeFolder).filePath(QStringLiteral(".local/share"));
    return QDir::cleanPath(QDir(data).filePath(QStringLiteral("Tarvik")));
}

bool enterProgramFolder(const QString& folder)
{
    if (!QDir().mkpath(folder))
        return false;
    return QDir::setCurrent(folder);
}

} // namespace startup

} // namespace tarvik
