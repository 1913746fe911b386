// Spreadsheet text with headers: the table reader, the exports of Google,
// Outlook and Thunderbird mapped to contacts, and this program's own export
// read back.
#include "contacts/contact_record.h"
#include "exchange/csv_contacts.h"
#include "exchange/csv_table.h"
#include "platform/errors.h"
#include "storage/ansi.h"

#include <QFile>
#include <QTest>

using namespace tarvik;
using namespace tarvik::exchange;

using Rows = QList<QStringList>;
using Lines = QList<QByteArray>;

class TstCsv : public QObject
{
    Q_OBJECT
private slots:
    void table_data();
    void table();
    void foreignExports_data();
    void foreignExports();
    void ownExportReadBack();
    void rowsOfOtherLengths();
    void unknownHeaders();
};

static QByteArray fixture(const char* name)
{
    QFile f(QFINDTESTDATA(QStringLiteral("data/csv/") + QLatin1String(name)));
    if (!f.open(QIODevice::ReadOnly))
        qFatal("missing fixture %s", name);
    return f.readAll();
}

static QByteArray w(const char* utf8)
{
    return ansi::fromUnicode(QString::fromUtf8(utf8));
}

void TstCsv::table_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<Rows>("rows");
    QTest::addColumn<int>("skipped");

    QTest::newRow("comma, quotes doubled, line break inside quotes")
        << QByteArray("a,b,c\r\n\"x,1\",\"say \"\"hi\"\"\",\"two\r\nlines\"\r\n")
        << Rows{{"a", "b", "c"}, {"x,1", "say \"hi\"", "two\nlines"}} << 0;
    QTest::newRow("semicolon, commas only in quotes")
        << QByteArray("a;b\n\"1,5\";\"2,5\"\n\"3,0\";x\n")
        << Rows{{"a", "b"}, {"1,5", "2,5"}, {"3,0", "x"}} << 0;
    QTest::newRow("tab") << QByteArray("a\tb\n1\t\n") << Rows{{"a", "b"}, {"1", ""}} << 0;
    QTest::newRow("byte-order mark and blank lines")
        << QByteArray("\xEF\xBB\xBFnom,ville\r\n\r\nCaf\xC3\xA9,Brest\r\n")
        << Rows{{"nom", "ville"}, {QString::fromUtf8("Café"), "Brest"}} << 0;
    QTest::newRow("Windows-1252")
        << QByteArray("nom;ville\r\nCaf\xE9 \x80;\x93"
                      "Brest\x94\r\n")
        << Rows{{"nom", "ville"}, {QString::fromUtf8("Café €"), QString::fromUtf8("“Brest”")}} << 0;
    const QString wide = QStringLiteral("nom,ville\r\nZoé,Brest\r\n");
    QTest::newRow("UTF-16") << QByteArray("\xFF\xFE") +
                                   QByteArray(reinterpret_cast<const char*>(wide.utf16()),
                                              2 * wide.size())
                            << Rows{{"nom", "ville"}, {QString::fromUtf8("Zoé"), "Brest"}} << 0;
    QTest::newRow("quote left open: its line as it stands, the rest read")
        << QByteArray("a,b\r\n\"open,x\r\nc,d\r\n") << Rows{{"a", "b"}, {"\"open", "x"}, {"c", "d"}}
        << 1;
    QTest::newRow("quote inside a field and after a closing quote")
        << QByteArray("a,b\r\n5\" disk,\"x\"y\r\n") << Rows{{"a", "b"}, {"5\" disk", "xy"}} << 0;
    QTest::newRow("no line end at the end")
        << QByteArray("a,b\r\n1,2") << Rows{{"a", "b"}, {"1", "2"}} << 0;
}

void TstCsv::table()
{
    QFETCH(QByteArray, data);
    QFETCH(Rows, rows);
    QFETCH(int, skipped);
    const csv::Table t = csv::read(data);
    QCOMPARE(t.rows, rows);
    QCOMPARE(t.skipped.size(), skipped);
}

// name, address1, address2, postcode, town, phone, fax, activity, email,
// civility, decision maker, function; then the free text
static Lines fixed(const ForeignContact& c)
{
    return c.fields.mid(0, 12);
}

