#include "settings/ui/pick_list_editor.h"
#include "settings/ui/societe_dialog.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <functional>

using namespace tarvik;

using settings::CompanyLines;

namespace {

// Runs `steps` on the dialog once its modal loop has started.
template <class Dialog> void whenShown(const std::function<void(Dialog*)>& steps)
{
    QTimer::singleShot(0, [steps] {
        auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        steps(dialog);
    });
}

const CompanyLines oldLines = {"Ancienne SARL", "1 rue Vieille", "13001 Marseille", "", "", "", ""};

void clickItem(QListWidget* list, int row)
{
    const QRect r = list->visualItemRect(list->item(row));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, r.center());
}

// Types each character as a key press carrying that text; QTest::keyClicks
// takes Latin-1 only.
void typeText(QWidget* widget, const QString& text)
{
    for (QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &press);
    }
}

} // namespace

class TstSettingsDialogs : public QObject
{
    Q_OBJECT
private slots:
    void societeOutcome_data();
    void societeOutcome();
    void societeRefusesForeignCharacters();
    void comboTitles_data();
    void comboTitles();
    void comboAppend();
    void comboReplaceByClickAndEnter();
    void comboDelete();
    void comboKeepsUntouchedBytes();
    void comboRefusesSectionName();
    void comboClosingWritesBack_data();
    void comboClosingWritesBack();
};

void TstSettingsDialogs::societeOutcome_data()
{
    QTest::addColumn<QString>("line1");
    QTest::addColumn<QString>("how");
    QTest::addColumn<bool>("changed");
    QTest::newRow("OK replaces") << "Nouvelle SA"
                                 << "ok" << true;
    QTest::newRow("OK with empty first line") << ""
                                              << "ok" << false;
    QTest::newRow("Annuler") << "Nouvelle SA"
                             << "cancel" << false;
    QTest::newRow("Escape") << "Nouvelle SA"
                            << "escape" << false;
    QTest::newRow("close box") << "Nouvelle SA"
                               << "close" << false;
}

void TstSettingsDialogs::societeOutcome()
{
    QFETCH(QString, line1);
    QFETCH(QString, how);
    QFETCH(bool, changed);
    CompanyLines lines = oldLines;
    whenShown<TSociete>([=](TSociete* d) {
        QCOMPARE(d->windowTitle(), QStringLiteral("Société"));
        auto* e1 = d->findChild<QLineEdit*>("Edit1");
        QCOMPARE(e1->text(), QStringLiteral("Ancienne SARL"));
        e1->setText(line1);
        d->findChild<QLineEdit*>("Edit7")->setText(QStringLiteral("Tél. 04 91 00 00 00"));
        if (how == "ok")
            d->findChild<QPushButton*>("Button1")->click();
        else if (how == "cancel")
            d->findChild<QPushButton*>("Button2")->click();
        else if (how == "escape")
            QTest::keyClick(e1, Qt::Key_Escape);
        else
            d->close();
    });
    QCOMPARE(TSociete::edit(lines, nullptr), changed);
    if (changed) {
        const CompanyLines expected = {
            "Nouvelle SA",           "1 rue Vieille", "13001 Marseille", "", "", "",
            "T\xE9l. 04 91 00 00 00"};
        QCOMPARE(lines, expected);
    } else {
        QCOMPARE(lines, oldLines);
    }
}

void TstSettingsDialogs::societeRefusesForeignCharacters()
{
    TSociete d(oldLines);
    auto* e = d.findChild<QLineEdit*>("Edit2");
    e->clear();
    typeText(e, QStringLiteral("Café€中"));
    QCOMPARE(e->text(), QStringLiteral("Café€"));
    QCOMPARE(d.lines()[1], QByteArray("Caf\xE9\x80"));
}

void TstSettingsDialogs::comboTitles_data()
{
    QTest::addColumn<int>("which");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("label");
    QTest::newRow("fonction") << int(settings::Fonction) << "Les fonctions"
                              << "Fonction";
    QTest::newRow("contact") << int(settings::Contact) << "Les types de contacts"
                             << "Contact";
    QTest::newRow("inter") << int(settings::Interlocuteur) << "Les interlocuteurs"
                           << "Interlocuteur";
    QTest::newRow("produit") << int(settings::Produit) << "Les produits"
                             << "Produit";
    QTest::newRow("reponse") << int(settings::Reponse) << "Les Réponses"
                             << "Réponse";
    QTest::newRow("arguments") << int(settings::Arguments) << "nos arguments"
                               << "Arguments";
    QTest::newRow("appreciation") << int(settings::Appreciation) << "Appréciation"
                                  << "Appréciation";
    QTest::newRow("relance") << int(settings::Relance) << "Les types de relance"
                             << "Relance";
    QTest::newRow("operation") << int(settings::Operation) << "Les types d'opérations"
                               << "Type";
}

void TstSettingsDialogs::comboTitles()
{
    QFETCH(int, which);
    QFETCH(QString, caption);
    QFETCH(QString, label);
    TCombo d(settings::PickList(which), {});
    QCOMPARE(d.windowTitle(), caption);
    QCOMPARE(d.findChild<QLabel*>("Label1")->text(), label);
    QCOMPARE(d.findChild<QToolButton*>("SpeedButton1")->toolTip(), QStringLiteral("Valider"));
    QCOMPARE(d.findChild<QPushButton*>("Button1")->text(), QStringLiteral("Fermer"));
}

