#!/usr/bin/env python3
"""Writes the demo contact file, its operations file and the demo settings.

Deterministic: the same files every run. Windows-1252, CR LF line ends."""
import os
import random

HERE = os.path.dirname(os.path.abspath(__file__))
rng = random.Random(2026)

COMPANIES = [
    ("Boulangerie Martin", "Paris", "75011", "Boulangerie"), ("Garage du Centre", "Lyon", "69003", "Automobile"),
    ("Imprimerie Lefèvre", "Lille", "59000", "Imprimerie"), ("Cabinet Durand & Associés", "Nantes", "44000", "Expertise comptable"),
    ("Hôtel des Alpes", "Grenoble", "38000", "Hôtellerie"), ("Menuiserie Roux", "Toulouse", "31000", "Menuiserie"),
    ("Pharmacie de la Gare", "Bordeaux", "33000", "Pharmacie"), ("Transports Girard", "Rouen", "76000", "Transport"),
    ("Librairie Le Chêne", "Rennes", "35000", "Librairie"), ("Fromagerie Bernard", "Annecy", "74000", "Alimentation"),
    ("Électricité Moreau", "Dijon", "21000", "Électricité"), ("Agence Immo Sud", "Marseille", "13006", "Immobilier"),
    ("Clinique Vétérinaire Blanc", "Nice", "06000", "Vétérinaire"), ("Bureautique Service", "Strasbourg", "67000", "Bureautique"),
    ("Restaurant La Fourchette", "Paris", "75005", "Restauration"), ("Fleurs et Jardins", "Tours", "37000", "Fleuriste"),
    ("Optique Vision Plus", "Angers", "49000", "Optique"), ("Plomberie Lambert", "Reims", "51100", "Plomberie"),
    ("Société Générale de Nettoyage", "Metz", "57000", "Nettoyage"), ("Auto-école Mercier", "Limoges", "87000", "Formation"),
    ("Brasserie du Port", "La Rochelle", "17000", "Restauration"), ("Informatique Conseil", "Montpellier", "34000", "Informatique"),
    ("Quincaillerie Fontaine", "Orléans", "45000", "Quincaillerie"), ("Coiffure Élégance", "Caen", "14000", "Coiffure"),
    ("Laboratoire Chevalier", "Clermont-Ferrand", "63000", "Analyses"), ("Maçonnerie Perrin", "Besançon", "25000", "Bâtiment"),
    ("Cave Saint-Vincent", "Beaune", "21200", "Vins"), ("Studio Photo Lumière", "Avignon", "84000", "Photographie"),
    ("Assurances Robin", "Le Mans", "72000", "Assurance"), ("Papeterie Moderne", "Amiens", "80000", "Papeterie"),
    ("Charcuterie Gauthier", "Brest", "29200", "Alimentation"), ("Sport 2000 Évry", "Évry", "91000", "Sport"),
    ("Notaires Henry & Fils", "Poitiers", "86000", "Notariat"), ("Serrurerie Rapide", "Paris", "75018", "Serrurerie"),
    ("Ambulances Faure", "Pau", "64000", "Santé"), ("Jardinerie Verte", "Nîmes", "30000", "Jardinage"),
    ("Taxis Duval", "Lyon", "69007", "Transport"), ("Architecte Renaud", "Nancy", "54000", "Architecture"),
    ("Carrosserie Picard", "Saint-Étienne", "42000", "Automobile"), ("Traiteur Lucas", "Toulon", "83000", "Traiteur"),
]
PEOPLE = ["Martin", "Bernard", "Dubois", "Thomas", "Robert", "Richard", "Petit", "Durand", "Leroy", "Moreau",
          "Simon", "Laurent", "Lefebvre", "Michel", "Garcia", "David", "Bertrand", "Roux", "Vincent", "Fournier"]
