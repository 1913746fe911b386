#pragma once

#include "tools/rtf/rtf_document.h"

#include <QString>
#include <QStringList>

namespace tarvik {

class Prompter;

// What the word processor's window gives the file commands: the letter on
// screen and the editor's own modified flag.
class LetterView
{
public:
    virtual ~LetterView() = default;
    virtual rtf::Document letter() const = 0;
    // Replaces the letter on screen; the letter shown is then unmodified.
    virtual void showLetter(const rtf::Document& letter) = 0;
    virtual bool isModified() const = 0;
    virtual void setModified(bool modified) = 0;
};

// The file commands of the word processor: new letter, open, save and close,
// with the save question before anything that would lose a modified letter.
class LetterEditor
{
public:
    // companyLines: the company header lines; the first four head a new letter.
    LetterEditor(Prompter& prompter, LetterView& view, const QStringList& companyLines);

    static QStringList fileFilters();
    static QString defaultSuffix();

    QString fileName() const { return m_fileName; }
    // "Enregistrer changements dans " + the file name without its folder + " ?"
    QString saveQuestion() const;
    QStringList companyLines() const { return m_companyLines; }
    // The four company lines, then an empty line to write on.
    rtf::Document letterHead() const;

    void newLetter();
    // True when a file was read into the editor.
    bool open();
    // Does nothing for an unmodified letter. True when the letter is safe:
    // unmodified, or written.
    bool save();
    // True when the window may close.
    bool mayClose();

private:
    // The save question for a modified letter; true when the command may go on.
    bool settleChanges();

    Prompter& m_prompter;
    LetterView& m_view;
    QStringList m_companyLines;
    QString m_fileName;
};

} // namespace tarvik
