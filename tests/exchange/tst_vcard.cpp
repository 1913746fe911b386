// The vCard codec: cards as address books and phones write them, contacts
// written and read back, and the damaged files a user may bring.
#include "exchange/vcard.h"
#include "storage/ansi.h"

#include <QFile>
#include <QTest>

using namespace tarvik;
using namespace tarvik::vcard;

class TstVcard : public QObject
{
    Q_OBJECT
private slots:
    void foreignCards_data();
    void foreignCards();
    void contactRoundTrip_data();
    void contactRoundTrip();
    void writtenLines();
    void unknownPropertiesSurvive();
    void baseCardKeepsWhatIsNotMapped();
    void damagedInput_data();
    void damagedInput();
    void manyCards();
    void charactersWindows1252CannotHold();
};

static QByteArray fixture(const char* name)
{
    QFile f(QFINDTESTDATA(QStringLiteral("data/vcard/") + QLatin1String(name)));
    if (!f.open(QIODevice::ReadOnly))
        qFatal("missing fixture %s", name);
    return f.readAll();
}

static QByteArray w(const char* utf8)
{
    return ansi::fromUnicode(QString::fromUtf8(utf8));
}

// name, decision maker, civility, function, address1, address2, postcode, town,
// phone, fax, email, activity, free text (lines joined by "|")
using Expected = QList<QByteArray>;

static Expected fieldsOf(const ContactRecord& c)
{
    return {c.name,
            c.decision_maker,
            c.civility,
            c.function,
            c.address1,
            c.address2,
            c.postcode,
            c.town,
            c.phone,
            c.fax,
            c.email,
            c.activity,
            c.freeText.join('|')};
}

void TstVcard::foreignCards_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<int>("card");
    QTest::addColumn<Expected>("expected");

    QTest::newRow("Google, person in a company")
        << fixture("google.vcf") << 0
        << Expected{w("Sophie Martin"),
                    w("Sophie Martin"),
                    w("Mme"),
                    w("Gérante"),
                    w("12 quai de la Douane"),
                    w("2e étage"),
                    "29200",
                    "Brest",
                    "+33 2 98 00 11 22",
                    "+33 2 98 00 11 23",
                    "sophie@boulangerie.example",
                    "myContacts, Boulangerie",
                    w("Client depuis 2019, paie comptant.|Préfère être appelée le matin.")};
    QTest::newRow("Google, company only")
        << fixture("google.vcf") << 1 << Expected{w("Hôtel Ker Avel"), "", "", "", "", "", "", "",
                                                  "02 97 55 66 77",    "", "", "", ""};
    QTest::newRow("Apple, grouped and typed one by one") << fixture("apple.vcf") << 0
                                                         << Expected{"Yann Marie Le Gall",
                                                                     "Yann Marie Le Gall",
                                                                     "M.",
                                                                     "Directeur",
                                                                     "8 rue de la Paix",
                                                                     "",
                                                                     "75002",
                                                                     "Paris",
                                                                     "01 45 67 89 00",
                                                                     "01 45 67 89 01",
                                                                     "y.legall@example.fr",
                                                                     "",
                                                                     ""};
    QTest::newRow("Thunderbird 4.0, foreign address")
        << fixture("thunderbird.vcf") << 0
        << Expected{w("Garage Müller"),
                    w("Hans Müller"),
                    "",
                    "",
                    w("Hauptstraße 5"),
                    w("Baden-Württemberg, Deutschland"),
                    "79098",
                    "Freiburg",
                    "+49 761 123456",
                    "",
                    "hans@garage-mueller.example",
                    "",
                    w("Pièces détachées|livraison le jeudi")};
    QTest::newRow("Outlook 2.1, quoted-printable in Windows-1252")
        << fixture("outlook.vcf") << 0
        << Expected{w("André Dubois"),
                    w("André Dubois"),
                    "",
                    "Patron",
                    "2 place de la Gare",
                    "BP 12",
                    "33000",
                    "Bordeaux",
                    "05 56 12 34 56",
                    "05 56 12 34 57",
                    "andre.dubois@cafe.example",
                    "",
                    w("Terrasse légendaire|Commande le lundi")};
    QTest::newRow("Android 2.1, quoted-printable in UTF-8") << fixture("android.vcf") << 0
                                                            << Expected{w("Chloé Lefèvre"),
                                                                        w("Chloé Lefèvre"),
                                                                        "",
                                                                        "",
                                                                        "",
                                                                        "",
                                                                        "",
                                                                        "",
                                                                        "0299887766",
                                                                        "",
                                                                        "chloe@example.fr",
                                                                        "",
                                                                        ""};
    QTest::newRow("Android 2.1, empty N, mobile only")
        << fixture("android.vcf") << 1
        << Expected{"Plombier Rapide", "", "", "", "", "", "", "", "0700000000", "", "", "", ""};
}

