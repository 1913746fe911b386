#include "app/main_form.h"

#include "app/about_box.h"
#include "app/icons.h"
#include "book/file_commands.h"
#include "platform/clock.h"
#include "platform/prompter.h"
#include "platform/ui/command_guard.h"
#include "print/ui/qt_print_host.h"
#include "print/ui/rapport_window.h"
#include "store/ui/fiche.h"

#include <QAction>
#include <QActionGroup>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QToolBar>

namespace {

// The contacts selection items, by mode (index 0 is mode 1).
const char* const ContactModeItems[] = {"Touteslesfiches1", "Alarme1", "Venteaboutie1", "Relances1",
                                        "Codepostal1",      "Ville1",  "Relancesfaire1"};

} // namespace

TMainForm::TMainForm(Prompter& prompter, const Clock& clock, SystemClockSetter& clockSetter,
                     QWidget* parent, print::PrintHost* printHost)
    : QMainWindow(parent), m_prompter(prompter), m_clock(clock), m_clockSetter(clockSetter),
      m_printHost(printHost)
{
    if (!m_printHost) {
        m_ownPrintHost = std::make_unique<print::QtPrintHost>(this);
        m_printHost = m_ownPrintHost.get();
    }
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(QStringLiteral("Tarvik"));
    setWindowIcon(icons::drawn(icons::Glyph::Program));

    // The activity report window lives for the whole run, before the record
    // window whose activation fills it.
    m_rapport = std::make_unique<TRapport>(clock);
    m_fiche = new TFiche(prompter, clock, this);
    m_files = std::make_unique<FileCommands>(m_fiche->book(), prompter);
    setCentralWidget(m_fiche);

    buildMenus();
    buildToolbar();

    auto* bar = new QStatusBar(this);
    bar->setObjectName(QStringLiteral("StatusBar"));
    bar->setSizeGripEnabled(false);
    m_panel0 = new QLabel(bar);
    m_panel0->setObjectName(QStringLiteral("StatusPanel0"));
    m_panel1 = new QLabel(bar);
    m_panel1->setObjectName(QStringLiteral("StatusPanel1"));
    m_panel1->setAlignment(Qt::AlignCenter);
    m_panel1->setMinimumWidth(90);
    bar->addWidget(m_panel0);
    bar->addWidget(m_panel1, 1);
    setStatusBar(bar);

    m_timer.setObjectName(QStringLiteral("Timer1"));
    m_timer.setInterval(1000);
    connect(&m_timer, &QTimer::timeout, this, &TMainForm::tick);
    m_timer.start();
    tick();

    // The record window's activation: company lines, settings, pick lists.
    const QString folder = QDir::currentPath();
    TFiche* f = m_fiche;
    runGuarded(this, [f, folder] {
        f->book().ChargeSoc(folder);
        f->book().ChargeIni(folder);
        f->book().ChargeCombo(folder);
    });
    // Today's time spent goes on from where the last run of the day left it.
    TRapport* rapport = m_rapport.get();
    runGuarded(this, [f, rapport, folder] { rapport->Charge(folder, f->book()); });
    m_fiche->refreshPickLists();
    m_fiche->refresh();
    action(QStringLiteral("Touteslesfiches1"))->setChecked(true);

    connect(m_fiche, &TFiche::captionChanged, this, &TMainForm::updateTitle);
    wireFeatures();
    wirePrinting();
    wireReports();
    updateTitle();
}

TMainForm::~TMainForm() = default;

QAction* TMainForm::action(const QString& name) const
{
    return m_actions.value(name);
}

QAction* TMainForm::addItem(QMenu* menu, const char* name, const QString& caption,
                            const QString& hint, bool enabled)
{
    auto* a = new QAction(caption, this);
    a->setObjectName(QLatin1String(name));
    a->setStatusTip(hint);
    a->setToolTip(hint);
    a->setEnabled(enabled);
    menu->addAction(a);
    m_actions.insert(a->objectName(), a);
    return a;
}

