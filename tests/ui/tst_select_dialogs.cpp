#include "selection/ui/filter_dialogs.h"
#include "selection/ui/search_dialogs.h"
#include "selection/ui/sort_dialog.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>

using namespace tarvik;

class TstSelectDialogs : public QObject
{
    Q_OBJECT
private slots:
    void keyFilters_data();
    void keyFilters();
    void valuesOnAcceptAndCancel();
    void shownWithTextSelected();
    void typeDialog();
    void sortDialog_data();
    void sortDialog();
};

// Runs `drive` on the modal dialog once its exec() has started.
static void whenModal(std::function<void(QWidget*)> drive)
{
    QTimer::singleShot(0, [drive] {
        QWidget* w = QApplication::activeModalWidget();
        QVERIFY(w);
        drive(w);
    });
}

// Types any text, accented letters too, as key events carrying characters.
static void typeText(QWidget* w, const QString& text)
{
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(w, &press);
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(w, &release);
    }
}

static std::unique_ptr<LineInputDialog> makeDialog(const QString& kind)
{
    if (kind == "TFcp")
        return std::make_unique<TFcp>();
    if (kind == "TVille")
        return std::make_unique<TVille>();
    if (kind == "TRNom")
        return std::make_unique<TRNom>();
    if (kind == "TRTel")
        return std::make_unique<TRTel>();
    if (kind == "TRDeci")
        return std::make_unique<TRDeci>();
    return std::make_unique<TRNum>();
}

void TstSelectDialogs::keyFilters_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("expected"); // after typing "7a5 0-1é" and one backspace
    QTest::newRow("TFcp") << "TFcp"
                          << "Code postal"
                          << "750";
    QTest::newRow("TRTel") << "TRTel"
                           << "Recherche par téléphone"
                           << "750";
    QTest::newRow("TRNum") << "TRNum"
                           << "Recherche par fiche"
                           << "750";
    QTest::newRow("TRNom") << "TRNom"
                           << "Recherche par nom"
                           << "7a5 0-1";
    QTest::newRow("TRDeci") << "TRDeci"
                            << "Recherche par décideur"
                            << "7a5 0-1";
    QTest::newRow("TVille") << "TVille"
                            << "Ville"
                            << "7a5 0-1";
}

void TstSelectDialogs::keyFilters()
{
    QFETCH(QString, kind);
    QFETCH(QString, caption);
    QFETCH(QString, expected);
    auto dialog = makeDialog(kind);
    QCOMPARE(dialog->windowTitle(), caption);
    QLineEdit* edit = dialog->findChild<QLineEdit*>("Edit1");
    QVERIFY(edit);
    typeText(edit, QString::fromUtf8("7a5 0-1\u00e9"));
    QTest::keyClick(edit, Qt::Key_Backspace);
    QCOMPARE(edit->text(), expected);
    QCOMPARE(dialog->findChild<QPushButton*>("Button1")->text(), QString("Annuler"));
    QCOMPARE(dialog->findChild<QPushButton*>("Button2")->text(), QString("OK"));
}

void TstSelectDialogs::valuesOnAcceptAndCancel()
{
    // Enter accepts the text typed; the town comes back upper-cased, a..z only.
    whenModal([](QWidget* w) {
        auto* edit = w->findChild<QLineEdit*>("Edit1");
        QCOMPARE(edit->text(), QString("75001"));
        QTest::keyClicks(edit, "13002");
        QTest::keyClick(edit, Qt::Key_Return);
    });
    QCOMPARE(TFcp::ask(nullptr, "75001"), std::optional<QByteArray>("13002"));

    whenModal([](QWidget* w) {
        typeText(w->findChild<QLineEdit*>("Edit1"), QString::fromUtf8("évry"));
        QTest::mouseClick(w->findChild<QPushButton*>("Button2"), Qt::LeftButton);
    });
    QCOMPARE(TVille::ask(nullptr, "PARIS"), std::optional<QByteArray>("\xE9VRY"));

    whenModal([](QWidget* w) {
        QTest::keyClicks(w->findChild<QLineEdit*>("Edit1"), "Lyon");
        QTest::keyClick(w, Qt::Key_Escape);
    });
    QCOMPARE(TVille::ask(nullptr, "PARIS"), std::nullopt);

    whenModal([](QWidget* w) {
        QTest::keyClicks(w->findChild<QLineEdit*>("Edit1"), "dup");
        QTest::mouseClick(w->findChild<QPushButton*>("Button1"), Qt::LeftButton);
    });
    QCOMPARE(TRNom::ask(nullptr), QByteArray());

    whenModal([](QWidget* w) {
        QTest::keyClicks(w->findChild<QLineEdit*>("Edit1"), "dup");
        QTest::keyClick(w->findChild<QLineEdit*>("Edit1"), Qt::Key_Enter);
    });
    QCOMPARE(TRDeci::ask(nullptr), QByteArray("dup"));
}

void TstSelectDialogs::shownWithTextSelected()
{
    TFcp dialog;
    dialog.setText("75001");
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QLineEdit* edit = dialog.edit();
    QCOMPARE(edit->selectedText(), QString("75001"));
    QTest::keyClicks(edit, "69");
    QCOMPARE(edit->text(), QString("69"));
}

void TstSelectDialogs::typeDialog()
{
    whenModal([](QWidget* w) {
        auto* combo = w->findChild<QComboBox*>("ComboBox1");
        QCOMPARE(combo->count(), 2);
        QCOMPARE(combo->currentText(), QString("SALON"));
        combo->setCurrentIndex(1);
        QTest::mouseClick(w->findChild<QPushButton*>("Button2"), Qt::LeftButton);
    });
    QCOMPARE(TSTyp::ask(nullptr, {"Mailing", "Phoning \xE9t\xE9"}, "SALON"),
             std::optional<QByteArray>("PHONING \xE9T\xE9"));

    whenModal([](QWidget* w) { QTest::keyClick(w, Qt::Key_Escape); });
    QCOMPARE(TSTyp::ask(nullptr, {"Mailing"}, "SALON"), std::nullopt);
}

void TstSelectDialogs::sortDialog_data()
{
    QTest::addColumn<int>("pick"); // -1: keep the preselected item
    QTest::addColumn<bool>("ok");
    QTest::addColumn<int>("result");
    QTest::newRow("preselected name") << -1 << true << 0;
    QTest::newRow("town") << 2 << true << 2;
    QTest::newRow("follow-up") << 3 << true << 3;
    QTest::newRow("cancelled") << 1 << false << -1;
}

void TstSelectDialogs::sortDialog()
{
    QFETCH(int, pick);
    QFETCH(bool, ok);
    QFETCH(int, result);
    whenModal([pick, ok](QWidget* w) {
        QCOMPARE(w->windowTitle(), QString("Trier"));
        QCOMPARE(w->findChild<QPushButton*>("Button1")->text(), QString("Anuler"));
        if (pick >= 0)
            w->findChild<QRadioButton*>(QString("RadioButton%1").arg(pick))->click();
        w->findChild<QPushButton*>(ok ? "Button2" : "Button1")->click();
    });
    QCOMPARE(TTri::ask(nullptr), result);
}

QTEST_MAIN(TstSelectDialogs)
#include "tst_select_dialogs.moc"
