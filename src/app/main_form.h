#pragma once

#include "app/command_table.h"
#include "operations/operation_book.h"
#include "selection/filtered_moves.h"

#include <QAction>
#include <QMainWindow>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <memory>
#include <vector>

class QLabel;
class QMenu;

namespace tarvik {

class RecordBook;
class TFiche;
class TRapport;
class FileCommands;
class Prompter;
class Clock;
class SystemClockSetter;
namespace print {
class PrintHost;
}

// The frame window: menus, toolbar, the two-panel status bar with its clock,
// and the record window. It keeps the current file name and the program
// folder; every command goes to the record window or opens a dialog.
class TMainForm : public QMainWindow
{
    Q_OBJECT
public:
    // Without a print host, the window prints through the platform's printer.
    // `book` is the data of the whole run; it outlives the window.
    TMainForm(RecordBook& book, Prompter& prompter, const Clock& clock,
              SystemClockSetter& clockSetter, QWidget* parent = nullptr,
              print::PrintHost* printHost = nullptr);
    ~TMainForm() override;

    // The printer of the whole run, for every window that prints.
    print::PrintHost& printHost() { return *m_printHost; }

    TFiche* fiche() const { return m_fiche; }
    // The activity report window, hidden until asked for.
    TRapport* rapport() const { return m_rapport.get(); }
    // The menu item or button of that name; an unknown name is a programming
    // error that stops the program with the name.
    QAction* action(const QString& name) const;
    // The commands of the table that nothing was connected to.
    QStringList unwiredCommands() const;
    const QString& fileName() const;
    // The file commands of the window, with the lock and the recovery copy.
    FileCommands& files() { return *m_files; }
    const QString& programFolder() const { return m_programFolder; }
    QLabel* hintPanel() const { return m_panel0; }
    QLabel* clockPanel() const { return m_panel1; }

    // A contact file named on the command line: opened at the first show, in
    // place of the auto-open file, with the checks and messages of Open.
    void setStartFile(const QString& path) { m_startFile = path; }

    // The file commands.
    void newFile();
    void openFile();
    bool saveFile();
    bool saveFileAs();
    void toggleAutoOpen();
    void importFile();
    void exportFile();
    // The all-records selection: "&Toutes les fiches" checked, mode 1, first record.
    void selectAllRecords();

    // The three enabling steps, as the command table sets them.
    void Valide();
    void Valide1();
    void Valide2();
    // After New, Open and a new record: the enable-all step, then the
    // operations page's own when that page shows.
    void enableAfterFileCommand();

    // Checks the selection item of a contacts mode, unchecking the others.
    void checkContactMode(selection::Mode mode);
    void checkOperationMode(operations::Selection mode);

protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void setUp(int index, QAction* action);
    void buildMenus();
    void buildToolbar();
    void applyStep(commands::Step step);
    QAction* command(commands::Id id) const { return m_commands[id.index()]; }
    // The action to connect a command to; it no longer counts as unwired.
    QAction* wire(commands::Id id);
    // Connects the action of a command to what it does.
    template <typename Slot> void on(commands::Id id, Slot&& slot)
    {
        connect(wire(id), &QAction::triggered, this, std::forward<Slot>(slot));
    }
    void wireFeatures();
    void wireFileCommands();
    void wireRecordCommands();
    void wireSelection();
    void wireSettings();
    void wireAccessories();
    void wireHelp();
    bool saveQuestion();
    void firstShow();
    void tick();
    void updateTitle();
    void updateStateCommands();
    void about();
    void chooseContactMode(selection::Mode mode);
    void chooseOperationMode(operations::Selection mode);
    void wirePrinting();
    void wireReports();

    RecordBook& m_book;
    Prompter& m_prompter;
    const Clock& m_clock;
    SystemClockSetter& m_clockSetter;
    TFiche* m_fiche = nullptr;
    // No Qt parent: a window of its own for the whole run.
    std::unique_ptr<TRapport> m_rapport;
    QString m_programFolder;
    std::unique_ptr<FileCommands> m_files;
    QString m_startFile;
    QLabel* m_panel0 = nullptr;
    QLabel* m_panel1 = nullptr;
    QTimer m_timer;
    bool m_shown = false;
    bool m_fileCommandsOn = false;    // the enable-all step has run
    std::vector<QAction*> m_commands; // by index in the command table
    std::vector<bool> m_wired;
    std::unique_ptr<print::PrintHost> m_ownPrintHost;
    print::PrintHost* m_printHost = nullptr;
};

} // namespace tarvik
