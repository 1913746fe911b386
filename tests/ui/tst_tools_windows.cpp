#include "tools/notepad.h"
#include "tools/ui/calendar_window.h"
#include "tools/ui/clock_window.h"
#include "tools/ui/euro_window.h"
#include "tools/ui/letter_scale_window.h"
#include "tools/ui/list_windows.h"
#include "tools/ui/notepad_window.h"
#include "tools/ui/pocket_window.h"
#include "tools/ui/spin_button.h"

#include "support/fixed_clock.h"
#include "support/temp_files.h"

#include <QCalendarWidget>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

using namespace tarvik;

template <class T> static T* child(QWidget* w, const char* name)
{
    T* found = w->findChild<T*>(QString::fromLatin1(name));
    if (!found)
        qFatal("no %s", name);
    return found;
}

static QString text(QWidget* w, const char* label)
{
    return child<QLabel>(w, label)->text();
}

// Types a line of characters on the window (each key sent to the widget that
// has the focus, as the user would).
static void type(QWidget* w, const QString& keys)
{
    for (QChar c : keys) {
        QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : w;
        QTest::keyClick(target, char(c.unicode()));
    }
}

static void escapeCloses(QDialog& dialog)
{
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QTest::keyClick(&dialog, Qt::Key_Escape);
    QVERIFY(!dialog.isVisible());
}

class TstToolsWindows : public QObject
{
    Q_OBJECT
private slots:
    void letterScale();
    void calculatorKeys();
    void converterKeys();
    void calendarPages();
    void clockSetsThroughSetter();
    void notepadLoadsAndSaves();
    void departements();
    void firstNamesTypeAhead();
    void escapeClosesEvery();
};

void TstToolsWindows::letterScale()
{
    TPLettre w;
    w.show();
    QCOMPARE(w.windowTitle(), QStringLiteral("Pèse-Lettres"));
    QCOMPARE(text(&w, "Label22"), QStringLiteral("20 g"));
    QCOMPARE(text(&w, "Label23"), QStringLiteral("3 F"));
    QCOMPARE(text(&w, "Label24"), QStringLiteral("0,46 E"));
    for (int i = 1; i <= 21; ++i) {
        auto* spin = w.findChild<QSpinBox*>(QStringLiteral("SpinEdit%1").arg(i));
        QVERIFY(spin);
        QCOMPARE(spin->maximum(), 200);
        QCOMPARE(spin->value(), 0);
    }
    QVERIFY(child<QRadioButton>(&w, "RadioButton1")->isChecked());

    child<QSpinBox>(&w, "SpinEdit2")->setValue(1);
    child<QSpinBox>(&w, "SpinEdit9")->setValue(1);
    QCOMPARE(text(&w, "Label22"), QStringLiteral("10 g"));
    QCOMPARE(text(&w, "Label23"), QStringLiteral("3,00 F"));
    QCOMPARE(text(&w, "Label24"), QStringLiteral("0,46 E"));

    child<QSpinBox>(&w, "SpinEdit20")->setValue(30); // 39.5 g
    child<QRadioButton>(&w, "RadioButton2")->click();
    QCOMPARE(text(&w, "Label23"), QStringLiteral("4,60 F"));
    child<QSpinBox>(&w, "SpinEdit20")->setValue(300); // beyond the spin range: 200
    child<QRadioButton>(&w, "RadioButton3")->click();
    QCOMPARE(text(&w, "Label22"), QStringLiteral("210 g"));
    QCOMPARE(text(&w, "Label23"), QStringLiteral("8,00 F"));

    // Enter in a counter does not close the window.
    child<QSpinBox>(&w, "SpinEdit20")->setFocus();
    QTest::keyClick(child<QSpinBox>(&w, "SpinEdit20"), Qt::Key_Return);
    QVERIFY(w.isVisible());
    child<QPushButton>(&w, "Button1")->click();
    QVERIFY(!w.isVisible());
}

