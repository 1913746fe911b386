#include "app/command_table.h"
#include "app/main_form.h"
#include "support/fixed_clock.h"
#include "support/form_fixture.h"
#include "support/scripted_prompter.h"

#include <QAction>
#include <QDir>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <memory>

using namespace tarvik;

using commands::Place;
using commands::Step;
using commands::Turn;

// The menus, the toolbar and the enabling steps of the real main window
// against the command table they are built from.
class TstMainCommands : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void menusFollowTheTable();
    void toolbarFollowsTheTable();
    void enablingFollowsTheTable_data();
    void enablingFollowsTheTable();
    void everyCommandIsWired();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_oldCwd;
    std::unique_ptr<ScriptedPrompter> m_prompter;
    std::unique_ptr<FixedClock> m_clock;
    std::unique_ptr<FakeClockSetter> m_setter;
    std::unique_ptr<RecordBook> m_book;
    std::unique_ptr<TMainForm> m_form;

    // The items of one menu, or the buttons of the toolbar, as the table
    // orders them: names, with "|" for a separator.
    static QStringList expected(Place place);
    void compareWithTable(QAction* a, QStringList& seen);
    void walk(QMenu* menu, QStringList& names, QStringList& seen);
};

QStringList TstMainCommands::expected(Place place)
{
    QStringList names;
    for (const commands::Command& c : commands::table()) {
        if (c.place != place)
            continue;
        if (c.separatorBefore)
            names << QStringLiteral("|");
        names << QLatin1String(c.name);
    }
    return names;
}

void TstMainCommands::compareWithTable(QAction* a, QStringList& seen)
{
    const QString name = a->objectName();
    const int index = commands::indexOf(name);
    QVERIFY2(index >= 0, qPrintable(name));
    const commands::Command& c = commands::table()[index];
    seen << name;
    QCOMPARE(m_form->action(name), a);
    QCOMPARE(a->text(), c.place == Place::Toolbar ? commands::toolTip(c) : commands::caption(c));
    QCOMPARE(a->toolTip(), commands::toolTip(c));
    QCOMPARE(a->statusTip(), commands::statusTip(c));
    QCOMPARE(a->shortcut(), QKeySequence::fromString(QLatin1String(c.shortcut)));
    QCOMPARE(a->shortcut().isEmpty(), !*c.shortcut);
    QCOMPARE(a->icon().isNull(), c.glyph == commands::Glyph::None);
    QCOMPARE(a->isCheckable(), c.checkable);
    // The print preview mark comes from the user's preference.
    if (name != QLatin1String("Apercuavantimpression1"))
        QCOMPARE(a->isChecked(), c.checked);
    QCOMPARE(a->isEnabled(), c.enabled);
    QCOMPARE(a->menu() != nullptr, c.opens != Place::None);
}

void TstMainCommands::walk(QMenu* menu, QStringList& names, QStringList& seen)
{
    for (QAction* a : menu->actions()) {
        if (a->isSeparator()) {
            names << QStringLiteral("|");
            continue;
        }
        names << a->objectName();
        compareWithTable(a, seen);
        if (QMenu* sub = a->menu()) {
            const commands::Command& c = commands::table()[commands::indexOf(a->objectName())];
            const commands::MenuInfo* info = commands::menu(c.opens);
            QCOMPARE(sub->objectName(), QLatin1String(info->objectName));
            QStringList subNames;
            walk(sub, subNames, seen);
            QCOMPARE(subNames, expected(c.opens));
        }
    }
}

void TstMainCommands::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_oldCwd = QDir::currentPath();
    QDir::setCurrent(m_dir->path());
    m_prompter = std::make_unique<ScriptedPrompter>();
    m_clock = std::make_unique<FixedClock>();
    m_setter = std::make_unique<FakeClockSetter>();
    // Not shown: the start with its settings would change the check marks.
    startForm(m_form, m_book, *m_prompter, *m_clock, *m_setter);
}