void TstVcard::foreignCards()
{
    QFETCH(QByteArray, file);
    QFETCH(int, card);
    QFETCH(Expected, expected);
    const ReadResult r = read(file);
    QVERIFY2(r.skipped.isEmpty(), qPrintable(r.skipped.join('\n')));
    QVERIFY(card < r.cards.size());
    const ContactFields f = toContact(r.cards.at(card));
    QCOMPARE(fieldsOf(f.contact), expected);
    QCOMPARE(f.replacedFields, 0);
}

void TstVcard::contactRoundTrip_data()
{
    QTest::addColumn<ContactRecord>("contact");

    ContactRecord full;
    full.code = "10042";
    full.name = w("Dupont; Fils, & Cie \"Le Œuf\" \\ 50 €");
    full.address1 = w("12, rue de l’Église");
    full.address2 = "BP 7;\tCedex";
    full.postcode = "75001";
    full.town = w("Paris – 1er");
    full.phone = "01 23 45 67 89";
    full.fax = "01 23 45 67 90";
    full.activity = w("Négoce, vins; spiritueux");
    full.email = "contact@dupont.example";
    full.civility = "M.";
    full.decision_maker = w("Jean-Noël Dupont, père");
    full.function = w("Gérant \\ fondateur");
    full.freeText = {w("Première ligne; avec « guillemets »"), "", "\tTroisième\\n, pas un saut"};
    QTest::newRow("every field, every special character") << full;

    ContactRecord secondOnly;
    secondOnly.name = "X";
    secondOnly.address2 = "Batiment B";
    QTest::newRow("second address line alone") << secondOnly;

    ContactRecord nameless;
    nameless.phone = "0600000000";
    nameless.civility = "Mme";
    QTest::newRow("no name") << nameless;

    ContactRecord longOne;
    longOne.name = QByteArray(300, 'A') + w("é");
    longOne.freeText = {QByteArray(250, 'x') + w("œ€")};
    QTest::newRow("long values folded") << longOne;
}

void TstVcard::contactRoundTrip()
{
    QFETCH(ContactRecord, contact);
    const QByteArray bytes = write(fromContact(contact, QStringLiteral("urn:uuid:1234")));
    const ReadResult r = read(bytes);
    QVERIFY(r.skipped.isEmpty());
    QCOMPARE(r.cards.size(), 1);
    QCOMPARE(r.cards.first().uid(), QStringLiteral("urn:uuid:1234"));
    QCOMPARE(r.cards.first().text(QStringLiteral("X-TARVIK-CODE")),
             QString::fromLatin1(contact.code));
    const ContactFields back = toContact(r.cards.first());
    QCOMPARE(fieldsOf(back.contact), fieldsOf(contact));
    QVERIFY(back.contact.code.isEmpty());
}

void TstVcard::writtenLines()
{
    ContactRecord c;
    c.name = QByteArray(200, 'e') + w("é") + QByteArray(100, 'e');
    const QByteArray bytes = write(fromContact(c, QString()));
    QVERIFY(bytes.startsWith("BEGIN:VCARD\r\nVERSION:4.0\r\n"));
    QVERIFY(bytes.endsWith("END:VCARD\r\n"));
    QVERIFY(!bytes.contains("\r\nN:")); // no person: no N
    QCOMPARE(bytes.count("\n"), bytes.count("\r\n"));
    for (const QByteArray& line : bytes.split('\n')) {
        QVERIFY(line.size() <= 76); // 75 octets and the CR
        // a fold never cuts a character in two
        QVERIFY(!QString::fromUtf8(line).contains(QChar::ReplacementCharacter));
    }

    // FN is always there, even for a contact with no name at all.
    const QByteArray empty = write(fromContact(ContactRecord(), QString()));
    QCOMPARE(empty, QByteArray("BEGIN:VCARD\r\nVERSION:4.0\r\nFN:\r\nEND:VCARD\r\n"));
}

