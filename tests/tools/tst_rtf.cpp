#include "tools/rtf/rtf_reader.h"
#include "tools/rtf/rtf_writer.h"

#include "rtf_helpers.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTest>

using namespace tarvik;

using namespace build;
using rtf::Alignment;

// The reader on its own data; fails the test when the data is refused.
static rtf::ReadResult readOk(const QByteArray& data)
{
    const auto result = rtf::read(data);
    if (!result)
        qFatal("refused: %s", data.left(80).constData());
    return *result;
}

static QString allText(const rtf::Document& d)
{
    QStringList lines;
    for (const rtf::Paragraph& p : d.paragraphs)
        lines << p.text();
    return lines.join(QLatin1Char('\n'));
}

class TstRtf : public QObject
{
    Q_OBJECT
private slots:
    void writtenAndReadBack_data();
    void writtenAndReadBack();
    void writtenAsWindows1252();
    void wordPadFile();
    void wordFile();
    void libreOfficeFile();
    void characters_data();
    void characters();
    void skippedGroups_data();
    void skippedGroups();
    void readThenWrittenIsStable_data();
    void readThenWrittenIsStable();
    void numberedListsKeepTheirNumbers();
    void refused_data();
    void refused();
    void damaged_data();
    void damaged();
    void hostileButReadable_data();
    void hostileButReadable();
    void deepNesting();
    void fiftyMegabytes();
    void randomBytesAfterHeader();
};

void TstRtf::writtenAndReadBack_data()
{
    QTest::addColumn<rtf::Document>("letter");
    const QString tnr = QStringLiteral("Times New Roman");
    QTest::newRow("empty letter") << doc({para({})});
    QTest::newRow("plain") << doc({para({run("Madame, Monsieur,")})});
    QTest::newRow("bold") << doc({para({run("gras", Bold)})});
    QTest::newRow("italic") << doc({para({run("italique", Italic)})});
    QTest::newRow("underline") << doc({para({run("souligné", Underline)})});
    QTest::newRow("all three") << doc({para({run("tout", Bold | Italic | Underline)})});
    QTest::newRow("styles on and off in one line") << doc({para(
        {run("a "), run("b", Bold), run(" c ", Bold | Italic), run("d", Underline), run(" e")})});
    QTest::newRow("fonts and sizes") << doc(
        {para({run("Arial 12 ", Plain, 12, "Arial"), run("Courier 8,5", Bold, 8.5, "Courier New"),
               run(" 72", Plain, 72), run(" 4", Plain, 4)})});
    QTest::newRow("font name outside Windows-1252")
        << doc({para({run("x", Plain, 10, QStringLiteral("Łódź Sans"))})});
    QTest::newRow("alignments") << doc(
        {para({run("g")}, Alignment::Left), para({run("c")}, Alignment::Center),
         para({run("d")}, Alignment::Right), para({run("j")}, Alignment::Justify)});
    QTest::newRow("indents") << doc({para({run("retrait")}, Alignment::Left, 36, -18, 12),
                                     para({run("négatif")}, Alignment::Left, -10, 25.5, 0.05),
                                     para({run("rien")})});
    QTest::newRow("bullets") << doc({para({run("un")}, Alignment::Left, 0, 0, 0, true),
                                     para({run("deux", Bold)}, Alignment::Center, 18, 18, 0, true),
                                     para({run("fin")})});
    QTest::newRow("tabs and line breaks")
        << doc({para({run(QStringLiteral("a\tb") + QChar(0x2028) + "c")})});
    QTest::newRow("escapes and outside characters")
        << doc({para({run(QStringLiteral("{\\} é € œ ő Ж 中 ") + QString::fromUtf8("😀") +
                          QStringLiteral(" \u00a0;"))})});
    QTest::newRow("empty paragraphs, last one too")
        << doc({para({}), para({run("x")}), para({}), para({}, Alignment::Right)});
    QTest::newRow("a long paragraph")
        << doc({para({run(QString(QStringLiteral("mot ")).repeated(400), Italic)})});
    QTest::newRow("mix") << doc(
        {para({run("Société Exemple", Bold, 14, "Arial")}, Alignment::Center),
         para({run("12 rue des Lilas", Plain, 10, tnr)}, Alignment::Right, 0, 0, 20),
         para({run("Objet : ", Underline), run("votre commande", Italic)}, Alignment::Left, 20, -20,
              0, true),
         para({})});
}