void TstMainCommands::cleanup()
{
    m_form.reset();
    m_setter.reset();
    m_clock.reset();
    m_prompter.reset();
    QDir::setCurrent(m_oldCwd);
    m_dir.reset();
}

void TstMainCommands::menusFollowTheTable()
{
    QStringList seen;
    const QList<QAction*> tops = m_form->menuBar()->actions();
    int top = 0;
    for (const commands::MenuInfo& m : commands::Menus) {
        if (!*m.caption)
            continue;
        QVERIFY(top < tops.size());
        QMenu* menu = tops[top++]->menu();
        QVERIFY(menu);
        QCOMPARE(menu->objectName(), QLatin1String(m.objectName));
        QCOMPARE(menu->title(), QString::fromUtf8(m.caption));
        QStringList names;
        walk(menu, names, seen);
        QCOMPARE(names, expected(m.place));
    }
    QCOMPARE(top, tops.size());
    // Each item once, and every item of the table somewhere.
    QStringList wanted;
    for (const commands::Command& c : commands::table())
        if (c.place != Place::Toolbar)
            wanted << QLatin1String(c.name);
    seen.sort();
    wanted.sort();
    QCOMPARE(seen, wanted);
}

void TstMainCommands::toolbarFollowsTheTable()
{
    auto* bar = m_form->findChild<QToolBar*>(QStringLiteral("SpeedPanel"));
    QVERIFY(bar);
    QCOMPARE(bar->height(), 33);
    QStringList names;
    QStringList seen;
    for (QAction* a : bar->actions()) {
        if (a->isSeparator()) {
            names << QStringLiteral("|");
            continue;
        }
        names << a->objectName();
        compareWithTable(a, seen);
        QCOMPARE(commands::table()[commands::indexOf(a->objectName())].place, Place::Toolbar);
    }
    QCOMPARE(names, expected(Place::Toolbar));
}

void TstMainCommands::enablingFollowsTheTable_data()
{
    QTest::addColumn<QString>("steps");
    QTest::newRow("enable-all") << "Valide";
    QTest::newRow("contacts page at start") << "Valide1";
    QTest::newRow("operations page at start") << "Valide2";
    QTest::newRow("open, then operations") << "Valide Valide2";
    QTest::newRow("open, operations, contacts") << "Valide Valide2 Valide1";
    QTest::newRow("new record on the operations page") << "Valide2 Valide Valide2 Valide1";
}

void TstMainCommands::enablingFollowsTheTable()
{
    QFETCH(QString, steps);
    std::vector<bool> model;
    for (const commands::Command& c : commands::table())
        model.push_back(c.enabled);
    auto compare = [&](const QString& after) {
        for (int i = 0; i < commands::Count; ++i) {
            const QString name = QLatin1String(commands::table()[i].name);
            // The sync also needs a server set for the file, and there is none here.
            const bool wanted = model[i] && name != QLatin1String("Synchroniser1");
            QVERIFY2(m_form->action(name)->isEnabled() == wanted,
                     qPrintable(name + " after " + after));
        }
    };
    compare(QStringLiteral("start"));
    for (const QString& name : steps.split(' ')) {
        const Step step = name == QLatin1String("Valide")    ? Step::Valide
                          : name == QLatin1String("Valide1") ? Step::Valide1
                                                             : Step::Valide2;
        if (step == Step::Valide)
            m_form->Valide();
        else if (step == Step::Valide1)
            m_form->Valide1();
        else
            m_form->Valide2();
        for (int i = 0; i < commands::Count; ++i) {
            const Turn turn = commands::table()[i].turn(step);
            if (turn != Turn::Keep)
                model[i] = turn == Turn::On;
        }
        compare(name);
    }
}

void TstMainCommands::everyCommandIsWired()
{
    // The copy and paste buttons do nothing by design; the print item only
    // opens its submenu.
    QCOMPARE(m_form->unwiredCommands(), QStringList({"Imprimer1", "CopyBtn", "PasteBtn"}));
}

QTEST_MAIN(TstMainCommands)
#include "tst_main_commands.moc"
