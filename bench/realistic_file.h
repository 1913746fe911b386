// A contact file as a user's looks after years of work: French company names
// and towns with their accents, realistic field lengths, a history of calls
// and a free text, in Windows-1252 (the bytes 0x80-0x9F included: euro sign,
// typographic apostrophe, oe ligature, ellipsis). The same file for every run.
#pragma once

#include "contacts/contact_record.h"
#include "storage/block_list.h"

#include <QDate>
#include <QRandomGenerator>
#include <QTime>

namespace tarvik::bench {

inline QByteArray pick(QRandomGenerator& g, std::initializer_list<const char*> words)
{
    return QByteArray(words.begin()[g.bounded(int(words.size()))]);
}

inline QByteArray digits(QRandomGenerator& g, int n)
{
    QByteArray d;
    for (int i = 0; i < n; ++i)
        d += char('0' + g.bounded(10));
    return d;
}

inline ContactRecord realisticRecord(QRandomGenerator& g, int i)
{
    ContactRecord r;
    r.code = QByteArray::number(10001 + i);
    r.name = pick(g, {"SARL", "SA", "Boulangerie", "Garage", "Cabinet", "\xC9tablissements",
                      "Soci\xE9t\xE9", "Menuiserie", "Pharmacie", "Caf\xE9", "Imprimerie",
                      "Transports", "Boucherie", "H\xF4tel"}) +
             ' ' +
             pick(g, {"Lef\xE8vre", "Dupr\xE9", "Mo\xEBl", "B\xE9ranger",
                      "Garc\xED"
                      "a",
                      "Martin", "Bernard", "Fran\xE7ois", "\xC9mile Roux", "Ch\xE2telain",
                      "Lef\x9C"
                      "uvre",
                      "Gu\xE9rin", "Barth\xE9l\xE9my", "Petit", "No\xEBl & Fils"}) +
             (g.bounded(4) == 0 ? " et Associ\xE9s" : "");
    r.address1 = QByteArray::number(1 + g.bounded(180)) + ' ' +
                 pick(g, {"rue", "avenue", "boulevard", "place",
                          "all\xE9"
                          "e",
                          "chemin", "impasse"}) +
                 ' ' +
                 pick(g, {"de la Gare", "Victor Hugo",
                          "des \xC9"
                          "coles",
                          "du G\xE9n\xE9ral Leclerc", "Jean Jaur\xE8s", "de l\x92\xC9glise",
                          "des Lilas", "Pasteur"});
    if (g.bounded(3) == 0)
        r.address2 = pick(g, {"B\xE2timent B", "ZI des Pr\xE9s", "BP 42", "R\xE9sidence Les Pins"});
    r.postcode = QByteArray::number(1000 + g.bounded(94000)).rightJustified(5, '0');
    r.town = pick(g, {"LYON", "SAINT-\xC9TIENNE", "GRENOBLE", "VALENCE", "CHAMB\xC9RY", "ANNECY",
                      "VILLEURBANNE", "B\xC9ZIERS", "N\xCEMES",
                      "MONTR\xC9"
                      "AL"});
    r.phone = "0" + QByteArray::number(1 + g.bounded(5)) + ' ' + digits(g, 2) + ' ' + digits(g, 2) +
              ' ' + digits(g, 2) + ' ' + digits(g, 2);
    if (g.bounded(2))
        r.fax = r.phone.left(12) + digits(g, 2);
    r.activity = pick(g, {"Commerce", "Industrie", "Services", "Artisanat", "Sant\xE9"});
    if (g.bounded(2))
        r.email = "contact@" + QByteArray::number(10001 + i) + ".fr";
    r.civility = pick(g, {"M.", "Mme", "Mlle"});
    r.decision_maker = pick(g, {"H\xE9l\xE8ne Moreau", "Jos\xE9 Lef\xE8vre", "Ren\xE9 Bl\xE9",
                                "Am\xE9lie Faure", "Fran\xE7oise Roy", "J\xE9r\xF4me Gar\xE7on"});
    r.function = pick(g, {"G\xE9rant", "Directeur", "Comptable", "Acheteur"});
    r.contact_type = pick(g, {"T\xE9l\xE9phone", "Courrier", "Visite", "Mailing"});
    r.contact_date = QDate(2024, 1, 1).addDays(g.bounded(700));
    r.contact_time = QTime(8 + g.bounded(10), g.bounded(60), 0);
    r.interlocutor = r.decision_maker;
    r.product = pick(g, {"Logiciel", "Maintenance", "Formation", "Contrat annuel"});
    r.purchase_price = QByteArray::number(100 + g.bounded(5000)) + ",00";
    r.sale_price = QByteArray::number(200 + g.bounded(9000)) + ",50";
    r.response = pick(g, {"Int\xE9ress\xE9", "\xC0 rappeler", "Pas int\xE9ress\xE9", "Devis"});
    r.arguments = pick(g, {"Prix", "Qualit\xE9", "D\xE9lais", "Service apr\xE8s-vente"});
    r.appraisal = pick(g, {"Bon", "Moyen", "Tr\xE8s bon", "Froid"});
    r.followup_date = g.bounded(5) ? QDate(2026, 1, 1).addDays(g.bounded(300)) : QDate();
    r.followup_time = QTime(0, 0, 0);
    r.followup_type = pick(g, {"Appel", "Rendez-vous", "Relance devis"});
    r.alert = g.bounded(20) == 0;
    r.sale_closed = g.bounded(10) == 0;
    for (int h = 0, n = int(g.bounded(7)); h < n; ++h)
        r.history << contact::formatDate(QDate(2022, 1, 1).addDays(g.bounded(1400))) + '\t' +
                         contact::formatTime(QTime(9, 0, 0).addSecs(g.bounded(30000))) + '\t' +
                         r.contact_type + '\t' + r.interlocutor + '\t' +
                         pick(g, {"Rappeler lundi", "Devis envoy\xE9", "Absent",
                                  "Int\xE9ress\xE9 par l\x92offre \x80 123,00"});
    for (int t = 0, n = int(g.bounded(3)); t < n; ++t)
        r.freeText << pick(g, {"Client fid\xE8le depuis 2009, pr\xE9"
                               "f\xE8re les appels le matin\x85",
                               "\xAB Tr\xE8s satisfait \xBB de la derni\xE8re livraison.",
                               "Attention : n\x92"
                               "accepte pas les relances par courrier.",
                               "C\x9Cur de cible pour l\x92offre de printemps, budget 5 000 \x80.",
                               ""});
    return r;
}

// `count` records numbered 0 .. count - 1, each followed by the filler line
// that creating a record adds.
inline BlockList realisticFile(int count)
{
    QRandomGenerator g(20260315);
    BlockList list;
    list.reserve(qsizetype(count) * 40);
    for (int i = 0; i < count; ++i) {
        list << contact::blockLines(realisticRecord(g, i), i);
        list << QByteArray(" ");
    }
    return list;
}

} // namespace tarvik::bench
