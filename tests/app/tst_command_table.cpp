#include "app/command_table.h"

#include <QSet>
#include <QTest>

using namespace tarvik;

using commands::Place;
using commands::Step;
using commands::Turn;

namespace {

const commands::Command& named(const char* name)
{
    const int index = commands::indexOf(QLatin1String(name));
    if (index < 0)
        qFatal("no command %s", name);
    return commands::table()[index];
}

bool isMenu(Place place)
{
    return place != Place::None && place != Place::Toolbar;
}

} // namespace

class TstCommandTable : public QObject
{
    Q_OBJECT
private slots:
    void namesAreUniqueAndFound();
    void menusAreWellFormed();
    void itemsAndButtons();
    void pageStepsSetTheSameCommands();
    void enabling_data();
    void enabling();
    void hints_data();
    void hints();
};

void TstCommandTable::namesAreUniqueAndFound()
{
    QSet<QString> names;
    for (int i = 0; i < commands::Count; ++i) {
        const QString name = QLatin1String(commands::table()[i].name);
        QVERIFY2(!name.isEmpty(), qPrintable(QString::number(i)));
        QVERIFY2(!names.contains(name), qPrintable(name));
        names.insert(name);
        QCOMPARE(commands::indexOf(name), i);
    }
    // Object names are compared exactly, as Qt finds children.
    QCOMPARE(commands::indexOf(u"nouveau1"), -1);
    QCOMPARE(commands::indexOf(u"Nouveau"), -1);
    QCOMPARE(commands::indexOf(u""), -1);
    constexpr commands::Id exit("ExitItem");
    QCOMPARE(QLatin1String(exit.command().name), QLatin1String("ExitItem"));
}

void TstCommandTable::menusAreWellFormed()
{
    QSet<QString> menuNames;
    for (const commands::MenuInfo& m : commands::Menus) {
        QVERIFY(isMenu(m.place));
        QVERIFY2(!menuNames.contains(QLatin1String(m.objectName)), m.objectName);
        menuNames.insert(QLatin1String(m.objectName));
        QCOMPARE(commands::menu(m.place), &m);
        // A submenu is opened by exactly one item, of a menu that has a caption.
        int openers = 0;
        for (const commands::Command& c : commands::table()) {
            if (c.opens != m.place)
                continue;
            ++openers;
            QVERIFY(isMenu(c.place));
            QVERIFY(*commands::menu(c.place)->caption);
        }
        QCOMPARE(openers, *m.caption ? 0 : 1);
        // Every menu has items; none starts with a separator, which would show
        // as a line at its top.
        const commands::Command* first = nullptr;
        for (const commands::Command& c : commands::table())
            if (c.place == m.place && !first)
                first = &c;
        QVERIFY2(first, m.objectName);
        QVERIFY2(!first->separatorBefore, first->name);
    }
    for (const commands::Command& c : commands::table())
        if (c.place != Place::Toolbar)
            QVERIFY2(commands::menu(c.place), c.name);

    QStringList bar;
    for (const commands::MenuInfo& m : commands::Menus)
        if (*m.caption)
            bar << QString::fromUtf8(m.caption);
    QCOMPARE(bar, QStringList({"&Fichier", "&Ediiton", "&Base", "&Sélection", "&Outils",
                               "&Paramètres", "&Utilitaires", "&Aide"}));
}

void TstCommandTable::itemsAndButtons()
{
    QStringList toolbar;
    QSet<QString> shortcuts;
    for (const commands::Command& c : commands::table()) {
        const bool button = c.place == Place::Toolbar;
        // A button shows its glyph and no caption; a menu item the reverse.
        QVERIFY2(button == (c.glyph != commands::Glyph::None), c.name);
        QVERIFY2(button == !*c.caption, c.name);
        QVERIFY2(*c.hint, c.name);
        QVERIFY2(!c.checked || c.checkable, c.name);
        QVERIFY2(c.opens == Place::None || !c.checkable, c.name);
        if (*c.shortcut) {
            QVERIFY2(!shortcuts.contains(QLatin1String(c.shortcut)), c.shortcut);
            shortcuts.insert(QLatin1String(c.shortcut));
        }
        if (button)
            toolbar << QString(c.separatorBefore ? "| " : "") + QLatin1String(c.name);
    }
    QCOMPARE(toolbar.join(' '),
             QStringLiteral("SpeedButton11 SpeedButton1 SaveBtn | CopyBtn PasteBtn | SpeedButton2 "
                            "SpeedButton3 SpeedButton4 SpeedButton5 | SpeedButton7 SpeedButton9 | "
                            "SpeedButton6 | SpeedButton12 SpeedButton13 | SpeedButton8 "
                            "SpeedButton10"));
    QCOMPARE(QLatin1String(named("ExitItem").shortcut), QLatin1String("Alt+X"));
    // The sync with a server is the one other command with a key of its own.
    QCOMPARE(QLatin1String(named("Synchroniser1").shortcut), QLatin1String("Ctrl+Shift+S"));
    QCOMPARE(shortcuts.size(), 2);
    // The two selection groups each start checked on their "all" item.
    QVERIFY(named("Touteslesfiches1").checked);
    QVERIFY(named("Touteslesfiches2").checked);
    QVERIFY(!named("Type1").checked);
}