void TstRtf::writtenAndReadBack()
{
    QFETCH(rtf::Document, letter);
    const QByteArray file = rtf::write(letter);
    const rtf::ReadResult back = readOk(file);
    QVERIFY(back.notices.isEmpty());
    QCOMPARE(back.document, letter);
}

void TstRtf::writtenAsWindows1252()
{
    const QByteArray file =
        rtf::write(doc({para({run(QStringLiteral("été 20 € ő ") + QString::fromUtf8("😀"))})}));
    // Seven-bit file; 1252 characters as \'hh, the rest as \uN with a fallback.
    for (char c : file)
        QVERIFY2(static_cast<unsigned char>(c) < 0x80, file.constData());
    QVERIFY(file.startsWith("{\\rtf1\\ansi\\ansicpg1252"));
    QVERIFY(file.contains("\\'e9t\\'e9 20 \\'80 \\u337?"));
    QVERIFY(file.contains("\\u-10179?\\u-8704?")); // the emoji's surrogates, signed
    QVERIFY(file.contains("\\uc1"));
}

void TstRtf::wordPadFile()
{
    const QByteArray file =
        "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1036{\\fonttbl{\\f0\\fswiss\\fcharset0 "
        "Arial;}{\\f1\\froman\\fprq2\\fcharset0 Times New Roman;}{\\f2\\fnil\\fcharset2 "
        "Symbol;}}\r\n"
        "{\\*\\generator Msftedit 5.41.21.2510;}\\viewkind4\\uc1\\pard\\f0\\fs20 Cher "
        "\\b client\\b0 ,\\par\r\n"
        "\\pard\\qc\\i\\f1\\fs28 centr\\'e9\\i0\\par\r\n"
        "\\pard{\\pntext\\f2\\'B7\\tab}{\\*\\pn\\pnlvlblt\\pnf2\\pnindent0{\\pntxtb\\'B7}}"
        "\\fi-720\\li720\\ul\\f0\\fs20 premier\\par\r\n"
        "{\\pntext\\f2\\'B7\\tab}second\\ulnone\\par\r\n"
        "\\pard\\qr\\ri1440 sign\\'e9\\par\r\n"
        "}\r\n\0";
    const rtf::ReadResult r = readOk(file);
    QVERIFY(r.notices.isEmpty());
    QCOMPARE(r.document,
             doc({para({run("Cher ", Plain, 10, "Arial"), run("client", Bold, 10, "Arial"),
                        run(",", Plain, 10, "Arial")}),
                  para({run("centré", Italic, 14)}, Alignment::Center),
                  para({run("premier", Underline, 10, "Arial")}, Alignment::Left, 0, 36, 0, true),
                  para({run("second", Underline, 10, "Arial")}, Alignment::Left, 0, 36, 0, true),
                  para({run("signé", Plain, 10, "Arial")}, Alignment::Right, 0, 0, 72)}));
}

