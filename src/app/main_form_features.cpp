// The wiring of the main window's menu items and buttons to their commands.
#include "app/main_form.h"

#include "platform/prompter.h"
#include "store/ui/fiche.h"

#include <QAction>

void TMainForm::wireFeatures()
{
    auto on = [this](const char* name, auto&& slot) {
        connect(action(QLatin1String(name)), &QAction::triggered, this, slot);
    };
    TFiche* f = m_fiche;

    on("Nouveau1", [this] { newFile(); });
    on("SpeedButton11", [this] { newFile(); });
    on("OpenItem", [this] { openFile(); });
    on("SpeedButton1", [this] { openFile(); });
    on("SaveItem", [this] { saveFile(); });
    on("SaveBtn", [this] { saveFile(); });
    on("Enregistrersous1", [this] { saveFileAs(); });
    on("ExitItem", [this] { close(); });
    on("Ouvrirautomatiquement1", [this] { toggleAutoOpen(); });
    on("About1", [this] { about(); });

    on("Rappelerhistorique1", [f] { f->run([f] { f->book().Rappel(); }); });
    on("Copier1", [f] { f->run([f] { f->book().Copier(); }); });
    on("Coller1", [f] { f->run([f] { f->book().Coller(); }); });
    on("Permuteradresse1adresse21", [f] { f->run([f] { f->book().Permuter(); }); });

    on("Contacts1", [this, f] { f->showContactsPage(); });
    on("SpeedButton12", [this, f] { f->showContactsPage(); });
    on("Oprations1", [this, f] { f->showOperationsPage(); });
    on("SpeedButton13", [this, f] { f->showOperationsPage(); });
    connect(f, &TFiche::pageChanged, this, [this, f] {
        if (f->book().page() == RecordBook::Page::Contacts)
            Valide1();
        else
            Valide2();
    });

    on("Prcdent1", [f] { f->previous(); });
    on("SpeedButton3", [f] { f->previous(); });
    on("Suivant1", [f] { f->next(); });
    on("SpeedButton4", [f] { f->next(); });
    on("Premier1", [f] { f->first(); });
    on("SpeedButton2", [f] { f->first(); });
    on("Dernier1", [f] { f->last(); });
    on("SpeedButton5", [f] { f->last(); });
    on("Nouveaucontact1", [this, f] {
        f->addRecord();
        Valide();
    });
    on("SpeedButton6", [this, f] {
        f->addRecord();
        Valide();
    });
    on("Supprimercontact1", [this, f] {
        if (!m_prompter.confirm(QStringLiteral("Confirmer suppression de la fiche ?")))
            return;
        f->run([f] { f->book().Supprime(); });
    });
    on("SpeedButton7", [f] { f->showEntryTab(); });
    on("SpeedButton9", [f] { f->showFreeTextTab(); });
}

void TMainForm::chooseContactMode(int mode)
{
    checkContactMode(mode);
    TFiche* f = m_fiche;
    f->run([f, mode] {
        f->book().SetSel(mode);
        f->book().Premier();
    });
    f->focusAfterMove();
}

void TMainForm::chooseOperationMode(int mode)
{
    checkOperationMode(mode);
    TFiche* f = m_fiche;
    f->run([f, mode] {
        f->book().operations().SetOpr(mode);
        f->book().operations().Premier();
    });
    f->focusAfterMove();
}