void TMainForm::buildMenus()
{
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu"));

    QMenu* file = bar->addMenu(QStringLiteral("&Fichier"));
    file->setObjectName(QStringLiteral("FileMenu"));
    addItem(file, "Nouveau1", QStringLiteral("&Nouveau"), QStringLiteral("Nouveau fichier"));
    addItem(file, "OpenItem", QStringLiteral("&Ouvrir..."), QStringLiteral("Ouvrir un fichier"));
    addItem(file, "SaveItem", QStringLiteral("&Enregistrer"),
            QStringLiteral("Enregistrer le fichier"), false);
    addItem(file, "Enregistrersous1", QStringLiteral("Enregistrer &sous..."),
            QStringLiteral("Enregistrer sous un autre nom"), false);
    file->addSeparator();
    QMenu* print = file->addMenu(QStringLiteral("&Imprimer..."));
    print->setObjectName(QStringLiteral("ImprimerMenu"));
    QAction* printItem = print->menuAction();
    printItem->setObjectName(QStringLiteral("Imprimer1"));
    printItem->setStatusTip(QStringLiteral("Imprimer"));
    printItem->setEnabled(false);
    m_actions.insert(printItem->objectName(), printItem);
    addItem(print, "Listing1", QStringLiteral("&Listing..."),
            QStringLiteral("Imprime listing d'adresses"));
    addItem(print, "fichesdeprospection1", QStringLiteral("Fiches &prospection..."),
            QStringLiteral("Fiches de prospection"));
    addItem(print, "Fichesalertes1", QStringLiteral("&Alertes..."),
            QStringLiteral("Imprime fiches alerte"));
    addItem(print, "Fichesrelance1", QStringLiteral("&Relances du jour..."),
            QStringLiteral("Imprime fiches relance"));
    addItem(print, "Fichesventesabouties1", QStringLiteral("&Ventes abouties..."),
            QStringLiteral("Imprime fiches vente aboutie"));
    addItem(print, "Fichessupportdactivit1", QStringLiteral("Rappor&t d'activité..."),
            QStringLiteral("Imprime fiches rapport d'activité"));
    addItem(print, "Fichesrelancesfaire1", QStringLiteral("Relances à &faire..."),
            QStringLiteral("Imprimer relances à faire"));
    addItem(print, "Enveloppes1", QStringLiteral("&Enveloppes"),
            QStringLiteral("Imprimer enveloppes à partir du fichier"));
    print->addSeparator();
    addItem(print, "Apercuavantimpression1", QStringLiteral("Aper&çu avant impression"),
            QStringLiteral("Montrer chaque impression avant de l'imprimer"))
        ->setCheckable(true);
    addItem(file, "Miseenpage1", QStringLiteral("&Mise en page..."),
            QStringLiteral("Mise en page"));
    addItem(file, "Configurerlimprimante1", QStringLiteral("&Configurer l'imprimante..."),
            QStringLiteral("Configurer l'imprimante"));
    file->addSeparator();
    addItem(file, "Importer1", QStringLiteral("I&mporter..."), QStringLiteral("Importer fichier"));
    addItem(file, "Exporter1", QStringLiteral("E&xporter..."), QStringLiteral("Exporter fichier"),
            false);
    file->addSeparator();
    QAction* exit =
        addItem(file, "ExitItem", QStringLiteral("&Quitter"), QStringLiteral("Quitter Tarvik"));
    exit->setShortcut(QKeySequence(Qt::ALT | Qt::Key_X));

    QMenu* edit = bar->addMenu(QStringLiteral("&Ediiton"));
    edit->setObjectName(QStringLiteral("EditMenu"));
    addItem(edit, "Rappelerhistorique1", QStringLiteral("Rappeler historique"),
            QStringLiteral("Rappeler la dernière saisie de l'historique"), false);
    edit->addSeparator();
    addItem(edit, "Copier1", QStringLiteral("C&opier"), QStringLiteral("Copier l'identité"), false);
    addItem(edit, "Coller1", QStringLiteral("Co&ller"), QStringLiteral("Coller l'identité"), false);
    edit->addSeparator();
    addItem(edit, "Nom1", QStringLiteral("Recherche &Nom / société..."),
            QStringLiteral("Recherche par nom"), false);
    addItem(edit, "Tlephone2", QStringLiteral("Recherche &Télephone..."),
            QStringLiteral("Recherche par téléphone"), false);
    addItem(edit, "Numrofiche2", QStringLiteral("Recherche Numéro &fiche..."),
            QStringLiteral("Recherche par numéro de fiche"), false);
    addItem(edit, "Recherchenomdcideur1", QStringLiteral("Recherche nom &décideur..."),
            QStringLiteral("Recherche par décideur"), false);
    edit->addSeparator();
    addItem(edit, "Trier1", QStringLiteral("&Trier..."), QStringLiteral("Trier le fichier"), false);
    addItem(edit, "Permuteradresse1adresse21", QStringLiteral("Permuter &adresse1, adresse2"),
            QStringLiteral("Permuter les deux lignes d'adresse de toutes les fiches"), false);
    edit->addSeparator();
    addItem(edit, "Rechercherrsum1", QStringLiteral("Rechercher ré&sumé"),
            QStringLiteral("Recherche d'une opération par son résumé"), false);

    QMenu* base = bar->addMenu(QStringLiteral("&Base"));
    base->setObjectName(QStringLiteral("BaseMenu"));
    addItem(base, "Contacts1", QStringLiteral("&Contacts"), QStringLiteral("Contacts"));
    addItem(base, "Oprations1", QStringLiteral("&Opérations"), QStringLiteral("Opérations"));
    base->addSeparator();
    addItem(base, "Prcdent1", QStringLiteral("&Précédent                  PgUp"),
            QStringLiteral("Précédent"), false);
    addItem(base, "Suivant1", QStringLiteral("&Suivant                        PgDn"),
            QStringLiteral("Suivant"), false);
    addItem(base, "Premier1", QStringLiteral("P&remier"), QStringLiteral("Premier"), false);
    addItem(base, "Dernier1", QStringLiteral("&Dernier"), QStringLiteral("Dernier"), false);
    base->addSeparator();
    addItem(base, "Nouveaucontact1", QStringLiteral("&Nouvelle fiche"),
            QStringLiteral("Nouvelle fiche"));
    addItem(base, "Supprimercontact1", QStringLiteral("S&upprimer fiche"),
            QStringLiteral("Supprimer la fiche"), false);
    addItem(base, "Listredescontacts1", QStringLiteral("&Listre                           F2"),
            QStringLiteral("Liste des fiches"), false);
    addItem(base, "Imprimerfiche1", QStringLiteral("&Imprimer fiche"),
            QStringLiteral("Imprimer fiche courante"), false);

    QMenu* sel = bar->addMenu(QStringLiteral("&Sélection"));
    sel->setObjectName(QStringLiteral("SelectionMenu"));
    const QString modeCaptions[] = {
        QStringLiteral("&Toutes les fiches"), QStringLiteral("&Alertes"),
        QStringLiteral("&Ventes abouties"),   QStringLiteral("&Relances du jour"),
        QStringLiteral("&Code postal..."),    QStringLiteral("&Ville..."),
        QStringLiteral("Re&lances à faire")};
    const QString modeHints[] = {QStringLiteral("Toutes les fiches"),
                                 QStringLiteral("Fiches en alerte"),
                                 QStringLiteral("Fiches des ventes abouties"),
                                 QStringLiteral("Fiches à relancer aujourd'hui"),
                                 QStringLiteral("Fiches d'un code postal"),
                                 QStringLiteral("Fiches d'une ville"),
                                 QStringLiteral("Fiches ayant une relance à faire")};
    for (int i = 0; i < 7; ++i) {
        QAction* a = addItem(sel, ContactModeItems[i], modeCaptions[i], modeHints[i], false);
        a->setCheckable(true);
        connect(a, &QAction::triggered, this, [this, i] { chooseContactMode(i + 1); });
    }
    sel->addSeparator();
    QAction* allOps = addItem(sel, "Touteslesfiches2", QStringLiteral("Toutes &les fiches"),
                              QStringLiteral("Toutes les opérations"), false);
    allOps->setCheckable(true);
    allOps->setChecked(true);
    connect(allOps, &QAction::triggered, this, [this] { chooseOperationMode(0); });
    QAction* type = addItem(sel, "Type1", QStringLiteral("&Type..."),
                            QStringLiteral("Opérations d'un type"), false);
    type->setCheckable(true);
    connect(type, &QAction::triggered, this, [this] { chooseOperationMode(1); });

    QMenu* tools = bar->addMenu(QStringLiteral("&Outils"));
    tools->setObjectName(QStringLiteral("ToolsMenu"));
    addItem(tools, "Texte1", QStringLiteral("&Traitement de texte"),
            QStringLiteral("Traitement de texte"), false);
    addItem(tools, "Enveloppe1", QStringLiteral("&Enveloppe courante"),
            QStringLiteral("Imprimer enveloppe"), false);
    addItem(tools, "Rapportdactivit1", QStringLiteral("&Rapport d'activité"),
            QStringLiteral("Rapport d'activité"), false);
    addItem(tools, "Planning1", QStringLiteral("&Planning"),
            QStringLiteral("Planning des relances"), false);
    addItem(tools, "Statsoprations1", QStringLiteral("&Stats opérations"),
            QStringLiteral("Statistiques sur les opérations"), false);

    QMenu* params = bar->addMenu(QStringLiteral("&Paramètres"));
    params->setObjectName(QStringLiteral("ParamMenu"));
    addItem(params, "Socit1", QStringLiteral("&Société"), QStringLiteral("Votre société"));
    params->addSeparator();
    addItem(params, "Fonction1", QStringLiteral("&Fonction"),
            QStringLiteral("Liste des fonctions"));
    addItem(params, "Contact2", QStringLiteral("&Contact"),
            QStringLiteral("Liste des types de contact"));
    addItem(params, "Interlocuteur1", QStringLiteral("&Interlocuteur"),
            QStringLiteral("Liste des interlocuteurs"));
    addItem(params, "Produit1", QStringLiteral("&Produit"), QStringLiteral("Liste des produits"));
    addItem(params, "Rponse1", QStringLiteral("&Réponse"), QStringLiteral("Liste des réponses"));
    addItem(params, "Arguments1", QStringLiteral("Arg&uments"),
            QStringLiteral("Liste des arguments"));
    addItem(params, "Confidentiel1", QStringLiteral("Appréciation"),
            QStringLiteral("Liste des appréciations"));
    addItem(params, "Relance1", QStringLiteral("Re&lance"),
            QStringLiteral("Liste des types de relance"));
    addItem(params, "N1Typedopration1", QStringLiteral("&Type d'opération"),
            QStringLiteral("Liste des types d'opération"));
    params->addSeparator();
    QAction* autoOpen =
        addItem(params, "Ouvrirautomatiquement1", QStringLiteral("&Ouvrir automatiquement"),
                QStringLiteral("Ouvrir le dernier fichier au démarrage"));
    autoOpen->setCheckable(true);

    QMenu* utils = bar->addMenu(QStringLiteral("&Utilitaires"));
    utils->setObjectName(QStringLiteral("UtilMenu"));
    addItem(utils, "Calendrier1", QStringLiteral("&Calendrier"), QStringLiteral("Calendrier"));
    addItem(utils, "Calculatrice1", QStringLiteral("C&alculatrice"),
            QStringLiteral("Calculatrice"));
    addItem(utils, "Horloge1", QStringLiteral("&Horloge"), QStringLiteral("Horloge"));
    addItem(utils, "Eutoconversion1", QStringLiteral("&Euto conversion"),
            QStringLiteral("Convertisseur euro"));
    addItem(utils, "Blocnotes1", QStringLiteral("&Bloc-notes"), QStringLiteral("Blocnotes"));
    addItem(utils, "Dpartements1", QStringLiteral("&Départements"),
            QStringLiteral("Liste des départements"));
    addItem(utils, "Pselettres1", QStringLiteral("&Pèse lettres"), QStringLiteral("Pèse-Lettres"));
    addItem(utils, "Prnoms1", QStringLiteral("P&rénoms"), QStringLiteral("Prénoms"));

    QMenu* help = bar->addMenu(QStringLiteral("&Aide"));
    help->setObjectName(QStringLiteral("HelpMenu"));
    addItem(help, "Index1", QStringLiteral("&Index"), QStringLiteral("Sommaire de l'aide"));
    addItem(help, "Rechercher1", QStringLiteral("&Rechercher"),
            QStringLiteral("Rechercher dans l'aide"));
    addItem(help, "Utiliserlaide1", QStringLiteral("&Utiliser l'aide"),
            QStringLiteral("Comment utiliser l'aide"));
    help->addSeparator();
    addItem(help, "About1", QStringLiteral("&A propos"), QStringLiteral("A propos de Tarvik"));
}