FIRST = ["Jean", "Marie", "Pierre", "Sophie", "Michel", "Isabelle", "Philippe", "Nathalie", "Alain", "Catherine"]
STREETS = ["rue de la République", "avenue Jean Jaurès", "boulevard Victor Hugo", "place du Marché", "rue Pasteur",
           "rue des Écoles", "chemin des Vignes", "allée des Tilleuls", "rue Nationale", "quai de la Loire"]
FUNCTIONS = ["Gérant", "Directeur", "Responsable achats", "Comptable", "Secrétaire", "PDG"]
CONTACTS = ["Téléphone", "Visite", "Courrier", "Fax", "E-mail", "Salon"]
INTER = ["Standard", "Secrétariat", "Décideur", "Comptabilité", "Responsable technique"]
PRODUCTS = ["Photocopieur", "Télécopieur", "Logiciel de gestion", "Contrat de maintenance", "Mobilier de bureau", "Concurrent Xerox"]
RESPONSES = ["Intéressé", "Pas intéressé", "Rappeler plus tard", "Demande une documentation", "Budget non disponible", "Demande un devis"]
ARGUMENTS = ["Prix compétitif", "Maintenance sur site", "Délai de livraison court", "Garantie trois ans", "Reprise de l'ancien matériel"]
APPRAISALS = ["Bon contact", "Client difficile", "A suivre de près", "Peu réceptif", "Très intéressé"]
RELANCES = ["Téléphone", "Visite", "Courrier", "Envoi de documentation"]
OPTYPES = ["Mailing", "Salon", "Phoning", "Publicité", "Séminaire"]


def date(d, m, y):
    return "%02d/%02d/%04d" % (d, m, y)


def history_entry(ctype, cdate, ctime, inter, product, buy, sell, resp, args, appr, fdate, ftime, ftype):
    return [
        "Type de contact\tDate\t        Heure\t\tInterlocuteur\tproduit/besoin/concurent\tPrix Achat\tPrix vente",
        "%s\t\t%s      %s\t%s\t\t%s\t\t\t%s\t%s" % (ctype, cdate, ctime, inter, product, buy, sell),
        "Réponse interlocuteur  : " + resp,
        "Nos arguments          : " + args,
        "Appréciaiton           : " + appr,
        "Relance : %s  %s  Type de relance  %s" % (fdate, ftime, ftype),
        "-" * 189,
    ]


def contact_block(n, company):
    name, town, postcode, activity = company
    person = rng.choice(PEOPLE)
    civility = rng.choice(["M.", "Mme", "Mlle"])
    phone = "0%d %02d %02d %02d %02d" % (rng.randint(1, 5), rng.randint(10, 99), rng.randint(10, 99),
                                         rng.randint(10, 99), rng.randint(10, 99))
    fax = phone[:-2] + "%02d" % rng.randint(10, 99) if rng.random() < 0.6 else ""
    email = "contact@" + "".join(c for c in name.lower() if c.isascii() and c.isalnum())[:14] + ".fr"
    entries = rng.randint(0, 3)
    history = []
    month = 9
    last = None
    for k in range(entries):
        day = rng.randint(1, 28)
        month = 9 + k
        cdate = date(day, month, 2026)
        ctime = "%02d:%02d:00" % (rng.randint(8, 18), rng.choice([0, 15, 30, 45]))
        fdate = date(rng.randint(1, 28), min(12, month + 1), 2026)
        ftime = rng.choice(["00:00:00", "10:00:00", "14:30:00"])
        e = history_entry(rng.choice(CONTACTS), cdate, ctime, rng.choice(INTER), rng.choice(PRODUCTS),
                          "%d,00" % (rng.randint(5, 40) * 100),
                          "%d,00" % (rng.randint(6, 50) * 100), rng.choice(RESPONSES), rng.choice(ARGUMENTS),
                          rng.choice(APPRAISALS), fdate, ftime, rng.choice(RELANCES))
        history = e + history
        last = (cdate, ctime, fdate, ftime)
    if last is None:
        last = (date(rng.randint(1, 28), 11, 2026), "09:00:00", "", "00:00:00")
    followup = last[2] if last[2] else (date(8, 12, 2026) if n % 7 == 0 else "")
    lines = [
        "<BLOC%05d>" % n, str(10001 + n), name,
        "%d %s" % (rng.randint(1, 120), rng.choice(STREETS)), "BP %d" % rng.randint(10, 999) if rng.random() < 0.3 else "",
        postcode, town, phone, fax, activity, email, civility, "%s %s" % (rng.choice(FIRST), person),
        rng.choice(FUNCTIONS), rng.choice(CONTACTS), last[0], last[1], rng.choice(INTER), rng.choice(PRODUCTS),
        "", "", "", "", "", followup or date(1, 1, 1900), last[3], rng.choice(RELANCES),
        "Y" if n % 5 == 1 else "N", "Y" if n % 6 == 2 else "N",
    ]
    lines += ["MEMO" + h for h in history]
    if n % 4 == 0:
        lines += ["TEXT" + "Client depuis %d." % rng.randint(1990, 2025), "TEXTParking devant le magasin."]
    lines.append("</BLOC%05d>" % n)
    return lines


