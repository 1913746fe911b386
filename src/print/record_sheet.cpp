#include "print/record_sheet.h"

#include "operations/operation_book.h"
#include "storage/ansi.h"

#include <algorithm>

namespace tarvik {

namespace print {

namespace {

QString text(const QByteArray& bytes)
{
    return ansi::toUnicode(bytes);
}

QString date(const QDate& d)
{
    return QString::fromLatin1(contact::formatDate(d));
}

QString time(const QTime& t)
{
    return QString::fromLatin1(contact::formatTime(t));
}

// Columns of lines side by side at 5 mm spacing from `y`, as many as there
// are: a row that would end below the page starts a new page at y = 0 and
// the rest follow it there.
void linesFrom(PrintDevice& d, int y, const QList<std::pair<int, QList<QByteArray>>>& columns)
{
    qsizetype rows = 0;
    for (const auto& column : columns)
        rows = std::max(rows, column.second.size());
    const int height = d.textHeight(QStringLiteral("Ag"));
    for (qsizetype i = 0; i < rows; ++i) {
        if (!fitsOnPage(d, y, height) && y > 0) {
            d.newPage();
            y = 0;
        }
        for (const auto& [x, lines] : columns)
            if (i < lines.size())
                textAt(d, x, y, lines.at(i));
        y += 5;
    }
}

} // namespace

void contactLayout(PrintDevice& d, const ContactRecord& r)
{
    struct Item
    {
        int x;
        int y;
        QString caption;
    };
    const Item labels[] = {
        {5, 0, QStringLiteral("Code")},
        {5, 5, QStringLiteral("Nom / Société")},
        {110, 5, QStringLiteral("Activité")},
        {5, 10, QStringLiteral("Adresse1")},
        {110, 10, QStringLiteral("Adresse2")},
        {5, 15, QStringLiteral("Code postal")},
        {55, 15, QStringLiteral("Ville")},
        {5, 20, QStringLiteral("Téléphone")},
        {60, 20, QStringLiteral("Fax")},
        {110, 20, QStringLiteral("E.mail")},
        {5, 25, QStringLiteral("Décideur")},
        {80, 25, QStringLiteral("Fonction")},
        {5, 35, QStringLiteral("Type de ctc")},
        {30, 35, QStringLiteral("Date")},
        {55, 35, QStringLiteral("Heure")},
        {80, 35, QStringLiteral("Interlocuteur")},
        {120, 35, QStringLiteral("Produit proposé")},
        {160, 35, QStringLiteral("Prix achat")},
        {180, 35, QStringLiteral("Prix vente")},
        {5, 45, QStringLiteral("Réponse interloc.")},
        {5, 50, QStringLiteral("Nos arguments")},
        {5, 55, QStringLiteral("Appréciation")},
        {5, 60, QStringLiteral("Relance")},
        {60, 60, QStringLiteral("Type de relance")},
        {140, 60, QStringLiteral("Alerte")},
        {160, 60, QStringLiteral("Vente aboutie")},
        {5, 65, QStringLiteral("Historique")},
    };
    const Item values[] = {
        {35, 0, text(r.code)},
        {35, 5, text(r.name)},
        {135, 5, text(r.activity)},
        {35, 10, text(r.address1)},
        {135, 10, text(r.address2)},
        {35, 15, text(r.postcode)},
        {75, 15, text(r.town)},
        {35, 20, text(r.phone)},
        {80, 20, text(r.fax)},
        {130, 20, text(r.email)},
        {25, 25, text(r.civility)},
        {35, 25, text(r.decision_maker)},
        {100, 25, text(r.function)},
        {5, 40, text(r.contact_type)},
        {30, 40, date(r.contact_date)},
        {55, 40, time(r.contact_time)},
        {80, 40, text(r.interlocutor)},
        {120, 40, text(r.product)},
        {160, 40, text(r.purchase_price)},
        {180, 40, text(r.sale_price)},
        {40, 45, text(r.response)},
        {40, 50, text(r.arguments)},
        {40, 55, text(r.appraisal)},
        {30, 60, date(r.followup_date)},
        {40, 60, time(r.followup_time)},
        {80, 60, text(r.followup_type)},
    };
    for (const Item& i : labels)
        textAt(d, i.x, i.y, i.caption);
    for (const Item& i : values)
        textAt(d, i.x, i.y, i.caption);
    if (r.alert)
        textAt(d, 135, 60, QStringLiteral("*"));
    if (r.sale_closed)
        textAt(d, 155, 60, QStringLiteral("*"));
    linesFrom(d, 70, {{5, r.history}});
}

void operationLayout(PrintDevice& d, const OperationRecord& o)
{
    textAt(d, 5, 5, QStringLiteral("Code"));
    textAt(d, 30, 5, text(o.op_code));
    textAt(d, 55, 5, QStringLiteral("Type"));
    textAt(d, 75, 5, text(o.op_type));
    textAt(d, 5, 10, QStringLiteral("Résumé"));
    textAt(d, 30, 10, text(o.summary));
    textAt(d, 5, 15, QStringLiteral("Coût fixe"));
    textAt(d, 30, 15, text(o.fixed_cost));
    textAt(d, 60, 15, QStringLiteral("Coût unitaire"));
    textAt(d, 85, 15, text(o.unit_cost));
    textAt(d, 110, 5, QStringLiteral("Début"));
    textAt(d, 125, 5, date(o.start_date));
    textAt(d, 110, 10, QStringLiteral("Fin"));
    textAt(d, 125, 10, date(o.end_date));
    textAt(d, 5, 20, QStringLiteral("Description détaillée"));
    textAt(d, 115, 20, QStringLiteral("Faits marquants"));
    linesFrom(d, 25, {{5, o.description}, {115, o.highlights}});
}

void ImpficheContact(PrintDevice& d, const ContactRecord& shown)
{
    beginReport(d, Orientation::Portrait);
    contactLayout(d, shown);
    endReport(d);
}

void ImpficheOperation(PrintDevice& d, const OperationRecord& shown)
{
    beginReport(d, Orientation::Portrait);
    operationLayout(d, shown);
    endReport(d);
}

void Entete1(PrintDevice& d)
{
    textAt(d, 5, 0, QStringLiteral("Nom/Société"));
    textAt(d, 55, 0, QStringLiteral("Adresse"));
    textAt(d, 105, 0, QStringLiteral("Adresse"));
    textAt(d, 155, 0, QStringLiteral("C.P."));
    textAt(d, 175, 0, QStringLiteral("Ville"));
    textAt(d, 225, 0, QStringLiteral("Téléphone"));
    textAt(d, 255, 0, QStringLiteral("Fax"));
    ruleAt(d, 5, 300, 5);
}

void Imprime(PrintDevice& d, const BlockList& contacts, RecordRange range)
{
    beginReport(d, Orientation::Landscape);
    Entete1(d);
    int row = 10;
    const int lineHeight = d.textHeight(QStringLiteral("Ag"));
    forEachBlock(contacts, range, [&](int, const BlockLines& b) {
        // A page too short for even the threshold rule still loses no line.
        if (!fitsOnPage(d, row, lineHeight) && row > 10) {
            d.newPage();
            Entete1(d);
            row = 10;
        }
        const int xs[] = {5, 55, 105, 155, 175, 225, 255};
        for (int i = 0; i < 7; ++i)
            textAt(d, xs[i], row, b.field(contact::Name + i));
        row += 5;
        if (pageBreakDue(d, row)) {
            d.newPage();
            Entete1(d);
            row = 10;
        }
    });
    endReport(d);
}

} // namespace print

} // namespace tarvik
