#include "print/recording_print_device.h"
#include "tools/ui/letter_printing.h"

#include <QTest>

using namespace tarvik;
using Call = print::RecordingPrintDevice::Call;

// The letter on a recording device of 10 pixels a millimetre: margins of
// 200 pixels, 600 pixels of text width, a character of 10 points 20 pixels
// wide and its line 40 pixels high.
class TstLetterPrinting : public QObject
{
    Q_OBJECT
private slots:
    void wrapsWordsInsideTheMargins_data();
    void wrapsWordsInsideTheMargins();
    void fontsTabsAndBullets();
    void newPageWhenTheLineWouldPassTheMargin();
};

static constexpr int Margin = 200;
static constexpr int Right = 800;

static print::RecordingPrintDevice device()
{
    return print::RecordingPrintDevice(1000, 1400, 100, 140);
}

static rtf::Paragraph paragraph(const QString& text, rtf::Alignment alignment = {})
{
    rtf::Paragraph p;
    p.alignment = alignment;
    rtf::Run run;
    run.text = text;
    p.append(run);
    return p;
}

// The text calls, each with the font it was drawn in.
static QList<Call> texts(const print::RecordingPrintDevice& d)
{
    QList<Call> r;
    print::Font font;
    for (Call c : d.calls) {
        if (c.kind == Call::Kind::Font)
            font = c.font;
        if (c.kind != Call::Kind::Text)
            continue;
        c.font = font;
        r << c;
    }
    return r;
}

void TstLetterPrinting::wrapsWordsInsideTheMargins_data()
{
    QTest::addColumn<int>("alignment");
    QTest::newRow("left") << int(rtf::Alignment::Left);
    QTest::newRow("centred") << int(rtf::Alignment::Center);
    QTest::newRow("right") << int(rtf::Alignment::Right);
    QTest::newRow("justified, printed flush left") << int(rtf::Alignment::Justify);
}

void TstLetterPrinting::wrapsWordsInsideTheMargins()
{
    QFETCH(int, alignment);
    const QString words = QStringLiteral(
        "Madame, nous avons le plaisir de vous adresser notre offre pour la saison prochaine "
        "avec nos meilleures salutations");
    print::RecordingPrintDevice d = device();
    letterprint::print({{paragraph(words, rtf::Alignment(alignment))}}, d);
    QCOMPARE(d.begun, 1);
    QCOMPARE(d.ended, 1);
    const QList<Call> lines = texts(d);
    QVERIFY(lines.size() >= 4);
    QStringList joined;
    for (int i = 0; i < lines.size(); ++i) {
        const Call& c = lines.at(i);
        const int width = int(c.text.size()) * 20;
        joined << c.text;
        QCOMPARE(c.y, Margin + 40 * i);
        QVERIFY2(c.x >= Margin && c.x + width <= Right, qPrintable(c.text));
        // Each line is as full as the next word lets it be.
        if (i + 1 < lines.size())
            QVERIFY(width + 20 + lines.at(i + 1).text.section(' ', 0, 0).size() * 20 >
                    Right - Margin);
        switch (rtf::Alignment(alignment)) {
        case rtf::Alignment::Center:
            QCOMPARE(c.x, Margin + (Right - Margin - width) / 2);
            break;
        case rtf::Alignment::Right:
            QCOMPARE(c.x + width, Right);
            break;
        default:
            QCOMPARE(c.x, Margin);
        }
    }
    QCOMPARE(joined.join(' '), words);
}

void TstLetterPrinting::fontsTabsAndBullets()
{
    rtf::Paragraph p;
    rtf::Run plain;
    plain.text = QStringLiteral("a\t");
    rtf::Run bold = plain;
    bold.text = QStringLiteral("gras ");
    bold.bold = true;
    bold.size = 20;
    rtf::Run italic = plain;
    italic.text = QStringLiteral("fin");
    italic.italic = true;
    italic.underline = true;
    p.append(plain);
    p.append(bold);
    p.append(italic);
    rtf::Paragraph bullet = paragraph(QStringLiteral("point"));
    bullet.bullet = true;
    bullet.firstIndent = 36; // half an inch: 127 pixels
    print::RecordingPrintDevice d = device();
    letterprint::print({{p, rtf::Paragraph{}, bullet}}, d);

    const QList<Call> t = texts(d);
    QCOMPARE(t.size(), 5);
    // The tab reaches the next half inch; the line is as high as its
    // biggest font, and the smaller texts stand on its foot.
    QCOMPARE(t.at(0).text, QStringLiteral("a"));
    QCOMPARE(t.at(1).text, QStringLiteral("gras "));
    QCOMPARE(t.at(1).x, Margin + 127);
    QCOMPARE(t.at(1).y, Margin);
    QCOMPARE(t.at(0).y, Margin + 80 - 40);
    QCOMPARE(t.at(2).text, QStringLiteral("fin"));
    QCOMPARE(t.at(2).x, Margin + 127 + 5 * 40);
    QCOMPARE(t.at(2).font, (print::Font{"Times New Roman", 10, false, true, true}));
    QCOMPARE(t.at(1).font, (print::Font{"Times New Roman", 20, true, false, false}));
    // The empty paragraph is one line of 40 pixels; the bullet stands at
    // the paragraph's indent and its text a quarter inch further.
    QCOMPARE(t.at(3).text, QStringLiteral("\u2022"));
    QCOMPARE(t.at(3).x, Margin + 127);
    QCOMPARE(t.at(3).y, Margin + 80 + 40);
    QCOMPARE(t.at(4).x, Margin + 127 + 64);
}

void TstLetterPrinting::newPageWhenTheLineWouldPassTheMargin()
{
    rtf::Document letter;
    for (int i = 0; i < 60; ++i)
        letter.paragraphs << paragraph(QStringLiteral("Ligne %1").arg(i));
    print::RecordingPrintDevice d = device();
    letterprint::print(letter, d);
    // 25 lines of 40 pixels between the margins of a page.
    QCOMPARE(d.pageCount(), 3);
    const QList<Call> t = texts(d);
    QCOMPARE(t.size(), 60);
    for (int i = 0; i < 60; ++i) {
        QCOMPARE(t.at(i).page, i / 25);
        QCOMPARE(t.at(i).y, Margin + 40 * (i % 25));
    }
}

QTEST_MAIN(TstLetterPrinting)
#include "tst_letter_printing.moc"