QAction* TMainForm::addButton(const char* name, const QString& hint, int glyph, bool enabled)
{
    auto* a = new QAction(icons::icon(static_cast<icons::Glyph>(glyph)), hint, this);
    a->setObjectName(QLatin1String(name));
    a->setToolTip(hint);
    a->setStatusTip(hint);
    a->setEnabled(enabled);
    m_actions.insert(a->objectName(), a);
    return a;
}

void TMainForm::buildToolbar()
{
    auto* bar = new QToolBar(QStringLiteral("SpeedPanel"), this);
    bar->setObjectName(QStringLiteral("SpeedPanel"));
    bar->setMovable(false);
    bar->setFloatable(false);
    bar->setIconSize(QSize(24, 24));
    bar->setFixedHeight(33);
    bar->setContextMenuPolicy(Qt::PreventContextMenu);
    addToolBar(Qt::TopToolBarArea, bar);
    using G = icons::Glyph;
    struct Button
    {
        const char* name;
        QString hint;
        G glyph;
        bool enabled;
        bool gapAfter;
    };
    const Button buttons[] = {
        {"SpeedButton11", QStringLiteral("Nouveau fichier"), G::NewFile, true, false},
        {"SpeedButton1", QStringLiteral("Ouvrir"), G::Open, true, false},
        {"SaveBtn", QStringLiteral("Enregistrer"), G::Save, false, true},
        {"CopyBtn", QStringLiteral("Copier"), G::Copy, false, false},
        {"PasteBtn", QStringLiteral("Coller"), G::Paste, false, true},
        {"SpeedButton2", QStringLiteral("Premier"), G::First, false, false},
        {"SpeedButton3", QStringLiteral("Précédent"), G::Previous, false, false},
        {"SpeedButton4", QStringLiteral("Suivant"), G::Next, false, false},
        {"SpeedButton5", QStringLiteral("Dernier"), G::Last, false, true},
        {"SpeedButton7", QStringLiteral("Onglet historique"), G::HistoryTab, false, false},
        {"SpeedButton9", QStringLiteral("Onglet commentaire annexe"), G::CommentTab, false, true},
        {"SpeedButton6", QStringLiteral("Nouvelle fiche"), G::NewRecord, true, true},
        {"SpeedButton12", QStringLiteral("Contacts"), G::Contacts, true, false},
        {"SpeedButton13", QStringLiteral("Opérations"), G::Operations, true, true},
        {"SpeedButton8", QStringLiteral("Imprimer fiche"), G::PrintRecord, false, false},
        {"SpeedButton10", QStringLiteral("Imprimer enveloppe"), G::Envelope, false, false},
    };
    for (const Button& b : buttons) {
        bar->addAction(addButton(b.name, b.hint, int(b.glyph), b.enabled));
        if (b.gapAfter)
            bar->addSeparator();
    }
    // The hint of the save button is "Enregistrer|": the short hint is the
    // text before the bar, the status hint the empty text after it.
    action(QStringLiteral("SaveBtn"))->setStatusTip(QString());
}