void TstRtf::wordFile()
{
    // As Word writes it: font table with alternative names, list tables,
    // \listtext before the paragraph, \lin and \rin, \u with negative values.
    const QByteArray file =
        "{\\rtf1\\adeflang1025\\ansi\\ansicpg1252\\uc1\\adeff31507\\deff0\\stshfdbch31505"
        "{\\fonttbl{\\f0\\fbidi \\froman\\fcharset0\\fprq2{\\*\\panose "
        "02020603050405020304}Times New Roman;}{\\f3\\fbidi \\froman\\fcharset2\\fprq2{\\*\\panose "
        "05050102010706020507}Symbol;}\r\n{\\f37\\fbidi \\fswiss\\fcharset0\\fprq2{\\*\\panose "
        "020f0502020204030204}Calibri{\\*\\falt Arial};}}"
        "{\\colortbl;\\red0\\green0\\blue0;}{\\*\\defchp \\f31506\\fs22 }"
        "{\\stylesheet{\\ql \\li0\\ri0\\widctlpar\\f31506\\fs22 \\snext0 Normal;}}"
        "{\\*\\listtable{\\list\\listtemplateid-1{\\listlevel\\levelnfc23\\levelnfcn23\\leveljc0"
        "{\\leveltext\\leveltemplateid67895297\\'01\\u-3913 ?;}{\\levelnumbers;}\\f3\\fi-360"
        "\\li720\\lin720 }{\\listlevel\\levelnfc0{\\leveltext\\'02\\'01.;}{\\levelnumbers\\'01;}}"
        "{\\listname ;}\\listid1234}"
        "{\\list\\listtemplateid7{\\listlevel\\levelnfc0\\levelnfcn0{\\leveltext\\'02\\'00.;}"
        "{\\levelnumbers\\'01;}}\\listid99}}"
        "{\\*\\listoverridetable{\\listoverride\\listid1234\\listoverridecount0\\ls1}"
        "{\\listoverride\\listid99\\listoverridecount0\\ls2}}"
        "{\\info{\\title Lettre}{\\author Moi}}\\paperw11906\\paperh16838 "
        "{\\*\\rsidtbl \\rsid123}\\sectd \\pard\\plain \\ltrpar\\ql \\li0\\ri0\\widctlpar"
        "\\wrapdefault\\aspalpha\\aspnum\\faauto\\adjustright\\rin0\\lin0\\itap0 \\rtlch\\fcs1 "
        "\\af31507 \\ltrch\\fcs0 \\f37\\fs22\\lang1036 {\\rtlch\\fcs1 \\ltrch\\fcs0 "
        "\\b\\insrsid1 Prix :}{\\rtlch\\fcs1 \\ltrch\\fcs0 \\insrsid1  100 \\u8364\\'80 "
        "\\u-3913\\'b7}{\\rtlch \\ltrch\\insrsid1 \\par }"
        "{\\listtext\\pard\\plain\\ltrpar \\rtlch\\fcs1 \\f3\\fs22 \\loch\\f3 \\'b7\\tab}"
        "\\pard\\plain \\ltrpar\\ql \\fi-360\\li720\\ri0\\widctlpar\\ls1\\ilvl0\\rin0\\lin720 "
        "\\f37\\fs22 {\\i puce}{\\par }"
        "{\\listtext\\pard\\plain\\ltrpar \\f37\\fs22 1.\\tab}"
        "\\pard\\plain \\ltrpar\\ql \\fi-360\\li720\\ri0\\ls2\\rin0\\lin720 \\f37\\fs22 "
        "{num\\'e9ro}{\\par }"
        "\\pard\\plain\\qj\\f37\\fs22 {\\field{\\*\\fldinst {HYPERLINK \"http://x\"}}"
        "{\\fldrslt {\\ul lien}}}\\par }";
    const rtf::ReadResult r = readOk(file);
    QVERIFY(r.notices.isEmpty());
    const QString calibri = QStringLiteral("Calibri");
    QCOMPARE(r.document,
             doc({para({run("Prix :", Bold, 11, calibri),
                        run(QStringLiteral(" 100 € ") + QChar(0xF0B7), Plain, 11, calibri)}),
                  para({run("puce", Italic, 11, calibri)}, Alignment::Left, 18, 18, 0, true),
                  para({run(QStringLiteral("1.\tnuméro"), Plain, 11, calibri)}, Alignment::Left, 18,
                       18, 0, false),
                  para({run("lien", Underline, 11, calibri)}, Alignment::Justify)}));
}

