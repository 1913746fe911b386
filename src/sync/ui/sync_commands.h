#pragma once

class QWidget;

namespace tarvik {

class FileCommands;
class RecordBook;

// The window side of the sync: the two menu commands.
namespace syncui {

// "Paramètres" > "Synchronisation...": the server, the user, the password
// (kept in the keyring) and the collections of the open file.
void editSettings(RecordBook& book, QWidget* parent);

// "Fichier" > "Synchroniser": the pending edit written back, the sync with a
// progress window that can be cancelled, the conflict list when some are
// left, and the counts at the end. The file is saved as "Enregistrer" saves
// it; a file open read-only only takes what the server has.
void synchronise(RecordBook& book, FileCommands& files, QWidget* parent);

} // namespace syncui

} // namespace tarvik