// ---------------------------------------------------------------- enabling

void TMainForm::setEnabled(const QStringList& names, bool on)
{
    for (const QString& n : names)
        if (QAction* a = action(n))
            a->setEnabled(on);
}

void TMainForm::Valide()
{
    setEnabled({"SaveItem",
                "SaveBtn",
                "SpeedButton2",
                "SpeedButton3",
                "SpeedButton4",
                "SpeedButton5",
                "Prcdent1",
                "Suivant1",
                "Premier1",
                "Dernier1",
                "SpeedButton6",
                "CopyBtn",
                "PasteBtn",
                "Copier1",
                "Coller1",
                "Exporter1",
                "Enregistrersous1",
                "Supprimercontact1",
                "Imprimer1",
                "Touteslesfiches1",
                "Alarme1",
                "Venteaboutie1",
                "Relances1",
                "Listredescontacts1",
                "SpeedButton8",
                "Texte1",
                "Imprimerfiche1",
                "Planning1",
                "SpeedButton10",
                "Nom1",
                "Tlephone2",
                "Numrofiche2",
                "Enveloppe1",
                "Recherchenomdcideur1",
                "Codepostal1",
                "Ville1",
                "Permuteradresse1adresse21",
                "Trier1",
                "Rapportdactivit1",
                "Rappelerhistorique1",
                "Relancesfaire1",
                "SpeedButton7",
                "SpeedButton9",
                "Statsoprations1"},
               true);
}