// Switching pages must leave nothing behind from the other page: a command one
// page step sets, the other sets too.
void TstCommandTable::pageStepsSetTheSameCommands()
{
    for (const commands::Command& c : commands::table()) {
        QVERIFY2((c.valide1 == Turn::Keep) == (c.valide2 == Turn::Keep), c.name);
        // Only the page steps turn commands off.
        QVERIFY2(c.valide != Turn::Off, c.name);
        // A command that starts disabled is turned on by some step, or it
        // could never be used.
        if (!c.enabled)
            QVERIFY2(c.valide == Turn::On || c.valide1 == Turn::On || c.valide2 == Turn::On,
                     c.name);
    }
}

void TstCommandTable::enabling_data()
{
    // One row per group of commands that behave alike: enabled at start, then
    // what the enable-all, contacts-page and operations-page steps do
    // ('+' on, '-' off, ' ' untouched).
    QTest::addColumn<QString>("names");
    QTest::addColumn<QString>("expected");
    QTest::newRow("save") << "SaveItem SaveBtn"
                          << "-+  ";
    QTest::newRow("moves") << "SpeedButton2 SpeedButton3 SpeedButton4 SpeedButton5 Prcdent1 "
                              "Suivant1 Premier1 Dernier1"
                           << "-+  ";
    QTest::newRow("new record button") << "SpeedButton6"
                                       << "++++";
    QTest::newRow("copy and paste") << "CopyBtn PasteBtn Copier1 Coller1"
                                    << "-+++";
    QTest::newRow("export") << "Exporter1"
                            << "-++-";
    QTest::newRow("both pages") << "Enregistrersous1 Supprimercontact1 Imprimer1 "
                                   "Listredescontacts1 SpeedButton8 Texte1 Imprimerfiche1 "
                                   "Planning1 Rapportdactivit1"
                                << "-+++";
    QTest::newRow("contacts selections")
        << "Touteslesfiches1 Alarme1 Venteaboutie1 Relances1 Codepostal1 Ville1 Relancesfaire1"
        << "-++-";
    QTest::newRow("contacts page") << "SpeedButton10 Nom1 Tlephone2 Numrofiche2 Enveloppe1 "
                                      "Recherchenomdcideur1 Permuteradresse1adresse21 Trier1 "
                                      "Rappelerhistorique1 SpeedButton7 SpeedButton9"
                                   << "-++-";
    QTest::newRow("statistics") << "Statsoprations1"
                                << "-+  ";
    QTest::newRow("import") << "Importer1"
                            << "+ +-";
    QTest::newRow("contacts button") << "SpeedButton12"
                                     << "+ -+";
    QTest::newRow("operations button") << "SpeedButton13"
                                       << "+ +-";
    QTest::newRow("operations page") << "Rechercherrsum1 Touteslesfiches2 Type1"
                                     << "- -+";
    QTest::newRow("always on") << "Nouveau1 OpenItem SpeedButton11 SpeedButton1 Nouveaucontact1 "
                                  "Contacts1 Oprations1 ExitItem Socit1 Listing1 About1"
                               << "+   ";
}

void TstCommandTable::enabling()
{
    QFETCH(QString, names);
    QFETCH(QString, expected);
    auto sign = [](Turn t) { return t == Turn::On ? '+' : t == Turn::Off ? '-' : ' '; };
    for (const QString& name : names.split(' ')) {
        const commands::Command& c = named(qPrintable(name));
        QString got;
        got += c.enabled ? '+' : '-';
        for (Step step : {Step::Valide, Step::Valide1, Step::Valide2})
            got += sign(c.turn(step));
        QVERIFY2(got == expected, qPrintable(name + ": \"" + got + "\""));
    }
}

void TstCommandTable::hints_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("toolTip");
    QTest::addColumn<QString>("statusTip");
    // The text before a bar is the short hint, the text after it the status hint.
    QTest::newRow("bar at the end") << "SaveBtn"
                                    << "Enregistrer" << QString();
    QTest::newRow("no bar") << "SpeedButton3"
                            << "Précédent"
                            << "Précédent";
    QTest::newRow("menu item") << "Permuteradresse1adresse21"
                               << "Permuter les deux lignes d'adresse de toutes les fiches"
                               << "Permuter les deux lignes d'adresse de toutes les fiches";
}

void TstCommandTable::hints()
{
    QFETCH(QString, name);
    QFETCH(QString, toolTip);
    QFETCH(QString, statusTip);
    const commands::Command& c = named(qPrintable(name));
    QCOMPARE(commands::toolTip(c), toolTip);
    QCOMPARE(commands::statusTip(c), statusTip);
}

QTEST_GUILESS_MAIN(TstCommandTable)
#include "tst_command_table.moc"
