#include "store/history.h"

#include "store/ansi.h"

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
