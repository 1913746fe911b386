#pragma once

#include <QString>

namespace tarvik {

class Prompter;
class RecordBook;

// The file commands of the main window, with their checks, questions and
// messages: New, Open, Save, Save As, the save question, the auto-open at
// start and the order of closing. They hold the current file name, the only
// data of the main window. The book's load and save throw TarvikError when a
// file cannot be read or written; the commands let it through after putting
// the file name back as the failed command found it, and the window shows it.
class FileCommands
{
public:
    FileCommands(RecordBook& book, Prompter& prompter);

    const QString& fileName() const { return m_fileName; }

    // When something would be lost, asks "Enregistrer changements dans " +
    // the file name without its folder + " ?": Yes saves, No goes on, Cancel
    // stops. True when the command that asked may go on.
    bool saveQuestion();

    // New: after the save question, empties the book and forgets the file
    // name. True when done (the window then enables the commands and selects
    // all records).
    bool newFile();

    // Open: the save question, the open dialog, then the checks of the chosen
    // name: "Type de fichier non valide" (the name is forgotten) and "Le
    // fichier n'existe pas" (the name stays). True when a file was loaded.
    bool open();
    // The checks of Open and the load, for a name given without the dialog
    // (the command line at start). True when the file was loaded.
    bool openPath(const QString& path);

    // Save: Save As when there is no file name yet; otherwise saves under the
    // name with its extension replaced by ".ctc". True when the book was
    // saved (or had nothing to save).
    bool save();

    // Save As: the save dialog; the chosen name with its extension replaced
    // by ".ctc"; "Ce fichier existe déjà" (OK/Cancel) before replacing a file;
    // then a save even without changes. A cancelled or refused Save As keeps
    // the file that was open.
    bool saveAs();

    // The auto-open menu item: the new state becomes the settings' flag.
    void setAutoOpen(bool on);

    // The auto-open flag of the settings: at the first show the window then
    // checks its menu item, opens the last file and enables the commands
    // (whether the file could be loaded or not).
    bool autoOpenSet() const;
    // Loads the last file of the settings when it still exists; it becomes
    // the current file name once loaded.
    void openLastFile();

    // Closing: the save question (false: the program stays open), then the
    // settings, company lines and pick lists written to `programFolder`, with
    // the current file name as the last file, then the day's time file. A
    // file of these that cannot be written is told, and the program closes
    // all the same.
    bool close(const QString& programFolder);

    // `name` with the extension of its file-name part, if any, cut off.
    static QString withoutExtension(const QString& name);

private:
    RecordBook& m_book;
    Prompter& m_prompter;
    QString m_fileName;
};

} // namespace tarvik
