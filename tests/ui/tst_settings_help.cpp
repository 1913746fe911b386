#include "app/help_window.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTest>
#include <QTextBrowser>
#include <QTreeWidget>

using namespace tarvik;

namespace {

QString resourceText(const QString& name)
{
    QFile f(QStringLiteral(":/help/") + name);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(f.readAll());
}

// "page.html#anchor" exists: the page is shipped and holds that anchor.
bool targetExists(const QString& target)
{
    const QString page = target.section(QLatin1Char('#'), 0, 0);
    const QString anchor = target.section(QLatin1Char('#'), 1);
    const QString text = resourceText(page);
    if (text.isEmpty())
        return false;
    return anchor.isEmpty() || text.contains(QStringLiteral("name=\"%1\"").arg(anchor));
}

QStringList helpPages()
{
    return QDir(QStringLiteral(":/help")).entryList({QStringLiteral("*.html")}, QDir::Files);
}

} // namespace

class TstSettingsHelp : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { QVERIFY(!HelpWindow::keywords().isEmpty()); }
    void linksLeadToShippedPages();
    void contentsEntriesExist();
    void everyMenuIsExplained_data();
    void everyMenuIsExplained();
    void viewsAndSingleWindow();
    void keywordSearchIsPartial();
    void cleanupTestCase();
};

void TstSettingsHelp::linksLeadToShippedPages()
{
    static const QRegularExpression href(QStringLiteral("href=\"([^\"]+)\""));
    const QStringList pages = helpPages();
    QVERIFY(pages.size() > 20);
    for (const QString& page : pages) {
        auto it = href.globalMatch(resourceText(page));
        while (it.hasNext()) {
            const QString target = it.next().captured(1);
            QVERIFY2(targetExists(target), qPrintable(page + " -> " + target));
        }
    }
    for (const auto& [word, target] : HelpWindow::keywords())
        QVERIFY2(targetExists(target), qPrintable(word + " -> " + target));
}

void TstSettingsHelp::contentsEntriesExist()
{
    HelpWindow::showHelp(HelpWindow::Contents, nullptr);
    auto* tree = HelpWindow::instance()->findChild<QTreeWidget*>("contentsTree");
    int count = 0;
    for (QTreeWidgetItemIterator it(tree); *it; ++it) {
        const QString target = (*it)->data(0, Qt::UserRole).toString();
        QVERIFY2(targetExists(target), qPrintable((*it)->text(0)));
        ++count;
    }
    QVERIFY(count > 25);
}

void TstSettingsHelp::everyMenuIsExplained_data()
{
    QTest::addColumn<QString>("caption");
    for (const char* c :
         {"Fichier", "Ediiton", "Base", "Sélection", "Outils", "Paramètres", "Utilitaires", "Aide"})
        QTest::newRow(c) << QString::fromUtf8(c);
}

void TstSettingsHelp::everyMenuIsExplained()
{
    QFETCH(QString, caption);
    // A page titled after the menu, reachable from the index by the menu's name.
    bool titled = false;
    for (const QString& page : helpPages())
        titled = titled || resourceText(page).contains("<h1>Menu " + caption + "</h1>");
    QVERIFY(titled);
    bool indexed = false;
    for (const auto& kw : HelpWindow::keywords())
        indexed = indexed || kw.first.compare("menu " + caption, Qt::CaseInsensitive) == 0;
    QVERIFY(indexed);
}

void TstSettingsHelp::viewsAndSingleWindow()
{
    HelpWindow::showHelp(HelpWindow::Contents, nullptr);
    HelpWindow* first = HelpWindow::instance();
    QVERIFY(first && first->isVisible());
    QVERIFY(!first->isModal());
    QCOMPARE(first->currentPage(), QStringLiteral("index.html"));
    QCOMPARE(first->findChild<QTabWidget*>("helpTabs")->currentIndex(), 0);

    HelpWindow::showHelp(HelpWindow::HelpOnHelp, nullptr);
    QCOMPARE(HelpWindow::instance(), first);
    QCOMPARE(first->currentPage(), QStringLiteral("aide.html"));
    QVERIFY(first->findChild<QTextBrowser*>("helpBrowser")
                ->toPlainText()
                .contains(QStringLiteral("Utiliser l'aide")));

    first->findChild<QLineEdit*>("keywordEdit")->setText(QStringLiteral("old"));
    HelpWindow::showHelp(HelpWindow::Search, nullptr);
    QCOMPARE(HelpWindow::instance(), first);
    QCOMPARE(first->findChild<QTabWidget*>("helpTabs")->currentIndex(), 1);
    // The search opens with an empty key and every keyword listed.
    QVERIFY(first->findChild<QLineEdit*>("keywordEdit")->text().isEmpty());
    auto* list = first->findChild<QListWidget*>("keywordList");
    for (int i = 0; i < list->count(); ++i)
        QVERIFY(!list->item(i)->isHidden());
}

void TstSettingsHelp::keywordSearchIsPartial()
{
    HelpWindow::showHelp(HelpWindow::Search, nullptr);
    HelpWindow* w = HelpWindow::instance();
    auto* edit = w->findChild<QLineEdit*>("keywordEdit");
    auto* list = w->findChild<QListWidget*>("keywordList");

    // Neither case nor accents count; the first keyword beginning so is chosen.
    QTest::keyClicks(edit, QStringLiteral("SOCIE"));
    QVERIFY(list->currentItem());
    QCOMPARE(list->currentItem()->text(), QStringLiteral("Société"));
    QTest::keyClick(edit, Qt::Key_Return);
    QCOMPARE(w->currentPage(), QStringLiteral("parametres.html"));

    // A word inside a keyword still matches, and others are hidden.
    edit->setText(QStringLiteral("enveloppe à"));
    int shown = 0;
    for (int i = 0; i < list->count(); ++i)
        shown += list->item(i)->isHidden() ? 0 : 1;
    QCOMPARE(shown, 1);
    QTest::keyClick(edit, Qt::Key_Return);
    QCOMPARE(w->currentPage(), QStringLiteral("parametres.html#miseenpage"));

    edit->setText(QStringLiteral("zzzz"));
    QVERIFY(!list->currentItem());
    QTest::keyClick(edit, Qt::Key_Return);
    QCOMPARE(w->currentPage(), QStringLiteral("parametres.html#miseenpage"));
}

void TstSettingsHelp::cleanupTestCase()
{
    if (HelpWindow::instance())
        HelpWindow::instance()->close();
}

QTEST_MAIN(TstSettingsHelp)
#include "tst_settings_help.moc"
