// The wiring of the activity report, the planning and the operation statistics.
#include "app/main_form.h"

#include "activity/ui/rapport_window.h"
#include "contacts/ui/fiche.h"
#include "platform/ui/command_guard.h"
#include "print/ui/planning_window.h"
#include "print/ui/stats_window.h"

#include <QAction>

namespace tarvik {

void TMainForm::wireReports()
{
    TFiche* f = m_fiche;
    RecordBook& book = m_book;
    TRapport* rapport = m_rapport.get();

    on("Rapportdactivit1",
       [this, rapport] { runGuarded(this, [rapport] { rapport->Rapport1(); }); });
    on("Fichessupportdactivit1", [this, rapport] {
        runGuarded(this, [this, rapport] { rapport->ImpRapport(printHost()); });
    });
    on("Planning1", [this, f, &book] {
        bool chosen = false;
        f->run([this, &chosen, &book] { chosen = TPlanning::Relances(book, this); });
        // The chosen contact is shown even when the operations were on view.
        if (chosen && book.page() != RecordBook::Page::Contacts)
            f->showContactsPage();
        else if (chosen)
            f->focusAfterMove();
    });
    on("Statsoprations1", [this, f, &book] {
        f->run([this, &book] { TStatsOpr::StatsOperation(book, printHost(), this); });
    });
}

} // namespace tarvik
