// The wiring of the main window's menu items and buttons to their commands.
#include "app/main_form.h"

#include "app/help_window.h"
#include "book/exchange_commands.h"
#include "book/record_commands.h"
#include "contacts/ui/fiche.h"
#include "exchange/ui/column_mapping_dialog.h"
#include "platform/errors.h"
#include "platform/prompter.h"
#include "platform/ui/command_guard.h"
#include "selection/ui/selection_commands.h"
#include "settings/ui/pick_list_editor.h"
#include "settings/ui/societe_dialog.h"
#include "storage/ansi.h"
#include "sync/ui/sync_commands.h"
#include "tools/ui/calendar_window.h"
#include "tools/ui/clock_window.h"
#include "tools/ui/euro_window.h"
#include "tools/ui/letter_scale_window.h"
#include "tools/ui/list_windows.h"
#include "tools/ui/notepad_window.h"
#include "tools/ui/pocket_window.h"
#include "tools/ui/texte_window.h"

#include <QAction>
#include <QDir>

namespace tarvik {

void TMainForm::wireFeatures()
{
    wireFileCommands();
    wireRecordCommands();
    wireSelection();
    wireSettings();
    wireAccessories();
    wireHelp();
}

void TMainForm::wireFileCommands()
{
    on("Nouveau1", [this] { newFile(); });
    on("OpenItem", [this] { openFile(); });
    on("SaveItem", [this] { saveFile(); });
    on("Enregistrersous1", [this] { saveFileAs(); });
    on("ExitItem", [this] { close(); });
    on("Ouvrirautomatiquement1", [this] { toggleAutoOpen(); });
    on("About1", [this] { about(); });

    on("Importer1", [this] { importFile(); });
    on("Exporter1", [this] { exportFile(); });
    on("Synchroniser1", [this] { syncui::synchronise(m_book, files(), this); });
}

// The record window's own commands: edits, pages, moves, new and delete.
void TMainForm::wireRecordCommands()
{
    TFiche* f = m_fiche;
    RecordBook& book = m_book;

    on("Rappelerhistorique1", [f, &book] { f->run([&book] { book.Rappel(); }); });
    on("Copier1", [f, &book] { f->run([&book] { book.Copier(); }); });
    on("Coller1", [f, &book] { f->run([&book] { book.Coller(); }); });
    on("Permuteradresse1adresse21", [f, &book] { f->run([&book] { book.Permuter(); }); });

    on("Contacts1", [f] { f->showContactsPage(); });
    on("Oprations1", [f] { f->showOperationsPage(); });
    connect(f, &TFiche::pageChanged, this, [this, &book] {
        if (book.page() == RecordBook::Page::Contacts)
            Valide1();
        else
            Valide2();
    });

    on("Prcdent1", [f] { f->previous(); });
    on("Suivant1", [f] { f->next(); });
    on("Premier1", [f] { f->first(); });
    on("Dernier1", [f] { f->last(); });
    on("Nouveaucontact1", [this, f] {
        f->addRecord();
        enableAfterFileCommand();
    });
    on("Supprimercontact1", [f, &book] { f->run([&book] { recordcommands::deleteShown(book); }); });
    on("SpeedButton7", [f] { f->showEntryTab(); });
    on("SpeedButton9", [f] { f->showFreeTextTab(); });
}

// The selection modes, the searches, the sort and the list window.
void TMainForm::wireSelection()
{
    TFiche* f = m_fiche;
    RecordBook& book = m_book;
    on("Touteslesfiches1", [this] { chooseContactMode(selection::All); });
    on("Alarme1", [this] { chooseContactMode(selection::Alerts); });
    on("Venteaboutie1", [this] { chooseContactMode(selection::ClosedSales); });
    on("Relances1", [this] { chooseContactMode(selection::TodaysFollowups); });
    on("Codepostal1", [this] { chooseContactMode(selection::Postcode); });
    on("Ville1", [this] { chooseContactMode(selection::Town); });
    on("Relancesfaire1", [this] { chooseContactMode(selection::FollowupsToDo); });
    on("Touteslesfiches2", [this] { chooseOperationMode(operations::Selection::All); });
    on("Type1", [this] { chooseOperationMode(operations::Selection::OneType); });

    // Searches, sort and the list window.
    using Command = void (*)(RecordBook&, QWidget*);
    const struct
    {
        commands::Id name;
        Command command;
    } searches[] = {
        {"Nom1", selectionui::searchName},
        {"Tlephone2", selectionui::searchPhone},
        {"Recherchenomdcideur1", selectionui::searchDecisionMaker},
        {"Rechercherrsum1", selectionui::searchSummary},
        {"Numrofiche2", selectionui::searchNumber},
        {"Trier1", selectionui::sort},
        {"Listredescontacts1", selectionui::showList},
    };
    for (const auto& [name, command] : searches) {
        on(name, [this, f, command = command, &book] {
            f->run([this, command, &book] { command(book, this); });
        });
    }
    connect(f, &TFiche::listRequested, this,
            [this, f, &book] { f->run([this, &book] { selectionui::showList(book, this); }); });
}

// The company lines, the pick lists and the sync server.
void TMainForm::wireSettings()
{
    TFiche* f = m_fiche;
    RecordBook& book = m_book;
    on("Synchronisation1", [this, &book] {
        syncui::editSettings(book, this);
        updateStateCommands();
    });
    on("Socit1", [this, &book] {
        settings::CompanyLines lines = book.company();
        if (TSociete::edit(lines, this))
            book.setCompanyLines(lines);
    });
    const struct
    {
        commands::Id name;
        settings::PickList list;
    } lists[] = {
        {"Fonction1", settings::Fonction},
        {"Contact2", settings::Contact},
        {"Interlocuteur1", settings::Interlocuteur},
        {"Produit1", settings::Produit},
        {"Rponse1", settings::Reponse},
        {"Arguments1", settings::Arguments},
        {"Confidentiel1", settings::Appreciation},
        {"Relance1", settings::Relance},
        {"N1Typedopration1", settings::Operation},
    };
    for (const auto& [name, list] : lists) {
        on(name, [this, f, list = list, &book] {
            QList<QByteArray> items = book.pickLists()[list];
            TCombo::edit(list, items, this);
            book.setPickList(list, items);
            f->refreshPickLists();
            f->refresh();
        });
    }
}

void TMainForm::wireAccessories()
{
    // Accessories: each a modal window created, shown and freed.
    on("Texte1", [this] {
        QStringList lines;
        for (const QByteArray& line : m_book.company())
            lines << ansi::toUnicode(line);
        TTexte::run(lines, this, &m_prompter, &printHost());
    });
    on("Calendrier1", [this] {
        TCalendrier w(m_clock, this);
        w.exec();
    });
    on("Calculatrice1", [this] {
        TPocket w(this);
        w.exec();
    });
    on("Horloge1", [this] {
        THorloge w(m_clock, m_clockSetter, this);
        w.exec();
    });
    on("Eutoconversion1", [this] {
        TEurof w(this);
        w.exec();
    });
    on("Blocnotes1", [this] {
        runGuarded(this, [this] {
            TBlocnotes::run(m_programFolder.isEmpty() ? QDir::currentPath() : m_programFolder,
                            this);
        });
    });
    on("Dpartements1", [this] {
        TDepart w(this);
        w.exec();
    });
    on("Pselettres1", [this] {
        TPLettre w(this);
        w.exec();
    });
    on("Prnoms1", [this] {
        TPrenoms w(this);
        w.exec();
    });
}

void TMainForm::wireHelp()
{
    on("Index1", [this] { HelpWindow::showHelp(HelpWindow::Contents, this); });
    on("Rechercher1", [this] { HelpWindow::showHelp(HelpWindow::Search, this); });
    on("Utiliserlaide1", [this] { HelpWindow::showHelp(HelpWindow::HelpOnHelp, this); });
}

void TMainForm::chooseContactMode(selection::Mode mode)
{
    checkContactMode(mode);
    TFiche* f = m_fiche;
    RecordBook& book = m_book;
    f->run([this, mode, &book] { selectionui::chooseContactMode(book, mode, this); });
    f->focusAfterMove();
}

void TMainForm::chooseOperationMode(operations::Selection mode)
{
    checkOperationMode(mode);
    TFiche* f = m_fiche;
    RecordBook& book = m_book;
    f->run([this, mode, &book] { selectionui::chooseOperationMode(book, mode, this); });
    f->focusAfterMove();
}

void TMainForm::importFile()
{
    exchangeui::DialogColumnMapper mapper(this);
    bool imported = false;
    m_fiche->run([&] {
        imported = ExchangeCommands(m_book, m_prompter, &mapper, exchangeui::waitCursorHook())
                       .importFile();
    });
    if (imported) {
        Valide();
        selectAllRecords();
    }
}

void TMainForm::exportFile()
{
    m_fiche->run([this] {
        ExchangeCommands(m_book, m_prompter, nullptr, exchangeui::waitCursorHook()).exportFile();
    });
}

} // namespace tarvik