void TstVcard::unknownPropertiesSurvive()
{
    const ReadResult first = read(fixture("apple.vcf"));
    QCOMPARE(first.cards.size(), 1);
    const ReadResult again = read(write(first.cards.first()));
    QCOMPARE(again.cards.size(), 1);
    const Card& a = first.cards.first();
    const Card& b = again.cards.first();
    QCOMPARE(b.properties.size(), a.properties.size());
    for (int i = 0; i < a.properties.size(); ++i) {
        QCOMPARE(b.properties[i].group, a.properties[i].group);
        QCOMPARE(b.properties[i].name, a.properties[i].name);
        QCOMPARE(b.properties[i].value, a.properties[i].value);
        QCOMPARE(b.properties[i].parameter("TYPE"), a.properties[i].parameter("TYPE"));
    }
    const Property* photo = b.first(QStringLiteral("PHOTO"));
    QVERIFY(photo);
    QVERIFY(
        photo->value.endsWith(QLatin1String("AAQSkZJRgABAQAAAQABAAD/2wBDAAgGBgcGBQgHBwcJCQgKDBQN"
                                            "DAsLDBkSEw8UHRofHh0aHBwgJC4nICIsIxwcKDcpLDAxNDQ0Hyc"
                                            "5PTgyPC4zNDL/wAALCAABAAEBAREA/8QAFAAB")));
    QCOMPARE(b.first(QStringLiteral("X-ABADR"))->group, QStringLiteral("item2"));
}

void TstVcard::baseCardKeepsWhatIsNotMapped()
{
    const Card base = read(fixture("google.vcf")).cards.at(0);
    ContactFields f = toContact(base);
    f.contact.phone = "02 00 00 00 00";
    const Card merged = fromContact(f.contact, QStringLiteral("u1"), &base);
    // the mobile number, the home address, the label of the e-mail group stay
    int tels = 0;
    for (const Property* p : merged.all(QStringLiteral("TEL"))) {
        ++tels;
        QVERIFY(p->text() != QLatin1String("+33 2 98 00 11 22"));
    }
    QCOMPARE(tels, 3);
    QCOMPARE(merged.all(QStringLiteral("ADR")).size(), 2);
    QVERIFY(merged.first(QStringLiteral("X-ABLABEL")));
    QCOMPARE(merged.all(QStringLiteral("FN")).size(), 1);
    QCOMPARE(merged.all(QStringLiteral("NOTE")).size(), 1);
    QCOMPARE(toContact(merged).contact.phone, QByteArray("02 00 00 00 00"));
}

void TstVcard::damagedInput_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QStringList>("names"); // FN of the cards read, in order
    QTest::addColumn<int>("skipped");

    const QByteArray good = "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Bon\r\nEND:VCARD\r\n";
    QTest::newRow("card without END, then a good one")
        << "BEGIN:VCARD\r\nFN:Perdu\r\n" + good << QStringList{"Bon"} << 1;
    QTest::newRow("last card without END") << good + "BEGIN:VCARD\r\nFN:Perdu\r\n"
                                           << QStringList{"Bon"} << 1;
    QTest::newRow("2.1 agent holding a card")
        << QByteArray("BEGIN:VCARD\r\nVERSION:2.1\r\nFN:Chef\r\nAGENT:\r\nBEGIN:VCARD\r\n"
                      "FN:Assistant\r\nEND:VCARD\r\nTEL:01\r\nEND:VCARD\r\n")
        << QStringList{"Chef"} << 0;
    QTest::newRow("line that is no property")
        << QByteArray("BEGIN:VCARD\r\nFN:Bon\r\nn'importe quoi\r\nEND:VCARD\r\n")
        << QStringList{"Bon"} << 1;
    QTest::newRow("TEL without value")
        << QByteArray("BEGIN:VCARD\r\nFN:Bon\r\nTEL;TYPE=work:\r\nTEL:02\r\nEND:VCARD\r\n")
        << QStringList{"Bon"} << 0;
    QTest::newRow("invalid UTF-8 read as Windows-1252")
        << QByteArray("BEGIN:VCARD\r\nFN:Caf\xe9\r\nEND:VCARD\r\n") << QStringList{"Café"} << 1;
    QTest::newRow("2.1 soft line breaks")
        << QByteArray(
               "BEGIN:VCARD\r\nVERSION:2.1\r\nFN;ENCODING=QUOTED-PRINTABLE:Tr=\r\n=C3=A8s=\r\n"
               " long\r\nEND:VCARD\r\n")
        << QStringList{QString::fromUtf8("Très long")} << 0;
    // Only an encoding parameter makes a value quoted-printable: a folded
    // line ending in "=" whose parameters merely mention the word is unfolded.
    QTest::newRow("equals sign at a fold, encoding only named")
        << QByteArray("BEGIN:VCARD\r\nVERSION:4.0\r\nFN;X-NOTE=QUOTED-PRINTABLE:a=\r\n b\r\n"
                      "END:VCARD\r\n")
        << QStringList{"a=b"} << 0;
    const QString wide = QStringLiteral("BEGIN:VCARD\r\nFN:Zoé\r\nEND:VCARD\r\n");
    QTest::newRow("UTF-16 with its mark")
        << QByteArray("\xFF\xFE") +
               QByteArray(reinterpret_cast<const char*>(wide.utf16()), 2 * wide.size())
        << QStringList{QString::fromUtf8("Zoé")} << 0;
    QTest::newRow("megabytes of photo and a line of 1 MB")
        << "BEGIN:VCARD\r\nFN:Photo\r\nPHOTO;ENCODING=b:" +
               QByteArray(3 << 20, 'A')
                   .replace(QByteArray(74, 'A'), QByteArray(74, 'A') + "\r\n ") +
               "\r\nNOTE:" + QByteArray(1 << 20, 'n') + "\r\nEND:VCARD\r\n"
        << QStringList{"Photo"} << 0;
    QTest::newRow("NUL bytes in a value")
        << QByteArray("BEGIN:VCARD\r\nFN:Bon\r\nEMAIL:a\0\0\0b@c.fr\r\nEND:VCARD\r\n", 50)
        << QStringList{"Bon"} << 0;
    QTest::newRow("END of something else inside a card")
        << QByteArray("BEGIN:VCARD\r\nFN:Bon\r\nEND:VCALENDAR\r\nTEL:01\r\nEND:VCARD\r\n")
        << QStringList{"Bon"} << 1;
    QTest::newRow("quote and colon in a property name")
        << QByteArray(
               "BEGIN:VCARD\r\nFN:Bon\r\nX\"A:B\":valeur\r\nORG;T!Y=1:Soci\xc3\xa9t\xc3\xa9\r\n"
               "END:VCARD\r\n")
        << QStringList{"Bon"} << 1;
    QTest::newRow("stray END and text outside cards")
        << "END:VCARD\r\nbonjour\r\n" + good << QStringList{"Bon"} << 2;
    QTest::newRow("empty file") << QByteArray() << QStringList{} << 0;
}