// Commands that serve both pages, and those that belong to one page only.
static const QStringList BothPages = {"SpeedButton6",      "CopyBtn",         "PasteBtn",
                                      "Copier1",           "Coller1",         "Enregistrersous1",
                                      "Supprimercontact1", "Imprimer1",       "Listredescontacts1",
                                      "SpeedButton8",      "Texte1",          "Imprimerfiche1",
                                      "Planning1",         "Rapportdactivit1"};
static const QStringList ContactsOnly = {"Exporter1",
                                         "Touteslesfiches1",
                                         "Alarme1",
                                         "Venteaboutie1",
                                         "Relances1",
                                         "SpeedButton10",
                                         "Nom1",
                                         "Tlephone2",
                                         "Numrofiche2",
                                         "Enveloppe1",
                                         "Recherchenomdcideur1",
                                         "Codepostal1",
                                         "Ville1",
                                         "Permuteradresse1adresse21",
                                         "Trier1",
                                         "Rappelerhistorique1",
                                         "Relancesfaire1",
                                         "SpeedButton7",
                                         "SpeedButton9",
                                         "Importer1",
                                         "SpeedButton13"};
static const QStringList OperationsOnly = {"SpeedButton12", "Rechercherrsum1", "Touteslesfiches2",
                                           "Type1"};

