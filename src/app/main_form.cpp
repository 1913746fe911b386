#include "app/main_form.h"

#include "activity/ui/rapport_window.h"
#include "app/about_box.h"
#include "app/icons.h"
#include "book/file_commands.h"
#include "contacts/ui/fiche.h"
#include "operations/ui/operations_page.h"
#include "platform/clock.h"
#include "platform/prompter.h"
#include "platform/ui/command_guard.h"
#include "print/ui/qt_print_host.h"

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

namespace tarvik {

namespace {

// The contacts selection items, by mode (index 0 is mode 1).
constexpr commands::Id ContactModeItems[] = {"Touteslesfiches1", "Alarme1",     "Venteaboutie1",
                                             "Relances1",        "Codepostal1", "Ville1",
                                             "Relancesfaire1"};

} // namespace

TMainForm::TMainForm(RecordBook& book, Prompter& prompter, const Clock& clock,
                     SystemClockSetter& clockSetter, QWidget* parent, print::PrintHost* printHost)
    : QMainWindow(parent), m_book(book), m_prompter(prompter), m_clock(clock),
      m_clockSetter(clockSetter), m_printHost(printHost)
{
    if (!m_printHost) {
        m_ownPrintHost = std::make_unique<print::QtPrintHost>(this);
        m_printHost = m_ownPrintHost.get();
    }
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(QStringLiteral("Tarvik"));
    setWindowIcon(icons::drawn(icons::Glyph::Program));

    m_fiche = new TFiche(book, this);
    auto* operations = new OperationsPage(book.operations(), book.pickLists());
    m_fiche->setOperationsPage(
        operations, [operations] { operations->refresh(); },
        [operations] { operations->focusSummary(); });
    // The activity report window lives for the whole run.
    m_rapport = std::make_unique<TRapport>(m_book);
    m_files = std::make_unique<FileCommands>(m_book, prompter);
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
    runGuarded(this, [&book, folder] {
        book.ChargeSoc(folder);
        book.ChargeIni(folder);
        book.ChargeCombo(folder);
    });
    // Today's time spent goes on from where the last run of the day left it.
    runGuarded(this, [&book, folder] { book.loadTimeFile(folder); });
    m_rapport->refresh();
    m_fiche->refreshPickLists();
    m_fiche->refresh();
    command("Touteslesfiches1")->setChecked(true);

    connect(m_fiche, &TFiche::captionChanged, this, &TMainForm::updateTitle);
    wireFeatures();
    wirePrinting();
    wireReports();
    updateTitle();
}

TMainForm::~TMainForm() = default;

QAction* TMainForm::action(const QString& name) const
{
    const int index = commands::indexOf(name);
    if (index < 0)
        qFatal("No command is named %s", qPrintable(name));
    return m_commands[index];
}

QStringList TMainForm::unwiredCommands() const
{
    QStringList names;
    for (int i = 0; i < commands::Count; ++i)
        if (!m_wired[i])
            names << QLatin1String(commands::table()[i].name);
    return names;
}

QAction* TMainForm::wire(commands::Id id)
{
    m_wired[id.index()] = true;
    return command(id);
}

void TMainForm::setUp(int index, QAction* a)
{
    const commands::Command& c = commands::table()[index];
    a->setObjectName(QLatin1String(c.name));
    a->setStatusTip(commands::statusTip(c));
    a->setToolTip(commands::toolTip(c));
    if (*c.shortcut)
        a->setShortcut(QKeySequence::fromString(QLatin1String(c.shortcut)));
    if (c.glyph != commands::Glyph::None)
        a->setIcon(icons::icon(c.glyph));
    a->setCheckable(c.checkable);
    a->setChecked(c.checked);
    a->setEnabled(c.enabled);
    m_commands[index] = a;
}

void TMainForm::buildMenus()
{
    m_commands.assign(commands::Count, nullptr);
    m_wired.assign(commands::Count, false);

    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu"));
    QMenu* menus[int(commands::Place::Toolbar) + 1] = {};
    for (const commands::MenuInfo& m : commands::Menus) {
        if (!*m.caption)
            continue; // a submenu, made by the item that opens it
        QMenu* menu = bar->addMenu(QString::fromUtf8(m.caption));
        menu->setObjectName(QLatin1String(m.objectName));
        menus[int(m.place)] = menu;
    }
    for (int i = 0; i < commands::Count; ++i) {
        const commands::Command& c = commands::table()[i];
        if (c.place == commands::Place::Toolbar)
            continue;
        QMenu* menu = menus[int(c.place)];
        if (c.separatorBefore)
            menu->addSeparator();
        if (c.opens != commands::Place::None) {
            QMenu* sub = menu->addMenu(commands::caption(c));
            sub->setObjectName(QLatin1String(commands::menu(c.opens)->objectName));
            menus[int(c.opens)] = sub;
            setUp(i, sub->menuAction());
        } else {
            auto* a = new QAction(commands::caption(c), this);
            setUp(i, a);
            menu->addAction(a);
        }
    }
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
    for (int i = 0; i < commands::Count; ++i) {
        const commands::Command& c = commands::table()[i];
        if (c.place != commands::Place::Toolbar)
            continue;
        if (c.separatorBefore)
            bar->addSeparator();
        // A button has no caption: its text is its short hint.
        auto* a = new QAction(commands::toolTip(c), this);
        setUp(i, a);
        bar->addAction(a);
        // A button that shows a menu item's command runs it through the item's
        // action, the one place that command is wired.
        if (*c.runs) {
            connect(a, &QAction::triggered, m_commands[commands::indexOf(c.runs)],
                    &QAction::trigger);
            m_wired[i] = true;
        }
    }
}

// ---------------------------------------------------------------- enabling

void TMainForm::applyStep(commands::Step step)
{
    for (int i = 0; i < commands::Count; ++i) {
        const commands::Turn turn = commands::table()[i].turn(step);
        if (turn != commands::Turn::Keep)
            m_commands[i]->setEnabled(turn == commands::Turn::On);
    }
    if (step == commands::Step::Valide)
        m_fileCommandsOn = true;
    updateStateCommands();
}

void TMainForm::updateStateCommands()
{
    // A file open read-only is never written over: only Save As stays.
    const bool on = m_fileCommandsOn && !(m_files && m_files->readOnly());
    action(QStringLiteral("SaveItem"))->setEnabled(on);
    action(QStringLiteral("SaveBtn"))->setEnabled(on);
    // The sync needs a file of its own with a server set for it.
    action(QStringLiteral("Synchroniser1"))
        ->setEnabled(m_fileCommandsOn && m_book.syncConfigured());
}

void TMainForm::Valide()
{
    applyStep(commands::Step::Valide);
}

void TMainForm::enableAfterFileCommand()
{
    Valide();
    // The enable-all step also turns on the commands of the contacts page
    // alone: on the operations page, which New, Open and a new record keep,
    // they go off again as the page wants them.
    if (m_book.page() == RecordBook::Page::Operations)
        Valide2();
}

void TMainForm::Valide1()
{
    applyStep(commands::Step::Valide1);
}

void TMainForm::Valide2()
{
    applyStep(commands::Step::Valide2);
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
    if (m_files)
        m_files->tick();
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
    setWindowTitle(
        (caption == QLatin1String("Fiche") ? QStringLiteral("Tarvik")
                                           : QStringLiteral("Tarvik - [%1]").arg(caption)) +
        (m_files && m_files->readOnly() ? QStringLiteral(" (lecture seule)") : QString()));
    updateStateCommands();
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

    for (const commands::Id item : ContactModeItems)
        command(item)->setChecked(false);
    const RecordBook::StartupValues start = m_book.GetIni();
    if (m_files->autoOpenSet())
        command("Ouvrirautomatiquement1")->setChecked(true);
    bool opened = false;
    if (!m_startFile.isEmpty()) {
        m_fiche->run([this, &opened] { opened = m_files->openPath(m_startFile); });
    } else {
        // The changes a crash left unsaved are offered before the auto-open.
        m_fiche->run([this, &opened] { opened = m_files->recoverAtStart(); });
        if (!opened && m_files->autoOpenSet()) {
            m_fiche->run([this] { m_files->openLastFile(); });
            opened = true; // the commands are enabled even when the last file is gone
        }
    }
    if (opened) {
        Valide();
        Valide1();
        m_fiche->focusAfterMove();
    }
    updateTitle();
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
    event->accept();
}

// ---------------------------------------------------------------- file commands

void TMainForm::selectAllRecords()
{
    checkContactMode(selection::All);
    TFiche* f = m_fiche;
    RecordBook& book = m_book;
    f->run([&book] {
        book.SetSel(selection::All);
        book.Premier();
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
    updateTitle();
}

void TMainForm::openFile()
{
    bool opened = false;
    m_fiche->run([this, &opened] { opened = m_files->open(); });
    if (!opened)
        return;
    enableAfterFileCommand();
    selectAllRecords();
    updateTitle();
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
    m_files->setAutoOpen(command("Ouvrirautomatiquement1")->isChecked());
}

// ---------------------------------------------------------------- selection

void TMainForm::checkContactMode(selection::Mode mode)
{
    for (const commands::Id item : ContactModeItems)
        command(item)->setChecked(false);
    command(ContactModeItems[selection::menuIndex(mode)])->setChecked(true);
}

void TMainForm::checkOperationMode(operations::Selection mode)
{
    command("Touteslesfiches2")->setChecked(mode == operations::Selection::All);
    command("Type1")->setChecked(mode == operations::Selection::OneType);
}

void TMainForm::about()
{
    TAboutBox box(this);
    box.exec();
}

} // namespace tarvik
