#include "app/french.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

using namespace tarvik;

// Qt's own buttons speak French whatever the machine's locale (the tests run
// under C.UTF-8).
class TstFrench : public QObject
{
    Q_OBJECT
private slots:
    void standardButtonsInFrench();
};

void TstFrench::standardButtonsInFrench()
{
    QVERIFY(installFrench(*qApp));
    QCOMPARE(QLocale().decimalPoint(), QStringLiteral(","));
    QMessageBox box(QMessageBox::Warning, "Tarvik", "?",
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    QCOMPARE(box.button(QMessageBox::Yes)->text().remove('&'), QStringLiteral("Oui"));
    QCOMPARE(box.button(QMessageBox::No)->text().remove('&'), QStringLiteral("Non"));
    QCOMPARE(box.button(QMessageBox::Cancel)->text().remove('&'), QStringLiteral("Annuler"));
}

QTEST_MAIN(TstFrench)
#include "tst_french.moc"