void TstCsv::foreignExports_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<int>("row");
    QTest::addColumn<Lines>("fields");
    QTest::addColumn<Lines>("freeText");

    QTest::newRow("Google, company and person")
        << fixture("google.csv") << 0
        << Lines{w("Boulangerie du Port"),
                 "12 quai de la Douane",
                 w("2e étage"),
                 "29200",
                 "Brest",
                 "+33 2 98 00 11 22",
                 "+33 2 98 00 11 23",
                 "",
                 "sophie@boulangerie.example",
                 "Mme",
                 "Sophie Martin",
                 w("Gérante")}
        << Lines{"Client depuis 2019, paie comptant.", w("Préfère le matin."),
                 "E-mail 1 - Value : s.martin@example.fr",
                 "Website 1 - Value : https://boulangerie.example", "Mobile : +33 6 12 34 56 78"};
    QTest::newRow("Google, person only")
        << fixture("google.csv") << 1
        << Lines{"Jean Durand", "", "", "", "", "01 40 00 00 00", "", "", "", "", "Jean Durand", ""}
        << Lines{};
    QTest::newRow("Google, older headers") << fixture("google_old.csv") << 0
                                           << Lines{"Le Gall & Fils",
                                                    "8 rue de la Paix",
                                                    "",
                                                    "75002",
                                                    "Paris",
                                                    "01 45 67 89 00",
                                                    "",
                                                    "",
                                                    "y.legall@example.fr",
                                                    "M.",
                                                    "Yann Le Gall",
                                                    "Directeur"}
                                           << Lines{};
    QTest::newRow("Outlook, Windows-1252")
        << fixture("outlook.csv") << 0
        << Lines{w("Café de la Gare"),
                 "2 place de la Gare",
                 "BP 12",
                 "33000",
                 "Bordeaux",
                 "05 56 12 34 56",
                 "05 56 12 34 57",
                 w("Cafés;Terrasses"),
                 "andre.dubois@cafe.example",
                 "M.",
                 w("André Dubois"),
                 "Patron"}
        << Lines{w("Terrasse légendaire"), "Mobile Phone : 06 00 00 00 00",
                 "Home Phone : 05 56 65 43 21"};
    QTest::newRow("Thunderbird") << fixture("thunderbird.csv") << 0
                                 << Lines{w("Garage Müller"),
                                          w("Hauptstraße 5"),
                                          w("Baden-Württemberg, Deutschland"),
                                          "79098",
                                          "Freiburg",
                                          "+49 761 123456",
                                          "+49 761 123457",
                                          "",
                                          "hans@garage-mueller.example",
                                          "",
                                          w("Hans Müller"),
                                          "Meister"}
                                 << Lines{w("Pièces détachées"), "Department : Werkstatt",
                                          "Mobile Number : +49 170 1234567",
                                          "Secondary Email : atelier@garage-mueller.example"};
}

void TstCsv::foreignExports()
{
    QFETCH(QByteArray, file);
    QFETCH(int, row);
    QFETCH(Lines, fields);
    QFETCH(Lines, freeText);
    const ForeignRead r = readCsv(file, nullptr); // no column is unknown: no question
    QVERIFY2(r.skipped.isEmpty(), qPrintable(r.skipped.join('\n')));
    QVERIFY(row < r.contacts.size());
    const ForeignContact& c = r.contacts.at(row);
    QCOMPARE(fixed(c), fields);
    QCOMPARE(c.freeText, freeText);
    QCOMPARE(c.fields.size(), contact::FixedLines - contact::Name + 1);
    for (int i = 12; i < c.fields.size(); ++i)
        QVERIFY(c.fields.at(i).isEmpty()); // dates, times, boxes as a new record has them
    QCOMPARE(r.replacedFields, 0);
}

void TstCsv::ownExportReadBack()
{
    ContactRecord r;
    r.code = "10007";
    r.name = w("Dupont; \"Fils\", & Cie € œ ’");
    r.address1 = "12, rue\tHaute";
    r.address2 = "\\bis";
    r.postcode = "75001";
    r.town = "Paris";
    r.phone = "01";
    r.fax = "02";
    r.activity = "Vins";
    r.email = "a@b.example";
    r.civility = "M.";
    r.decision_maker = "Jean";
    r.function = w("Gérant");
    r.contact_type = "Visite";
    r.contact_date = QDate(2026, 3, 2);
    r.contact_time = QTime(9, 5, 0);
    r.interlocutor = "Lui";
    r.product = "Vin";
    r.purchase_price = "10,50";
    r.sale_price = "12,00";
    r.response = "Oui";
    r.arguments = "Prix";
    r.appraisal = "Bon";
    r.followup_date = QDate(2026, 4, 1);
    r.followup_time = QTime(0, 0);
    r.followup_type = "Appel";
    r.alert = true;
    r.freeText = {"ligne 1, avec virgule", "", w("\"citée\" ; fin")};
    BlockList list = contact::blockLines(r, 0);
    list << contact::blockLines(ContactRecord(), 1);

    const QByteArray bytes = exportCsv(list);
    QVERIFY(bytes.startsWith("\xEF\xBB\xBF"
                             "Code,Nom / Soci\xC3\xA9t\xC3\xA9,Adresse,Adresse,"));
    QCOMPARE(bytes.count("\r\n"), 3); // header and two rows: the free text's breaks are LF

    const ForeignRead back = readCsv(bytes, nullptr);
    QVERIFY2(back.skipped.isEmpty(), qPrintable(back.skipped.join('\n')));
    QCOMPARE(back.contacts.size(), 2);
    const BlockList original = contact::blockLines(r, 0);
    // Every line from the name to the last box, and the free text; the code
    // is the import's to give.
    QCOMPARE(back.contacts[0].fields, original.mid(contact::Name, 27));
    QCOMPARE(back.contacts[0].freeText, r.freeText);
    QCOMPARE(back.contacts[1].fields,
             contact::blockLines(ContactRecord(), 1).mid(contact::Name, 27));
}