void TstRtf::libreOfficeFile()
{
    // Written by LibreOffice Writer from an HTML letter (lettre_libreoffice.html
    // beside it) with soffice --headless --convert-to rtf.
    QFile f(QFINDTESTDATA("tools/data/lettre_libreoffice.rtf"));
    QVERIFY(f.open(QIODevice::ReadOnly));
    const rtf::ReadResult r = readOk(f.readAll());
    QVERIFY(r.notices.isEmpty());
    const QList<rtf::Paragraph>& ps = r.document.paragraphs;
    QCOMPARE(allText(r.document),
             QStringLiteral("Société Dupont\nObjet : commande n° 12 à 30 €\nPremier point \n"
                            "Second point \nFait à Paris\nBien à vous."));
    QCOMPARE(ps.at(0).alignment, Alignment::Center);
    QCOMPARE(ps.at(0).runs.at(0).font, QStringLiteral("Arial"));
    QCOMPARE(ps.at(0).runs.at(0).size, 16.0);
    QVERIFY(ps.at(0).runs.at(0).bold);
    QCOMPARE(ps.at(1).runs.at(0).text, QStringLiteral("Objet : "));
    QVERIFY(ps.at(1).runs.at(0).underline);
    QVERIFY(ps.at(1).runs.at(1).italic);
    QVERIFY(ps.at(2).bullet);
    QVERIFY(ps.at(3).bullet);
    QVERIFY(!ps.at(4).bullet);
    QCOMPARE(ps.at(4).alignment, Alignment::Right);
    QCOMPARE(ps.at(5).firstIndent, 36.0);
    QCOMPARE(ps.at(5).leftIndent, -18.0);
}

void TstRtf::characters_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QString>("text");
    QTest::newRow("\\'e9 in 1252") << QByteArray("caf\\'e9") << QStringLiteral("café");
    QTest::newRow("\\'80 is the euro") << QByteArray("\\'80") << QStringLiteral("€");
    QTest::newRow("\\u8364 with its fallback") << QByteArray("\\u8364?") << QStringLiteral("€");
    QTest::newRow("\\u-3913 (above 32767)") << QByteArray("\\u-3913?") << QString(QChar(0xF0B7));
    QTest::newRow("\\u with an escaped fallback")
        << QByteArray("\\u233\\'e9x") << QStringLiteral("éx");
    QTest::newRow("\\uc2 skips two") << QByteArray("\\uc2\\u8364??x") << QStringLiteral("€x");
    QTest::newRow("\\uc0 skips none") << QByteArray("\\uc0\\u233 x") << QStringLiteral("éx");
    QTest::newRow("\\uc inside a group only")
        << QByteArray("{\\uc2\\u233 ab}\\u233 cd") << QStringLiteral("ééd");
    QTest::newRow("skip stops at a brace")
        << QByteArray("{\\uc5\\u233 ab}cd") << QStringLiteral("écd");
    QTest::newRow("surrogate pair") << QByteArray("\\u-10179?\\u-8704?") << QString::fromUtf8("😀");
    QTest::newRow("lone surrogate") << QByteArray("a\\u-10179?b") << QStringLiteral("a\uFFFDb");
    QTest::newRow("\\u out of range")
        << QByteArray("a\\u-99999999?b\\u70000?c") << QStringLiteral("abc");
    QTest::newRow("\\u0 and NUL bytes")
        << QByteArray("a\\u0?b\\'00c\0d", 13) << QStringLiteral("abcd");
    QTest::newRow("escaped symbols")
        << QByteArray("\\{\\}\\\\\\~x\\-y\\_z") << QStringLiteral("{}\\\u00a0xy\u2011z");
    QTest::newRow("named symbols")
        << QByteArray("\\lquote a\\rquote \\ldblquote b\\rdblquote \\emdash\\endash\\bullet")
        << QStringLiteral("\u2018a\u2019\u201cb\u201d\u2014\u2013\u2022");
    QTest::newRow("tab and line") << QByteArray("a\\tab b\\line c")
                                  << QStringLiteral("a\tb\u2028c");
    QTest::newRow("line ends in the file are nothing")
        << QByteArray("a\r\nb\nc\r") << QStringLiteral("abc");
    QTest::newRow("broken hex escape") << QByteArray("a\\'zzb") << QStringLiteral("azzb");
    QTest::newRow("hidden text") << QByteArray("a{\\v cach\\'e9}b") << QStringLiteral("ab");
}

void TstRtf::characters()
{
    QFETCH(QByteArray, body);
    QFETCH(QString, text);
    const rtf::ReadResult r = readOk("{\\rtf1\\ansi " + body + "}");
    QCOMPARE(allText(r.document), text);
}