void TstVcard::damagedInput()
{
    QFETCH(QByteArray, file);
    QFETCH(QStringList, names);
    QFETCH(int, skipped);
    const ReadResult r = read(file);
    QStringList got;
    for (const Card& c : r.cards)
        got.append(c.text(QStringLiteral("FN")));
    QCOMPARE(got, names);
    QCOMPARE(r.skipped.size(), skipped);
    if (QTest::currentDataTag() == QLatin1String("quote and colon in a property name")) {
        QCOMPARE(r.cards.first().properties.size(), 2); // FN and ORG
        QVERIFY(r.cards.first().first(QStringLiteral("ORG"))->parameters.isEmpty());
    }
    if (QTest::currentDataTag() == QLatin1String("NUL bytes in a value"))
        QCOMPARE(toContact(r.cards.first()).contact.email, QByteArray("a   b@c.fr"));
    if (QTest::currentDataTag() == QLatin1String("TEL without value"))
        QCOMPARE(toContact(r.cards.first()).contact.phone, QByteArray("02"));
    if (QTest::currentDataTag() == QLatin1String("megabytes of photo and a line of 1 MB")) {
        QCOMPARE(r.cards.first().first(QStringLiteral("PHOTO"))->value.size(), 3 << 20);
        QCOMPARE(toContact(r.cards.first()).contact.freeText.join().size(), 1 << 20);
    }
}

void TstVcard::manyCards()
{
    QByteArray file;
    for (int i = 0; i < 10000; ++i)
        file += "BEGIN:VCARD\r\nVERSION:4.0\r\nFN:Contact " + QByteArray::number(i) +
                "\r\nEND:VCARD\r\n";
    const ReadResult r = read(file);
    QCOMPARE(r.cards.size(), 10000);
    QCOMPARE(r.cards.last().text(QStringLiteral("FN")), QStringLiteral("Contact 9999"));
}

void TstVcard::charactersWindows1252CannotHold()
{
    const ReadResult r = read(QStringLiteral("BEGIN:VCARD\r\nFN:東京 Café €\r\nTITLE:ok\r\n"
                                             "NOTE:α\\nβ\r\nEND:VCARD\r\n")
                                  .toUtf8());
    const ContactFields f = toContact(r.cards.first());
    QCOMPARE(f.contact.name, w("?? Café €"));
    QCOMPARE(f.contact.freeText, (QList<QByteArray>{"?", "?"}));
    QCOMPARE(f.replacedFields, 2); // the name and the free text; not the title
}

QTEST_GUILESS_MAIN(TstVcard)
#include "tst_vcard.moc"