void TstCsv::rowsOfOtherLengths()
{
    // A header only: nothing to import, nothing told.
    QVERIFY(readCsv("First Name,Last Name\r\n", nullptr).contacts.isEmpty());
    QVERIFY(readCsv("", nullptr).contacts.isEmpty());

    const ForeignRead r =
        readCsv("Company,Business Phone\r\nSeul\r\nLong,01,de trop,\"et ceci\"\r\n", nullptr);
    QCOMPARE(r.contacts.size(), 2);
    QCOMPARE(r.contacts[0].fields[0], QByteArray("Seul"));
    QCOMPARE(r.contacts[0].fields[5], QByteArray());
    QCOMPARE(r.contacts[1].fields[5], QByteArray("01"));
    QCOMPARE(r.contacts[1].freeText, (Lines{"de trop", "et ceci"}));
    QCOMPARE(r.skipped.size(), 1);

    // A date of the own export that cannot be read is kept in the free text.
    const ForeignRead d = readCsv("Nom / Société,Relance\r\nX,demain\r\n", nullptr);
    QCOMPARE(d.contacts[0].fields[contact::FollowupDate - contact::Name], QByteArray());
    QCOMPARE(d.contacts[0].freeText, (Lines{"Relance : demain"}));

    // Characters Windows-1252 cannot hold are counted by field.
    const ForeignRead q =
        readCsv(QStringLiteral("Company,Notes\r\n東京,α\r\nParis,ok\r\n").toUtf8(), nullptr);
    QCOMPARE(q.contacts[0].fields[0], QByteArray("??"));
    QCOMPARE(q.replacedFields, 2);
}

class ScriptedMapper : public ColumnMapper
{
public:
    std::optional<QList<int>> answer;
    QList<UnknownColumn> asked;
    std::optional<QList<int>> mapColumns(const QList<UnknownColumn>& columns) override
    {
        asked = columns;
        return answer;
    }
};

void TstCsv::unknownHeaders()
{
    const QByteArray file = "Company,Ville du client,Remarque,Vide\r\nAcme,Brest,VIP,\r\n"
                            "Beta,Quimper,,\r\n";
    ScriptedMapper mapper;
    mapper.answer = QList<int>{contact::Town, ColumnChoice::FreeText};
    const ForeignRead r = readCsv(file, &mapper);
    // Only the columns that hold something are asked about, with samples.
    QCOMPARE(mapper.asked.size(), 2);
    QCOMPARE(mapper.asked[0].header, QStringLiteral("Ville du client"));
    QCOMPARE(mapper.asked[0].samples, (QStringList{"Brest", "Quimper"}));
    QCOMPARE(r.contacts[0].fields[contact::Town - contact::Name], QByteArray("Brest"));
    QCOMPARE(r.contacts[0].freeText, (Lines{"Remarque : VIP"}));

    mapper.answer = std::nullopt; // the user gives up
    QVERIFY_THROWS_EXCEPTION(TarvikError, readCsv(file, &mapper));

    // Without anyone to ask, the columns are left out and told.
    const ForeignRead alone = readCsv(file, nullptr);
    QCOMPARE(alone.contacts[0].fields[contact::Town - contact::Name], QByteArray());
    QCOMPARE(alone.skipped.size(), 2);
    QVERIFY(alone.skipped[0].contains(QStringLiteral("Ville du client")));
}

QTEST_GUILESS_MAIN(TstCsv)
#include "tst_csv.moc"