void TstRtf::skippedGroups_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QString>("text");
    QTest::newRow("unknown starred destination")
        << QByteArray("{\\rtf1 a{\\*\\nouveau texte {cach\\'e9}}b}") << QStringLiteral("ab");
    QTest::newRow("picture") << QByteArray("{\\rtf1 a{\\pict\\pngblip 89504e47}b}")
                             << QStringLiteral("ab");
    QTest::newRow("binary picture with braces inside")
        << QByteArray("{\\rtf1 a{\\pict\\bin6 }{\\}{b}c}") << QStringLiteral("ac");
    QTest::newRow("\\bin outside a picture")
        << QByteArray("{\\rtf1 a\\bin3 xyzb}") << QStringLiteral("ab");
    QTest::newRow("info, styles, colours")
        << QByteArray("{\\rtf1{\\info{\\title T}{\\author A}}{\\stylesheet{\\s0 Normal;}}"
                      "{\\colortbl;\\red0\\green0\\blue0;}x}")
        << QStringLiteral("x");
    QTest::newRow("header and footer")
        << QByteArray("{\\rtf1{\\header en-t\\'eate}{\\footer pied}x}") << QStringLiteral("x");
    QTest::newRow("field keeps its result")
        << QByteArray("{\\rtf1{\\field{\\*\\fldinst HYPERLINK \"u\"}{\\fldrslt lien}}}")
        << QStringLiteral("lien");
    QTest::newRow("unknown plain group keeps its text")
        << QByteArray("{\\rtf1 a{\\inconnu b}c}") << QStringLiteral("abc");
    QTest::newRow("unknown words are nothing")
        << QByteArray("{\\rtf1 a\\motinconnu b\\autre123 c}") << QStringLiteral("abc");
    QTest::newRow("font table without groups")
        << QByteArray("{\\rtf1{\\fonttbl\\f0\\fnil Arial;\\f1\\fnil Courier;}\\f1 x}")
        << QStringLiteral("x");
}

void TstRtf::skippedGroups()
{
    QFETCH(QByteArray, data);
    QFETCH(QString, text);
    const rtf::ReadResult r = readOk(data);
    QVERIFY(r.notices.isEmpty());
    QCOMPARE(allText(r.document), text);
}

void TstRtf::readThenWrittenIsStable_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::newRow("font name with an escaped ';'")
        << QByteArray("{\\rtf1{\\fonttbl{\\f0 A\\'3bB;}}\\f0 x}");
    QTest::newRow("font name with controls")
        << QByteArray("{\\rtf1{\\fonttbl{\\f0 A\\'01\\tab B;}}\\f0 x}");
    QTest::newRow("neighbours alike once a control is gone")
        << QByteArray("{\\rtf1{\\b a}\\'01{\\b b}}");
    QTest::newRow("paragraph separator and DEL") << QByteArray("{\\rtf1 a\\u8233?b\\'7fc}");
    QTest::newRow("first line far out") << QByteArray("{\\rtf1\\li31680\\fi31680 x}");
}

void TstRtf::readThenWrittenIsStable()
{
    QFETCH(QByteArray, data);
    const rtf::ReadResult r = readOk(data);
    QCOMPARE(readOk(rtf::write(r.document)).document, r.document);
}

void TstRtf::numberedListsKeepTheirNumbers()
{
    // WordPad's numbered paragraphs: the numbers stay as text, no bullet.
    const rtf::ReadResult r =
        readOk("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\pard{\\pntext\\f0 1.\\tab}{\\*\\pn"
               "\\pnlvlbody\\pndec\\pnstart1{\\pntxta.}}\\fi-360\\li360\\f0\\fs20 un\\par"
               "{\\pntext\\f0 2.\\tab}deux\\par}");
    QCOMPARE(allText(r.document), QStringLiteral("1.\tun\n2.\tdeux"));
    QVERIFY(!r.document.paragraphs.at(0).bullet);
    QCOMPARE(r.document.paragraphs.at(1).runs.size(), 1);
}