void TMainForm::enableAfterFileCommand()
{
    Valide();
    // The enable-all step also turns on the commands of the contacts page
    // alone: on the operations page, which New, Open and a new record keep,
    // they go off again as the page wants them.
    if (m_fiche->book().page() == RecordBook::Page::Operations)
        Valide2();
}

void TMainForm::Valide1()
{
    setEnabled(BothPages, true);
    setEnabled(ContactsOnly, true);
    setEnabled(OperationsOnly, false);
}

void TMainForm::Valide2()
{
    setEnabled(BothPages, true);
    setEnabled(ContactsOnly, false);
    setEnabled(OperationsOnly, true);
}

// ---------------------------------------------------------------- status bar

bool TMainForm::event(QEvent* event)
{
    if (event->type() == QEvent::StatusTip) {
        // Every hint goes to the first panel of the status bar.
        if (m_panel0)
            m_panel0->setText(static_cast<QStatusTipEvent*>(event)->tip());
        return true;
    }
    return QMainWindow::event(event);
}

void TMainForm::tick()
{
    m_panel1->setText(QStringLiteral("    ") +
                      m_clock.now().time().toString(QStringLiteral("HH:mm:ss")));
}

void TMainForm::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    if (m_panel0)
        m_panel0->setFixedWidth(std::max(0, width() - 100));
}

void TMainForm::updateTitle()
{
    const QString caption = m_fiche->windowTitle();
    setWindowTitle(caption == QLatin1String("Fiche")
                       ? QStringLiteral("Tarvik")
                       : QStringLiteral("Tarvik - [%1]").arg(caption));
}