def pad_cost(amount):
    # Right-aligned as the operations page stores it (about 90 pixels).
    return " " * (14 - len(amount)) + amount


def operation_block(n):
    optype = OPTYPES[n % len(OPTYPES)]
    start = date(rng.randint(1, 28), 1 + n, 2026)
    end = date(rng.randint(1, 28), 2 + n, 2026)
    lines = ["<BLOC%04d>" % n, str(10001 + n), optype,
             "%s %s" % (optype, ["printemps", "rentrée", "fin d'année", "régional", "national", "ciblé", "PME", "grands comptes"][n]),
             pad_cost("%d,00" % (rng.randint(2, 30) * 100)), pad_cost("%d,50" % rng.randint(1, 9)),
             start, end, "Y" if n % 3 == 0 else "N",
             "MEM3Opération %s auprès des clients de la région." % optype.lower(),
             "MEM3Objectif : cinquante rendez-vous.", "MEM4Bon retour des commerçants."]
    for k in range(rng.randint(1, 4)):
        lines.append("DATA%s\t%s\t%d,00" % (date(rng.randint(1, 28), 1 + n, 2026),
                                            ["Impression", "Affranchissement", "Location stand", "Téléphone", "Déplacement"][k],
                                            rng.randint(1, 40) * 25))
    lines.append("</BLOC%04d>" % n)
    return lines


def write(name, lines):
    with open(os.path.join(HERE, name), "wb") as f:
        f.write("".join(l + "\r\n" for l in lines).encode("cp1252"))


def main():
    contacts = []
    for n, c in enumerate(COMPANIES):
        contacts += contact_block(n, c)
    write("demo.ctc", contacts)
    ops = []
    for n in range(8):
        ops += operation_block(n)
    write("demo.opr", ops)
    write("Tarvik.soc", ["Prospecto Bureautique", "12 rue des Entrepreneurs", "69002 Lyon",
                         "Tél. 04 78 00 00 00", "contact@prospecto.fr", "SARL au capital de 10 000 €",
                         "RCS Lyon 000 000 000"])
    sections = [("FONCTION", FUNCTIONS), ("CONTACT", CONTACTS), ("INTERLOCUTEUR", INTER),
                ("PRODUIT", PRODUCTS), ("REPONSE", RESPONSES), ("ARGUMENTS", ARGUMENTS),
                ("APPRECIATION", APPRAISALS), ("RELANCE", RELANCES), ("OPERATION", OPTYPES)]
    cbx = []
    for title, items in sections:
        cbx.append("[%s]" % title)
        cbx += items
    write("Tarvik.cbx", cbx)


if __name__ == "__main__":
    main()