void TstRtf::refused_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("blank") << QByteArray(" \r\n\t ");
    QTest::newRow("plain text") << QByteArray("Bonjour");
    QTest::newRow("almost") << QByteArray("{\\rt");
    QTest::newRow("brace first then text") << QByteArray("{rtf1 x}");
    QByteArray binary(4096, '\0');
    QRandomGenerator gen(7);
    for (char& c : binary)
        c = char(gen.bounded(256));
    binary[0] = '\x89';
    QTest::newRow("binary") << binary;
    QTest::newRow("zip header") << QByteArray("PK\x03\x04\x14\x00\x06\x00", 8);
}

void TstRtf::refused()
{
    QFETCH(QByteArray, data);
    QVERIFY(!rtf::read(data));
}

void TstRtf::damaged_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QString>("text");
    QTest::newRow("truncated") << QByteArray("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 d\\'e9but")
                               << QStringLiteral("début");
    QTest::newRow("braces left open")
        << QByteArray("{\\rtf1 un\\par{\\b deux{\\i trois") << QStringLiteral("un\ndeuxtrois");
    QTest::newRow("closing brace too many")
        << QByteArray("{\\rtf1 dedans}} dehors}") << QStringLiteral("dedans");
    QTest::newRow("\\bin past the end")
        << QByteArray("{\\rtf1 avant\\bin999999 xx}") << QStringLiteral("avant");
    QTest::newRow("\\bin of 2^31")
        << QByteArray("{\\rtf1 avant\\bin99999999999999 xx}") << QStringLiteral("avant");
    QTest::newRow("truncated escape") << QByteArray("{\\rtf1 a\\'e") << QStringLiteral("a");
    QTest::newRow("ends on a backslash") << QByteArray("{\\rtf1 a\\") << QStringLiteral("a");
}

void TstRtf::damaged()
{
    QFETCH(QByteArray, data);
    QFETCH(QString, text);
    const rtf::ReadResult r = readOk(data);
    QVERIFY(!r.notices.isEmpty());
    QCOMPARE(allText(r.document), text);
}

void TstRtf::hostileButReadable_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("size");
    QTest::addColumn<double>("firstIndent");
    QTest::newRow("huge size") << QByteArray("{\\rtf1\\fs99999999999999999999 x}")
                               << QStringLiteral("x") << 1638.0 << 0.0;
    QTest::newRow("negative size")
        << QByteArray("{\\rtf1\\fs-8 x}") << QStringLiteral("x") << 12.0 << 0.0;
    QTest::newRow("huge indents") << QByteArray("{\\rtf1\\li99999999999\\fi-99999999999 x}")
                                  << QStringLiteral("x") << 12.0 << 0.0;
    QTest::newRow("unknown word, huge number")
        << QByteArray("{\\rtf1 a\\zorglub123456789012345678901234567890 b}") << QStringLiteral("ab")
        << 12.0 << 0.0;
    QTest::newRow("control word of 5000 letters")
        << QByteArray("{\\rtf1 a\\" + QByteArray(5000, 'q') + " b}") << QStringLiteral("ab") << 12.0
        << 0.0;
    QTest::newRow("huge \\uc") << QByteArray("{\\rtf1\\uc999999999999\\u233 abc}")
                               << QStringLiteral("é") << 12.0 << 0.0;
    QTest::newRow("negative \\bin")
        << QByteArray("{\\rtf1 a\\bin-5 b}") << QStringLiteral("ab") << 12.0 << 0.0;
    QTest::newRow("code page 1251")
        << QByteArray("{\\rtf1\\ansi\\ansicpg1251 \\'cf\\'f0\\'e8\\'e2\\'e5\\'f2}")
        << QStringLiteral("Привет") << 12.0 << 0.0;
    QTest::newRow("code page of the font's character set")
        << QByteArray("{\\rtf1\\ansi\\ansicpg1252{\\fonttbl{\\f0 Arial;}{\\f1\\fcharset238 "
                      "Arial CE;}}\\f1 \\'b9\\f0 \\'b9}")
        << QStringLiteral("ą¹") << 12.0 << 0.0;
    QTest::newRow("double-byte code page 932")
        << QByteArray("{\\rtf1\\ansi\\ansicpg932 \\'82\\'a0\\'82\\'a2}") << QStringLiteral("あい")
        << 12.0 << 0.0;
    QTest::newRow("unknown code page reads as 1252")
        << QByteArray("{\\rtf1\\ansi\\ansicpg99999 \\'e9}") << QStringLiteral("é") << 12.0 << 0.0;
    QTest::newRow("Mac code page")
        << QByteArray("{\\rtf1\\mac \\'8e}") << QStringLiteral("é") << 12.0 << 0.0;
}