void TstToolsWindows::calculatorKeys()
{
    TPocket w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QCOMPARE(w.windowTitle(), QStringLiteral("Calculatrice"));
    type(&w, "7/2");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCOMPARE(text(&w, "Label1"), QStringLiteral("3,5"));
    type(&w, "c4x");
    QCOMPARE(text(&w, "Label1"), QStringLiteral("0,25"));
    type(&w, "C9s");
    QCOMPARE(text(&w, "Label1"), QStringLiteral("3"));
    type(&w, "C1.5*2=");
    QCOMPARE(text(&w, "Label1"), QStringLiteral("3"));

    // After "C" the focus is on "=", so Enter presses it even after a click on
    // a digit button.
    child<QPushButton>(&w, "Button18")->click();
    QCOMPARE(QApplication::focusWidget(), child<QPushButton>(&w, "Button11"));
    child<QPushButton>(&w, "Button5")->click();
    child<QPushButton>(&w, "Button12")->click();
    child<QPushButton>(&w, "Button3")->click();
    QTest::keyClick(child<QPushButton>(&w, "Button3"), Qt::Key_Return);
    QCOMPARE(text(&w, "Label1"), QStringLiteral("8"));
    QTest::keyClick(&w, Qt::Key_Enter);
    QCOMPARE(text(&w, "Label1"), QStringLiteral("16"));
}

void TstToolsWindows::converterKeys()
{
    TEurof w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QCOMPARE(w.windowTitle(), QStringLiteral("Euro convertisseur"));
    QCOMPARE(child<QLineEdit>(&w, "Edit3")->text(), QStringLiteral("6,55957"));
    type(&w, "100");
    QTest::keyClick(&w, Qt::Key_Return);
    QCOMPARE(text(&w, "Label1"), QStringLiteral("100"));
    QCOMPARE(text(&w, "Label2"), QStringLiteral("15,24"));

    child<QRadioButton>(&w, "RadioButton2")->click();
    QCOMPARE(text(&w, "Label2"), QStringLiteral("15,24")); // no conversion yet
    type(&w, "1.5=");
    QCOMPARE(text(&w, "Label1"), QStringLiteral("1,5"));
    QCOMPARE(text(&w, "Label2"), QStringLiteral("9,8"));

    auto* spin = child<SpinButton>(&w, "SpinButton1");
    spin->downButton()->click();
    QCOMPARE(child<QLineEdit>(&w, "Edit3")->text(), QStringLiteral("6,55956"));
    spin->upButton()->click();
    spin->upButton()->click();
    QCOMPARE(child<QLineEdit>(&w, "Edit3")->text(), QStringLiteral("6,55958"));
}

void TstToolsWindows::calendarPages()
{
    FixedClock clock(QDateTime(QDate(2001, 3, 5), QTime(9, 0)));
    TCalendrier w(clock);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    auto* calendar = child<QCalendarWidget>(&w, "Calendar1");
    QCOMPARE(calendar->selectedDate(), QDate(2001, 3, 5));
    QCOMPARE(calendar->firstDayOfWeek(), Qt::Sunday);
    QCOMPARE(text(&w, "Label1"), QStringLiteral("mars  2001"));

    QTest::keyClick(&w, Qt::Key_PageUp);
    QCOMPARE(text(&w, "Label1"), QStringLiteral("février  2001"));
    calendar->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_PageDown);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_PageDown);
    QCOMPARE(text(&w, "Label1"), QStringLiteral("avril  2001"));
    QCOMPARE(calendar->selectedDate(), QDate(2001, 4, 5));

    child<QPushButton>(&w, "BitBtn1")->click();
    child<QPushButton>(&w, "BitBtn1")->click();
    child<QPushButton>(&w, "BitBtn1")->click();
    QCOMPARE(text(&w, "Label1"), QStringLiteral("janvier  2001"));
    child<QPushButton>(&w, "BitBtn2")->click();
    QCOMPARE(text(&w, "Label1"), QStringLiteral("février  2001"));
}

void TstToolsWindows::clockSetsThroughSetter()
{
    FixedClock clock(QDateTime(QDate(2001, 3, 5), QTime(15, 29, 0)));
    FakeClockSetter setter;
    THorloge w(clock, setter);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QCOMPARE(w.windowTitle(), QStringLiteral("Horloge"));
    QCOMPARE(text(&w, "Label1"), QStringLiteral("15:29:00"));
    QCOMPARE(text(&w, "Label2"), QStringLiteral("05/03/2001"));
    auto* timer = child<QTimer>(&w, "Timer1");
    QCOMPARE(timer->interval(), 1000);

    auto* set = child<QPushButton>(&w, "Button2");
    set->click();
    QVERIFY(!timer->isActive());
    QList<QRadioButton*> parts = child<QWidget>(&w, "RadioGroup1")->findChildren<QRadioButton*>();
    QCOMPARE(parts.size(), 5);
    QCOMPARE(parts[1]->text(), QStringLiteral("Mn"));
    parts[1]->click();
    child<SpinButton>(&w, "SpinButton1")->upButton()->click();
    QCOMPARE(text(&w, "Label1"), QStringLiteral("15:30:00"));
    // The clock moved meanwhile: the labels stand still in edit mode.
    clock.current = clock.current.addSecs(5);
    set->click();
    QCOMPARE(setter.calls.size(), 1);
    QCOMPARE(setter.calls[0], QDateTime(QDate(2001, 3, 5), QTime(14, 30, 0), Qt::UTC));
    QVERIFY(timer->isActive());
    QCOMPARE(text(&w, "Label1"), QStringLiteral("15:29:05"));
}

