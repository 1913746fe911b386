#include "contacts/history.h"

#include "platform/text_measure.h"
#include "storage/ansi.h"

#include <algorithm>

namespace tarvik {

namespace history {

namespace {

constexpr int RecallSize = 8;
constexpr int RuleLength = 189;

QByteArray yesNo(bool b)
{
    return b ? "Y" : "N";
}

} // namespace

QList<QByteArray> entryLines(const ContactRecord& e)
{
    static const QByteArray heading =
        "Type de contact\tDate\t        Heure\t\tInterlocuteur\tproduit/besoin/concurent\t"
        "Prix Achat\tPrix vente";
    static const QByteArray response =
        ansi::fromUnicode(QStringLiteral("Réponse interlocuteur  : "));
    static const QByteArray arguments = "Nos arguments          : ";
    static const QByteArray appraisal =
        ansi::fromUnicode(QStringLiteral("Appréciaiton           : "));

    const QByteArray call = e.contact_type + "\t\t" + contact::formatDate(e.contact_date) +
                            "      " + contact::formatTime(e.contact_time) + '\t' + e.interlocutor +
                            "\t\t" + e.product + "\t\t\t" + e.purchase_price + '\t' + e.sale_price;
    const QByteArray followup = "Relance : " + contact::formatDate(e.followup_date) + "  " +
                                contact::formatTime(e.followup_time) + "  Type de relance  " +
                                e.followup_type;

    return {heading,
            call,
            response + e.response,
            arguments + e.arguments,
            appraisal + e.appraisal,
            followup,
            QByteArray(RuleLength, '-')};
}

QList<int> columnTabStops(const TextMeasure& measure)
{
    const auto w = [&measure](const char* text) { return measure.width(QByteArray(text)); };
    // Room kept inside a title for the extra tabs of the value below it: a
    // text measure is whole pixels, the window lays text out in fractions.
    constexpr int Slack = 2;
    const int gap = std::max(8, w("  "));
    const int typeTitle = w("Type de contact");
    const int dateTitle = w("Date");
    const int timeTitle = w("        Heure");
    const int timeIndent = w("        ");
    const int interlocutorTitle = w("Interlocuteur");
    const int productTitle = w("produit/besoin/concurent");
    const int purchaseTitle = w("Prix Achat");
    const int dateValue = w("00/00/0000      ");
    const int dateTimeValue = w("00/00/0000      00:00:00");
    const int price = w("000 000,00");

    QList<int> stops;
    const auto add = [&stops](int x) {
        // Stops must rise: a font too narrow for the slack still gets a column.
        stops << (stops.isEmpty() ? std::max(1, x) : std::max(stops.last() + 1, x));
    };
    // Type: the title takes one tab to the date, the value two.
    add(typeTitle - Slack);
    const int dateColumn = typeTitle + gap;
    add(dateColumn);
    // "        Heure" starts where its spaces bring "Heure" over the time value.
    const int timeStop = std::max(dateColumn + dateValue - timeIndent, dateColumn + dateTitle + 1);
    add(timeStop);
    // Two tabs after the time title, one after the date and time value.
    const int timeEnd = timeStop + timeTitle;
    add(std::max(timeEnd + 1, dateColumn + dateTimeValue - Slack));
    const int interlocutorColumn = std::max(timeEnd, dateColumn + dateTimeValue) + gap;
    add(interlocutorColumn);
    add(interlocutorColumn + interlocutorTitle - Slack);
    const int productColumn = interlocutorColumn + interlocutorTitle + gap;
    add(productColumn);
    // Three tabs after a product, one after its title.
    add(productColumn + productTitle - Slack - 1);
    add(productColumn + productTitle - Slack);
    const int purchaseColumn = productColumn + productTitle + gap;
    add(purchaseColumn);
    add(purchaseColumn + std::max(purchaseTitle, price) + gap);
    return stops;
}

QList<QByteArray> recallValues(const ContactRecord& e)
{
    return {e.response,
            e.arguments,
            e.appraisal,
            e.followup_type,
            contact::formatDate(e.followup_date),
            contact::formatTime(e.followup_time),
            yesNo(e.alert),
            yesNo(e.sale_closed)};
}

void applyRecall(const QList<QByteArray>& values, ContactRecord& e)
{
    if (values.size() < RecallSize)
        return;
    e.response = values.at(0);
    e.arguments = values.at(1);
    e.appraisal = values.at(2);
    e.followup_type = values.at(3);
    // A value that does not read back as a date or time leaves the field as shown.
    if (const QDate d = contact::parseDate(values.at(4)); d.isValid())
        e.followup_date = d;
    if (const QTime t = contact::parseTime(values.at(5)); t.isValid())
        e.followup_time = t;
    e.alert = values.at(6) == "Y";
    e.sale_closed = values.at(7) == "Y";
}

} // namespace history

} // namespace tarvik
