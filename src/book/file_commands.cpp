#include "book/file_commands.h"

#include "book/record_book.h"
#include "platform/errors.h"
#include "platform/prompter.h"

#include <QFileInfo>

namespace tarvik {

FileCommands::FileCommands(RecordBook& book, Prompter& prompter)
    : m_book(book), m_prompter(prompter)
{
}

QString FileCommands::withoutExtension(const QString& name)
{
    QString base = name;
    const qsizetype slash =
        std::max(base.lastIndexOf(QLatin1Char('/')), base.lastIndexOf(QLatin1Char('\\')));
    const qsizetype dot = base.lastIndexOf(QLatin1Char('.'));
    if (dot > slash)
        base.truncate(dot);
    return base;
}

bool FileCommands::saveQuestion()
{
    if (!m_book.TestModif())
        return true;
    const QString text = QStringLiteral("Enregistrer changements dans ") +
                         QFileInfo(m_fileName).fileName() + QStringLiteral(" ?");
    switch (m_prompter.askYesNoCancel(text)) {
    case Prompter::Answer::Yes:
        return save();
    case Prompter::Answer::No:
        return true;
    case Prompter::Answer::Cancel:
        return false;
    }
    return false;
}

bool FileCommands::newFile()
{
    if (!saveQuestion())
        return false;
    m_fileName.clear();
    m_book.Nouveau();
    return true;
}

bool FileCommands::open()
{
    if (!saveQuestion())
        return false;
    const auto choice = m_prompter.chooseOpenFile({QStringLiteral("Fichiers contacts (*.ctc)")},
                                                  QStringLiteral("ctc"));
    if (!choice || choice->path.isEmpty())
        return false;
    return openPath(choice->path);
}

bool FileCommands::openPath(const QString& path)
{
    m_fileName = path;
    if (m_fileName.right(4).toUpper() != QLatin1String(".CTC")) {
        m_fileName.clear();
        m_prompter.information(QStringLiteral("Type de fichier non valide"));
        return false;
    }
    if (!QFileInfo::exists(m_fileName)) {
        m_prompter.information(QStringLiteral("Le fichier n'existe pas"));
        return false;
    }
    m_book.Charge(m_fileName);
    return true;
}

bool FileCommands::save()
{
    if (m_fileName.isEmpty())
        return saveAs();
    const QString path = withoutExtension(m_fileName) + QStringLiteral(".ctc");
    m_book.Sauve(path);
    m_fileName = path;
    return true;
}

bool FileCommands::saveAs()
{
    // A Save As that does not end in a save keeps the file that was open:
    // forgetting its name would send the next Save to a dialog for nothing.
    const QString previous = m_fileName;
    const auto choice = m_prompter.chooseSaveFile({QStringLiteral("Fichers contact (*.ctc)")},
                                                  QStringLiteral("ctc"), QStringLiteral("*.ctc"));
    if (!choice)
        return false;
    const QString base = withoutExtension(choice->path);
    if (base.isEmpty() || base.endsWith(QLatin1Char('/')))
        return false;
    const QString path = base + QStringLiteral(".ctc");
    if (QFileInfo::exists(path) && !m_prompter.confirm(QStringLiteral("Ce fichier existe déjà")))
        return false;
    m_fileName.clear();
    try {
        m_book.SetModif();
        m_book.Sauve(path);
    } catch (...) {
        m_fileName = previous;
        throw;
    }
    m_fileName = path;
    return true;
}

void FileCommands::setAutoOpen(bool on)
{
    m_book.SetIni(on);
}

bool FileCommands::autoOpenSet() const
{
    return m_book.GetIni().autoOpen;
}

void FileCommands::openLastFile()
{
    const QString last = m_book.GetIni().lastFile;
    if (last.isEmpty() || !QFileInfo::exists(last))
        return;
    m_book.Charge(last);
    m_fileName = last;
}

bool FileCommands::close(const QString& programFolder)
{
    if (!saveQuestion())
        return false;
    try {
        m_book.saveProgramFiles(programFolder, m_fileName);
    } catch (const TarvikError& e) {
        m_prompter.information(e.text());
    }
    // Apart from the settings files, so that one failure does not lose the
    // day's time.
    try {
        m_book.saveTimeFile(programFolder);
    } catch (const TarvikError& e) {
        m_prompter.information(e.text());
    }
    return true;
}

} // namespace tarvik