void TstToolsWindows::notepadLoadsAndSaves()
{
    QTemporaryDir dir;
    const QString path = notepad::notePath(dir.path());
    {
        TBlocnotes w(path);
        w.show();
        QCOMPARE(child<QPlainTextEdit>(&w, "Memo1")->toPlainText(), QString());
        QCOMPARE(child<QToolButton>(&w, "SpeedButton9")->text(), QStringLiteral("Imprimer"));
        child<QPushButton>(&w, "Button1")->click();
        QVERIFY(!w.saveIfModified());
        QVERIFY(!QFileInfo::exists(path));
    }
    writeBytes(path, "Rappeler M. L\xe9vy\r\n");
    {
        TBlocnotes w(path);
        auto* memo = child<QPlainTextEdit>(&w, "Memo1");
        QCOMPARE(memo->toPlainText(), QStringLiteral("Rappeler M. Lévy"));
        QVERIFY(!w.isModified());
        w.show();
        memo->setFocus();
        memo->moveCursor(QTextCursor::End);
        QTest::keyClicks(memo, " lundi");
        QVERIFY(w.isModified());
        QTest::keyClick(&w, Qt::Key_Escape);
        QVERIFY(w.saveIfModified());
    }
    QCOMPARE(readBytes(path), QByteArray("Rappeler M. L\xe9vy lundi\r\n"));
}

void TstToolsWindows::departements()
{
    TDepart w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QCOMPARE(w.windowTitle(), QStringLiteral("Départements"));
    auto* list = child<QListWidget>(&w, "ListBox1");
    QCOMPARE(list->count(), 97);
    QCOMPARE(list->item(0)->text(), QStringLiteral("00 Armées"));
    QCOMPARE(list->item(21)->text(), QStringLiteral("21 Côte d'or"));
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Return);
    QVERIFY(!w.isVisible());
}

void TstToolsWindows::firstNamesTypeAhead()
{
    TPrenoms w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QCOMPARE(w.windowTitle(), QStringLiteral("Liste des prénoms"));
    auto* list = child<QListWidget>(&w, "ListBox1");
    QCOMPARE(list->count(), 326);
    list->setFocus();
    QTest::keyClick(list, 'b');
    QCOMPARE(list->currentItem()->text(), QStringLiteral("Barbara.............04 Déc"));
    QTest::keyClick(list, 'b');
    QCOMPARE(list->currentItem()->text(), QStringLiteral("Barbara.............04 Déc"));
    QTest::keyClick(list, 'a');
    QCOMPARE(list->currentRow(), 0);
    QCOMPARE(list->currentItem()->text(), QStringLiteral("Abel................05 Aoû"));
    QTest::keyClick(list, 'Z');
    QCOMPARE(list->currentItem()->text(), QStringLiteral("Zita................27 Avr"));
    QTest::keyClick(list, Qt::Key_Escape);
    QVERIFY(!w.isVisible());
}

void TstToolsWindows::escapeClosesEvery()
{
    FixedClock clock;
    FakeClockSetter setter;
    QTemporaryDir dir;
    {
        TPLettre w;
        escapeCloses(w);
    }
    {
        TPocket w;
        escapeCloses(w);
    }
    {
        TEurof w;
        escapeCloses(w);
    }
    {
        TCalendrier w(clock);
        escapeCloses(w);
    }
    {
        THorloge w(clock, setter);
        escapeCloses(w);
    }
    {
        TBlocnotes w(notepad::notePath(dir.path()));
        escapeCloses(w);
    }
    {
        TDepart w;
        escapeCloses(w);
    }
    {
        TPrenoms w;
        escapeCloses(w);
    }
    QVERIFY(setter.calls.isEmpty());
}

QTEST_MAIN(TstToolsWindows)
#include "tst_tools_windows.moc"