// ---------------------------------------------------------------- start and close

void TMainForm::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (!m_shown) {
        m_shown = true;
        firstShow();
    }
}

void TMainForm::firstShow()
{
    const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    if (screen && screen->geometry().width() <= 800)
        setWindowState(windowState() | Qt::WindowMaximized);
    else
        resize(800, 600);
    m_panel0->setFixedWidth(std::max(0, width() - 100));
    m_programFolder = QDir::currentPath();

    for (const char* name : ContactModeItems)
        action(QLatin1String(name))->setChecked(false);
    const RecordBook::StartupValues start = m_fiche->book().GetIni();
    if (m_files->autoOpenSet())
        action(QStringLiteral("Ouvrirautomatiquement1"))->setChecked(true);
    bool opened = false;
    if (!m_startFile.isEmpty())
        m_fiche->run([this, &opened] { opened = m_files->openPath(m_startFile); });
    else if (m_files->autoOpenSet()) {
        m_fiche->run([this] { m_files->openLastFile(); });
        opened = true; // the commands are enabled even when the last file is gone
    }
    if (opened) {
        Valide();
        Valide1();
        m_fiche->focusAfterMove();
    }
    checkContactMode(start.selectionMode);
}

const QString& TMainForm::fileName() const
{
    return m_files->fileName();
}

bool TMainForm::saveQuestion()
{
    bool goOn = false;
    m_fiche->run([this, &goOn] { goOn = m_files->saveQuestion(); });
    return goOn;
}

void TMainForm::closeEvent(QCloseEvent* event)
{
    const QString folder = m_programFolder.isEmpty() ? QDir::currentPath() : m_programFolder;
    bool closing = false;
    m_fiche->run([this, &folder, &closing] { closing = m_files->close(folder); });
    if (!closing) {
        event->ignore();
        return;
    }
    QDir::setCurrent(folder);
    // Apart from the settings files, so that one failure does not lose the day's time.
    TFiche* f = m_fiche;
    TRapport* rapport = m_rapport.get();
    runGuarded(this, [f, rapport, folder] {
        rapport->Init(f->book());
        rapport->Sauve(folder);
    });
    event->accept();
}

// ---------------------------------------------------------------- file commands

void TMainForm::selectAllRecords()
{
    checkContactMode(1);
    TFiche* f = m_fiche;
    f->run([f] {
        f->book().SetSel(1);
        f->book().Premier();
    });
    f->focusAfterMove();
}

void TMainForm::newFile()
{
    bool done = false;
    m_fiche->run([this, &done] { done = m_files->newFile(); });
    if (!done)
        return;
    enableAfterFileCommand();
    selectAllRecords();
}

void TMainForm::openFile()
{
    bool opened = false;
    m_fiche->run([this, &opened] { opened = m_files->open(); });
    if (!opened)
        return;
    enableAfterFileCommand();
    selectAllRecords();
}

bool TMainForm::saveFile()
{
    bool saved = false;
    m_fiche->run([this, &saved] { saved = m_files->save(); });
    updateTitle();
    return saved;
}

bool TMainForm::saveFileAs()
{
    bool saved = false;
    m_fiche->run([this, &saved] { saved = m_files->saveAs(); });
    updateTitle();
    return saved;
}

void TMainForm::toggleAutoOpen()
{
    m_files->setAutoOpen(action(QStringLiteral("Ouvrirautomatiquement1"))->isChecked());
}

// ---------------------------------------------------------------- selection

void TMainForm::checkContactMode(int mode)
{
    for (const char* name : ContactModeItems)
        action(QLatin1String(name))->setChecked(false);
    const int index = (mode >= 2 && mode <= 7) ? mode - 1 : 0;
    action(QLatin1String(ContactModeItems[index]))->setChecked(true);
}

void TMainForm::checkOperationMode(int mode)
{
    action(QStringLiteral("Touteslesfiches2"))->setChecked(mode == 0);
    action(QStringLiteral("Type1"))->setChecked(mode == 1);
}

void TMainForm::about()
{
    TAboutBox box(this);
    box.exec();
}