void TstRtf::hostileButReadable()
{
    QFETCH(QByteArray, data);
    QFETCH(QString, text);
    QFETCH(double, size);
    QFETCH(double, firstIndent);
    const rtf::ReadResult r = readOk(data);
    QVERIFY(r.notices.isEmpty());
    QCOMPARE(allText(r.document), text);
    const rtf::Paragraph& p = r.document.paragraphs.at(0);
    QCOMPARE(p.runs.at(0).size, size);
    QCOMPARE(p.firstIndent, firstIndent);
    QVERIFY(std::abs(p.leftIndent) <= 1584 * 2);
}

void TstRtf::deepNesting()
{
    // Far deeper than any file: read without recursion, text and the styles of
    // the shallow groups intact.
    const int depth = 200000;
    QByteArray data = "{\\rtf1 {\\b gras} ";
    data += QByteArray(depth, '{') + "fond" + QByteArray(depth, '}');
    data += " fin}";
    const rtf::ReadResult r = readOk(data);
    QVERIFY(r.notices.isEmpty());
    QCOMPARE(allText(r.document), QStringLiteral("gras fond fin"));
    QVERIFY(r.document.paragraphs.at(0).runs.at(0).bold);
    QVERIFY(!r.document.paragraphs.at(0).runs.last().bold);

    const rtf::ReadResult open = readOk("{\\rtf1 x" + QByteArray(depth, '{'));
    QVERIFY(!open.notices.isEmpty());
    QCOMPARE(allText(open.document), QStringLiteral("x"));
}

void TstRtf::fiftyMegabytes()
{
    // Half a picture in hex, half text: the picture is skipped, the text kept.
    QByteArray data = "{\\rtf1\\ansi{\\pict\\pngblip ";
    data.reserve(52 * 1024 * 1024);
    const QByteArray hex = QByteArray(1024, 'a') + "\r\n";
    while (data.size() < 25 * 1024 * 1024)
        data += hex;
    data += "}";
    const QByteArray sentence = "Du texte ordinaire pour remplir une lettre de caf\\'e9. ";
    int paragraphs = 0;
    while (data.size() < 50 * 1024 * 1024) {
        data += "\\pard\\qc\\li720 {\\b Titre} ";
        for (int i = 0; i < 1000; ++i)
            data += sentence;
        data += "\\par\r\n";
        ++paragraphs;
    }
    data += '}';
    const rtf::ReadResult r = readOk(data);
    QVERIFY(r.notices.isEmpty());
    QCOMPARE(r.document.paragraphs.size(), paragraphs);
    const rtf::Paragraph& last = r.document.paragraphs.last();
    QCOMPARE(last.runs.size(), 2);
    QVERIFY(last.runs.at(0).bold);
    QVERIFY(last.runs.at(1).text.endsWith(QStringLiteral("de café. ")));
    QCOMPARE(last.firstIndent, 36.0);
}

void TstRtf::randomBytesAfterHeader()
{
    // Whatever follows the header, the reader ends with a document.
    QRandomGenerator gen(2024);
    for (int round = 0; round < 300; ++round) {
        QByteArray data = "{\\rtf1 ";
        const int n = int(gen.bounded(2000));
        static const char alphabet[] = "{}\\'*0123456789-abfilpqrsu \r\n\xe9\x80";
        for (int i = 0; i < n; ++i)
            data += alphabet[gen.bounded(int(sizeof alphabet - 1))];
        const auto r = rtf::read(data);
        QVERIFY(r);
        QVERIFY(!r->document.paragraphs.isEmpty());
        // What was read can be written and read back the same.
        QCOMPARE(readOk(rtf::write(r->document)).document, r->document);
    }
}

QTEST_APPLESS_MAIN(TstRtf)
#include "tst_rtf.moc"