void TstSettingsDialogs::comboAppend()
{
    TCombo d(settings::Produit, {"Copieur"});
    auto* edit = d.findChild<QLineEdit*>("Edit1");
    auto* list = d.findChild<QListWidget*>("ListBox1");
    typeText(edit, QStringLiteral("Télécopieur"));
    QTest::keyClick(edit, Qt::Key_Return);
    QVERIFY(edit->text().isEmpty());
    QVERIFY(list->selectedItems().isEmpty());
    // An empty text is an item too.
    QTest::keyClick(edit, Qt::Key_Enter);
    QTest::keyClicks(edit, QStringLiteral("Scanner"));
    d.findChild<QToolButton*>("SpeedButton1")->click();
    QCOMPARE(d.items(), (QList<QByteArray>{"Copieur",
                                           "T\xE9l\xE9"
                                           "copieur",
                                           "", "Scanner"}));
}

void TstSettingsDialogs::comboReplaceByClickAndEnter()
{
    TCombo d(settings::Fonction, {"PDG", "Gerant", "Acheteur"});
    d.show();
    QVERIFY(QTest::qWaitForWindowExposed(&d));
    auto* edit = d.findChild<QLineEdit*>("Edit1");
    auto* list = d.findChild<QListWidget*>("ListBox1");
    clickItem(list, 1);
    QCOMPARE(edit->text(), QStringLiteral("Gerant"));
    edit->setText(QStringLiteral("Gérant"));
    QTest::keyClick(edit, Qt::Key_Return);
    QCOMPARE(d.items(), (QList<QByteArray>{"PDG", "G\xE9rant", "Acheteur"}));
    QVERIFY(edit->text().isEmpty());
    QVERIFY(list->selectedItems().isEmpty());
    // With nothing selected again, the next text is appended.
    QTest::keyClicks(edit, QStringLiteral("DRH"));
    QTest::keyClick(edit, Qt::Key_Return);
    QCOMPARE(d.items().size(), 4);
    QCOMPARE(d.items().last(), QByteArray("DRH"));
}

void TstSettingsDialogs::comboDelete()
{
    TCombo d(settings::Relance, {"Appel", "Visite", "Courrier"});
    d.show();
    QVERIFY(QTest::qWaitForWindowExposed(&d));
    auto* list = d.findChild<QListWidget*>("ListBox1");
    auto* edit = d.findChild<QLineEdit*>("Edit1");
    // Delete with nothing selected removes nothing.
    QTest::keyClick(list, Qt::Key_Delete);
    QCOMPARE(d.items().size(), 3);
    clickItem(list, 0);
    QTest::keyClick(list, Qt::Key_Delete);
    QCOMPARE(d.items(), (QList<QByteArray>{"Visite", "Courrier"}));
    QVERIFY(edit->text().isEmpty());
    QVERIFY(list->selectedItems().isEmpty());
}

void TstSettingsDialogs::comboKeepsUntouchedBytes()
{
    // 0x81 has no character in the code page; an item that is not edited keeps it.
    const QList<QByteArray> items = {"Mailing \x81", "Salon \xE9t\xE9"};
    TCombo d(settings::Operation, items);
    QCOMPARE(d.items(), items);
}

void TstSettingsDialogs::comboRefusesSectionName()
{
    TCombo d(settings::Fonction, {"PDG"});
    auto* edit = d.findChild<QLineEdit*>("Edit1");
    edit->setText(QStringLiteral("[CONTACT]"));
    QTest::keyClick(edit, Qt::Key_Return);
    QCOMPARE(d.items(), QList<QByteArray>{"PDG"});
    QCOMPARE(edit->text(), QStringLiteral("[CONTACT]"));
}

void TstSettingsDialogs::comboClosingWritesBack_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("Fermer") << "fermer";
    QTest::newRow("Escape") << "escape";
    QTest::newRow("close box") << "close";
}

void TstSettingsDialogs::comboClosingWritesBack()
{
    QFETCH(QString, how);
    QList<QByteArray> items = {"Salon"};
    whenShown<TCombo>([=](TCombo* d) {
        auto* edit = d->findChild<QLineEdit*>("Edit1");
        QTest::keyClicks(edit, QStringLiteral("Phoning"));
        // Enter sends the text to the list and leaves the editor open.
        QTest::keyClick(edit, Qt::Key_Return);
        QVERIFY(d->isVisible());
        if (how == "fermer")
            d->findChild<QPushButton*>("Button1")->click();
        else if (how == "escape")
            QTest::keyClick(d->findChild<QListWidget*>("ListBox1"), Qt::Key_Escape);
        else
            d->close();
    });
    TCombo::edit(settings::Operation, items, nullptr);
    QCOMPARE(items, (QList<QByteArray>{"Salon", "Phoning"}));
}

QTEST_MAIN(TstSettingsDialogs)
#include "tst_settings_dialogs.moc"
