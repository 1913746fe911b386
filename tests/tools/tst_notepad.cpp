#include "tools/notepad.h"

#include "support/temp_files.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using namespace tarvik;

class TstNotepad : public QObject
{
    Q_OBJECT
private slots:
    void notePath_data();
    void notePath();
    void untouchedWhenNotModified();
    void savedWhenModified();
    void roundTrip();
};

void TstNotepad::notePath_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("path");
    QTest::newRow("folder") << "/home/anne/tarvik"
                            << "/home/anne/tarvik/Contact.nte";
    QTest::newRow("root") << "/"
                          << "/Contact.nte";
    QTest::newRow("trailing separator") << "/mnt/data/"
                                        << "/mnt/data/Contact.nte";
}

void TstNotepad::notePath()
{
    QFETCH(QString, folder);
    QFETCH(QString, path);
    QCOMPARE(notepad::notePath(folder), path);
}

void TstNotepad::untouchedWhenNotModified()
{
    QTemporaryDir dir;
    const QString path = notepad::notePath(dir.path());
    QCOMPARE(notepad::load(path), std::nullopt);
    QVERIFY(!notepad::saveIfModified(path, "", false));
    QVERIFY(!QFileInfo::exists(path));

    // An existing file is not rewritten either, even when its line ends differ
    // from what the notepad would write.
    writeBytes(path, "un\ndeux");
    const auto text = notepad::load(path);
    QCOMPARE(text, QByteArray("un\ndeux"));
    QVERIFY(!notepad::saveIfModified(path, *text, false));
    QCOMPARE(readBytes(path), QByteArray("un\ndeux"));
}

void TstNotepad::savedWhenModified()
{
    QTemporaryDir dir;
    const QString path = notepad::notePath(dir.path());
    QVERIFY(notepad::saveIfModified(path, "Appeler M. L\xe9vy\nlundi", true));
    QCOMPARE(readBytes(path), QByteArray("Appeler M. L\xe9vy\r\nlundi\r\n"));
    QVERIFY(notepad::saveIfModified(path, "", true));
    QCOMPARE(readBytes(path), QByteArray());
}

void TstNotepad::roundTrip()
{
    QTemporaryDir dir;
    const QString path = notepad::notePath(dir.path());
    const QByteArray text("a\n\nb\n");
    notepad::save(path, text);
    QCOMPARE(readBytes(path), QByteArray("a\r\n\r\nb\r\n\r\n"));
    QCOMPARE(notepad::load(path), text);
}

QTEST_GUILESS_MAIN(TstNotepad)
#include "tst_notepad.moc"
