#include "tools/letter_editor.h"

#include "platform/errors.h"
#include "platform/prompter.h"
#include "tools/rtf/rtf_file.h"

#include <QFileInfo>

namespace tarvik {

LetterEditor::LetterEditor(Prompter& prompter, LetterView& view, const QStringList& companyLines)
    : m_prompter(prompter), m_view(view), m_companyLines(companyLines.mid(0, 4))
{
    while (m_companyLines.size() < 4)
        m_companyLines.append(QString());
}

QStringList LetterEditor::fileFilters()
{
    return {QStringLiteral("Fichiers rtf (*.rtf)")};
}

QString LetterEditor::defaultSuffix()
{
    return QStringLiteral("rtf");
}

QString LetterEditor::saveQuestion() const
{
    return QStringLiteral("Enregistrer changements dans ") + QFileInfo(m_fileName).fileName() +
           QStringLiteral(" ?");
}

rtf::Document LetterEditor::letterHead() const
{
    rtf::Document letter;
    for (const QString& line : m_companyLines) {
        rtf::Paragraph p;
        p.append(rtf::Run{line});
        letter.paragraphs.append(p);
    }
    letter.paragraphs.append(rtf::Paragraph{});
    return letter;
}

bool LetterEditor::settleChanges()
{
    if (!m_view.isModified())
        return true;
    switch (m_prompter.askYesNoCancel(saveQuestion())) {
    case Prompter::Answer::Yes:
        // A save that is cancelled or fails keeps the letter where it is.
        return save();
    case Prompter::Answer::No:
        return true;
    case Prompter::Answer::Cancel:
        break;
    }
    return false;
}

void LetterEditor::newLetter()
{
    if (!settleChanges())
        return;
    m_view.showLetter(letterHead());
}

bool LetterEditor::open()
{
    if (!settleChanges())
        return false;
    const auto choice = m_prompter.chooseOpenFile(fileFilters(), defaultSuffix());
    if (!choice || choice->path.isEmpty())
        return false;
    rtf::LoadedFile loaded;
    try {
        loaded = rtf::loadFile(choice->path);
    } catch (const TarvikError& e) {
        m_prompter.information(e.text());
        return false;
    }
    m_view.showLetter(loaded.document);
    m_fileName = choice->path;
    for (const QString& notice : loaded.notices.texts())
        m_prompter.information(notice);
    return true;
}

static bool sameFile(const QString& a, const QString& b)
{
    return !a.isEmpty() && QFileInfo(a).absoluteFilePath() == QFileInfo(b).absoluteFilePath();
}

bool LetterEditor::save()
{
    if (!m_view.isModified())
        return true;
    const auto choice = m_prompter.chooseSaveFile(fileFilters(), defaultSuffix(), m_fileName);
    if (!choice || choice->path.isEmpty())
        return false;
    const QString path = choice->path;
    if (!sameFile(path, m_fileName) && QFileInfo::exists(path) &&
        !m_prompter.askYesNo(QFileInfo(path).fileName() +
                             QStringLiteral(" existe déjà.\nVoulez-vous le remplacer ?")))
        return false;
    try {
        rtf::saveFile(path, m_view.letter());
    } catch (const TarvikError& e) {
        m_prompter.information(e.text());
        return false;
    }
    m_fileName = path;
    m_view.setModified(false);
    return true;
}

bool LetterEditor::mayClose()
{
    return settleChanges();
}

} // namespace tarvik
