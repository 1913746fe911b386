// The wiring of the main window's print commands.
#include "app/main_form.h"

#include "print/print_host.h"
#include "print/ui/print_preview.h"
#include "store/ui/fiche.h"

#include <QAction>

void TMainForm::wirePrinting()
{
    auto on = [this](const char* name, auto&& slot) {
        connect(action(QLatin1String(name)), &QAction::triggered, this, slot);
    };
    TFiche* f = m_fiche;

    QAction* preview = action(QStringLiteral("Apercuavantimpression1"));
    preview->setChecked(printPreviewWanted());
    connect(preview, &QAction::toggled, this, [](bool on) { setPrintPreviewWanted(on); });

    on("Configurerlimprimante1", [this, f] { f->run([this] { printHost().setupPrinter(); }); });
}
