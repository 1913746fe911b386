#pragma once

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

namespace tarvik {

// What the program needs to know before its main window exists: the contact
// file named on the command line and the folder that holds "Tarvik.ini" and
// its companions.
namespace startup {

// Set by the desktop entry: the program was started from the desktop menu or
// the file manager, not from a terminal.
inline constexpr char DesktopMarker[] = "TARVIK_FROM_MENU";

struct Arguments
{
    // Absolute path of the contact file to open at start; empty for none.
    QString file;
    // The command line cannot be understood: the program prints usageText()
    // and stops without showing a window.
    bool misused = false;
};

// `arguments` is the command line left once Qt has taken its own options, the
// program name first. One argument at most, a path or a "file:" URL; a
// relative path is taken from `workingFolder`. Anything that looks like an
// option is refused, so that a mistyped option is not taken for a file name.
Arguments parseArguments(const QStringList& arguments, const QString& workingFolder);

QString usageText();

// The program folder: the working folder when started from a terminal; the
// user's data folder ($XDG_DATA_HOME/Tarvik, by default
// ~/.local/share/Tarvik) when started from the desktop entry, whose working
// folder is usually the home folder, where the settings files do not belong.
QString programFolder(const QProcessEnvironment& environment, const QString& workingFolder,
                      const QString& homeFolder);

// Creates the program folder when missing and makes it the working folder.
// Returns false (the working folder unchanged) when that cannot be done.
bool enterProgramFolder(const QString& folder);

} // namespace startup

} // namespace tarvik
