#!/usr/bin/env python3
"""Writes the demonstration files of Tarvik into this folder.

demo.ctc (contacts), demo.opr (operations), Tarvik.cbx (pick lists) and
Tarvik.soc (the user's company). Every company, person and number is made up.
The output is the same at every run: the few choices made "at random" come
from a generator with a fixed seed.
"""

import os
import random
from datetime import date, timedelta

HERE = os.path.dirname(os.path.abspath(__file__))
rng = random.Random(2026)

# name, address1, address2, postcode, town, activity, civility, decision maker, function
COMPANIES = [
    ("Boulangeries Lefèvre", "12 rue des Halles", "", "75001", "PARIS", "Boulangerie industrielle", "M.", "Jean Lefèvre", "Gérant"),
    ("Imprimerie du Marais", "48 rue Vieille-du-Temple", "Bâtiment B", "75004", "PARIS", "Imprimerie", "Mme", "Claire Dumas", "Directrice générale"),
    ("Transports Garnier SA", "Zone industrielle Nord", "3 allée des Frênes", "69200", "VÉNISSIEUX", "Transport routier", "M.", "Patrick Garnier", "PDG"),
    ("Cabinet Moreau & Associés", "7 place Bellecour", "", "69002", "LYON", "Expertise comptable", "M.", "Laurent Moreau", "Associé"),
    ("Menuiserie Aubert", "Lieu-dit Les Granges", "", "71000", "MÂCON", "Menuiserie", "M.", "Gilles Aubert", "Artisan"),
    ("Clinique vétérinaire des Alpes", "22 avenue Jean-Jaurès", "", "38000", "GRENOBLE", "Vétérinaire", "Mme", "Sophie Renaud", "Associée"),
    ("Hôtel du Vieux Port", "5 quai du Port", "", "13002", "MARSEILLE", "Hôtellerie", "M.", "Marc Santini", "Directeur"),
    ("Provence Emballages", "Parc d'activités de la Durance", "Lot 14", "84300", "CAVAILLON", "Emballage", "M.", "Olivier Blanc", "Directeur commercial"),
    ("Garage Rousseau", "134 route de Toulouse", "", "33400", "TALENCE", "Garage automobile", "M.", "Didier Rousseau", "Gérant"),
    ("Vins & Terroirs Bordelais", "2 cours du Médoc", "", "33000", "BORDEAUX", "Négoce de vins", "Mme", "Hélène Castaing", "Responsable achats"),
    ("Électricité Morel", "9 rue Pasteur", "", "44000", "NANTES", "Électricité générale", "M.", "Yves Morel", "Gérant"),
    ("Atelier Kerjean", "Rue du Port", "", "29900", "CONCARNEAU", "Voilerie", "M.", "Erwan Kerjean", "Artisan"),
    ("Crêperie La Bigoudène", "3 place de l'Église", "", "29120", "PONT-L'ABBÉ", "Restauration", "Mlle", "Maëlle Le Goff", "Gérante"),
    ("Pharmacie Centrale", "41 rue Nationale", "", "37000", "TOURS", "Pharmacie", "Mme", "Anne Fournier", "Pharmacienne titulaire"),
    ("Lycée professionnel Jules-Ferry", "15 boulevard de la République", "", "45000", "ORLÉANS", "Enseignement", "M.", "Bernard Lemoine", "Proviseur"),
    ("Laiterie des Vosges", "Route de Gérardmer", "", "88400", "GÉRARDMER", "Industrie laitière", "M.", "Thierry Jacquot", "Directeur d'usine"),
    ("Brasserie Alsacienne Koenig", "17 rue des Tonneliers", "", "67000", "STRASBOURG", "Brasserie", "M.", "Frédéric Koenig", "PDG"),
    ("Mutuelle du Nord", "80 rue Nationale", "5e étage", "59000", "LILLE", "Assurance", "Mme", "Nathalie Delattre", "Responsable des services généraux"),
    ("Textiles Roubaisiens", "6 rue de l'Épeule", "", "59100", "ROUBAIX", "Textile", "M.", "Jacques Vandamme", "Directeur financier"),
    ("Champagne Lemaire Père & Fils", "28 avenue de Champagne", "", "51200", "ÉPERNAY", "Viticulture", "M.", "Henri Lemaire", "Gérant"),
    ("Quincaillerie Picard", "4 rue du Marché", "", "80000", "AMIENS", "Quincaillerie", "M.", "Alain Picard", "Gérant"),
    ("Agence immobilière Horizon", "19 rue Jeanne-d'Arc", "", "76000", "ROUEN", "Immobilier", "Mme", "Isabelle Lecomte", "Directrice d'agence"),
    ("Normandie Paysages", "La Haute Rue", "", "14400", "BAYEUX", "Paysagiste", "M.", "Sébastien Hue", "Gérant"),
    ("Fromagerie Bourdon", "1 place du Champ-de-Foire", "", "15000", "AURILLAC", "Fromagerie", "M.", "Raymond Bourdon", "Artisan"),
    ("Auvergne Mécanique de Précision", "ZA des Gravanches", "", "63100", "CLERMONT-FERRAND", "Mécanique", "M.", "Pascal Chabrier", "Directeur technique"),
    ("Toulouse Aéro Services", "Chemin de la Crabe", "", "31300", "TOULOUSE", "Aéronautique", "Mme", "Véronique Marty", "Acheteuse"),
    ("Librairie Le Chat Lettré", "11 rue Saint-Rome", "", "31000", "TOULOUSE", "Librairie", "M.", "Thomas Vidal", "Libraire"),
    ("Conserverie Basque Etxeberria", "Route d'Espelette", "", "64250", "CAMBO-LES-BAINS", "Agroalimentaire", "M.", "Peio Etxeberria", "Gérant"),
    ("Camping Les Pins", "Avenue de l'Océan", "", "40200", "MIMIZAN", "Tourisme", "Mme", "Sandrine Duprat", "Gérante"),
    ("Montpellier Informatique", "150 rue de Thor", "", "34000", "MONTPELLIER", "Services informatiques", "M.", "Romain Teissier", "Directeur"),
    ("Nice Côte Traiteur", "27 boulevard Gambetta", "", "06000", "NICE", "Traiteur", "M.", "Lucas Giordano", "Chef d'entreprise"),
    ("Parfumerie Grassoise", "3 cours Honoré-Cresp", "", "06130", "GRASSE", "Parfumerie", "Mme", "Élodie Roux", "Directrice marketing"),
    ("Scierie du Jura", "Le Moulin", "", "39300", "CHAMPAGNOLE", "Scierie", "M.", "Daniel Grandjean", "Gérant"),
    ("Horlogerie Bisontine", "8 Grande Rue", "", "25000", "BESANÇON", "Horlogerie", "M.", "Michel Pernot", "Artisan"),
    ("Dijon Moutardes Fines", "52 rue des Godrans", "", "21000", "DIJON", "Condiments", "Mme", "Catherine Bernard", "Responsable qualité"),
    ("Clinique dentaire Saint-Michel", "10 avenue Victor-Hugo", "", "87000", "LIMOGES", "Santé", "M.", "Arnaud Faure", "Chirurgien-dentiste"),
    ("Porcelaines du Limousin", "Route de Saint-Yrieix", "", "87000", "LIMOGES", "Porcelaine", "Mme", "Martine Dufour", "PDG"),
    ("Ardennes Métallerie", "ZI de la Warenne", "", "08000", "CHARLEVILLE-MÉZIÈRES", "Métallerie", "M.", "Francis Lambert", "Gérant"),
    ("Ferme équestre du Perche", "Le Bois Joly", "", "61400", "MORTAGNE-AU-PERCHE", "Centre équestre", "Mlle", "Julie Chevallier", "Monitrice"),
    ("Orléans Bureautique", "3 rue Royale", "", "45000", "ORLÉANS", "Fournitures de bureau", "M.", "Stéphane Robin", "Directeur commercial"),
]

PREFIX = {"0": "05", "1": "01", "2": "02", "3": "04", "4": "02", "5": "03", "6": "04", "7": "01",
          "8": "03", "9": "01"}
# Regional phone prefix by postcode's first two digits, close enough for a demo.
def region(postcode):
    dept = int(postcode[:2])
    if dept in (75, 77, 78, 91, 92, 93, 94, 95):
        return "01"
    if dept in (14, 22, 29, 35, 37, 44, 45, 49, 50, 53, 56, 61, 72, 76, 85, 86):
        return "02"
    if dept in (8, 10, 21, 25, 39, 51, 52, 54, 57, 59, 62, 67, 68, 70, 80, 88, 90):
        return "03"
    if dept in (6, 13, 15, 26, 30, 34, 38, 42, 63, 69, 71, 73, 74, 83, 84):
        return "04"
    return "05"

CONTACT_TYPES = ["Téléphone", "Visite", "Courrier", "E-mail", "Salon", "Rendez-vous"]
INTERLOCUTORS = ["Décideur", "Secrétariat", "Standard", "Comptabilité", "Service achats", "Assistante de direction"]
PRODUCTS = [("Copieur multifonction", "2 400,00", "3 450,00"),
            ("Contrat de maintenance", "380,00", "620,00"),
            ("Imprimante laser", "520,00", "790,00"),
            ("Logiciel de gestion", "900,00", "1 490,00"),
            ("Mobilier de bureau", "1 100,00", "1 680,00"),
            ("Fournitures (abonnement)", "150,00", "240,00"),
            ("Concurrent : Bureau Plus", "", "")]
RESPONSES = ["Intéressé, demande un devis", "Rappeler dans un mois", "Budget bouclé cette année",
             "Équipé chez un concurrent", "Souhaite une démonstration", "Pas de besoin pour l'instant",
             "Accord de principe", "Attend l'avis de l'associé"]
ARGUMENTS = ["Prix dégressif", "Maintenance sur site en 24 h", "Reprise de l'ancien matériel",
             "Fabrication française", "Paiement en trois fois", "Formation offerte"]
APPRAISALS = ["Très bon contact", "Prospect chaud", "À suivre", "Réticent", "Client fidèle",
              "Difficile à joindre"]
FOLLOWUP_TYPES = ["Rappel téléphonique", "Envoi de devis", "Visite", "Envoi de documentation",
                  "Relance courrier"]

# The demonstration is dated from its last working day.
LAST_DAY = date(2026, 12, 4)
SEP = "-" * 189
HEADING = ("Type de contact\tDate\t        Heure\t\tInterlocuteur\tproduit/besoin/concurent\t"
           "Prix Achat\tPrix vente")


def fmt_date(d):
    return d.strftime("%d/%m/%Y")


def fmt_time(h, m):
    return "%02d:%02d:00" % (h, m)


def history_entry(c):
    """The seven lines a validated contact puts at the top of the history."""
    return [
        HEADING,
        "%s\t\t%s      %s\t%s\t\t%s\t\t\t%s\t%s" % (c["type"], fmt_date(c["date"]), c["time"],
                                                  c["inter"], c["product"], c["buy"], c["sell"]),
        "Réponse interlocuteur  : " + c["response"],
        "Nos arguments          : " + c["arguments"],
        "Appréciaiton           : " + c["appraisal"],
        "Relance : %s  %s  Type de relance  %s" % (fmt_date(c["fdate"]), c["ftime"], c["ftype"]),
        SEP,
    ]


def make_contact(day):
    product, buy, sell = rng.choice(PRODUCTS)
    followup = day + timedelta(days=rng.choice([14, 30, 45, 60, 90, 120, 150]))
    has_time = rng.random() < 0.7
    return {
        "type": rng.choice(CONTACT_TYPES),
        "date": day,
        "time": fmt_time(rng.randint(8, 18), rng.choice([0, 10, 15, 20, 30, 40, 45, 50])),
        "inter": rng.choice(INTERLOCUTORS),
        "product": product, "buy": buy, "sell": sell,
        "response": rng.choice(RESPONSES),
        "arguments": rng.choice(ARGUMENTS),
        "appraisal": rng.choice(APPRAISALS),
        "fdate": followup,
        "ftime": fmt_time(rng.choice([9, 10, 11, 14, 15, 16]), rng.choice([0, 30])) if has_time else "00:00:00",
        "ftype": rng.choice(FOLLOWUP_TYPES),
    }


def contact_block(n, company):
    name, addr1, addr2, cp, town, activity, civ, dm, function = company
    pre = region(cp)
    phone = "%s %02d %02d %02d %02d" % (pre, rng.randint(10, 99), rng.randint(10, 99),
                                         rng.randint(10, 99), rng.randint(10, 99))
    fax = phone[:-2] + "%02d" % rng.randint(10, 99) if rng.random() < 0.6 else ""
    domain = "".join(ch for ch in name.lower().split()[0] if ch.isalnum())
    domain = domain.translate(str.maketrans("éèêëàâîïôöûüç", "eeeeaaiioouuc"))
    email = "contact@%s.fr" % domain if rng.random() < 0.8 else ""

    # Between one and three past contacts, the newest first in the history.
    day = date(2026, 3, 2) + timedelta(days=rng.randint(0, 150))
    contacts = []
    for _ in range(rng.randint(1, 3)):
        contacts.append(make_contact(day))
        day = min(day + timedelta(days=rng.randint(20, 120)), LAST_DAY)
    history = []
    for c in reversed(contacts):
        history += history_entry(c)
    last = contacts[-1]
    # The follow-up shown is the one planned at the last contact; most fall in
    # 2026 and some in 2027.
    fdate = last["fdate"]
    pending = n % 4 == 0  # a contact being entered: its comments are not yet validated
    alert = "Y" if n % 6 == 1 else "N"
    sale = "Y" if n % 5 == 2 else "N"

    lines = ["<BLOC%05d>" % n, str(10001 + n), name, addr1, addr2, cp, town, phone, fax,
             activity, email, civ, dm, function, last["type"], fmt_date(last["date"]),
             last["time"], last["inter"], last["product"], last["buy"], last["sell"],
             last["response"] if pending else "", last["arguments"] if pending else "",
             last["appraisal"] if pending else "", fmt_date(fdate), last["ftime"],
             last["ftype"], alert, sale]
    lines += ["MEMO" + h for h in history]
    if n % 3 == 0:
        lines += ["TEXT" + t for t in (
            "Accès : parking visiteurs devant l'entrée principale.",
            "Préfère être appelé le matin, avant 11 h.")]
    if sale == "Y":
        lines.append("TEXTCommande signée ; livraison prévue sous trois semaines.")
    lines.append("</BLOC%05d>" % n)
    return lines


def money(amount):
    """Two decimals with a comma, padded on the left as the cost fields store it."""
    text = ("%.2f" % amount).replace(".", ",")
    # The window pads with spaces to about 90 pixels: digits are twice as wide
    # as a space or a comma in its font.
    width = sum(2 if ch.isdigit() else 1 for ch in text)
    return " " * max(0, 30 - width) + text


OPERATIONS = [
    ("Mailing", "Mailing de rentrée aux PME de la région lyonnaise", 350.0, 0.85,
     date(2026, 9, 1), date(2026, 9, 30), "N",
     ["Envoi de 1 200 lettres personnalisées avec le catalogue.",
      "Cible : PME de 10 à 50 salariés, fichier acheté."],
     ["Taux de retour de 3 %, 14 rendez-vous obtenus."],
     [("02/09/2026", "Location du fichier", "420,00"), ("05/09/2026", "Impression des catalogues", "980,00"),
      ("08/09/2026", "Affranchissement", "612,00")]),
    ("Salon", "Salon Bureautique Expo, Paris Porte de Versailles", 4500.0, 0.0,
     date(2026, 10, 14), date(2026, 10, 16), "Y",
     ["Stand de 18 m2, hall 4.", "Démonstrations des copieurs multifonctions."],
     ["Forte affluence le deuxième jour.", "62 cartes de visite récoltées."],
     [("15/06/2026", "Réservation du stand", "3 200,00"), ("10/10/2026", "Transport du matériel", "540,00"),
      ("14/10/2026", "Hôtel et repas", "870,00"), ("16/10/2026", "Goodies", "310,00")]),
    ("Phoning", "Campagne d'appels : relance des devis non signés", 0.0, 4.5,
     date(2026, 11, 3), date(2026, 11, 21), "N",
     ["Appel de tous les prospects ayant reçu un devis depuis juin."],
     ["9 devis signés sur 47 appels aboutis."],
     [("21/11/2026", "Vacations téléopératrice", "1 260,00")]),
    ("Mailing", "Vœux et catalogue 2027 aux clients", 200.0, 1.2,
     date(2026, 12, 10), date(2027, 1, 10), "N",
     ["Carte de vœux et nouveau catalogue, clients et prospects chauds."],
     [],
     [("12/12/2026", "Cartes de vœux", "360,00"), ("15/12/2026", "Affranchissement", "488,00")]),
    ("Salon", "Salon régional des entreprises, Lyon Eurexpo", 2200.0, 0.0,
     date(2027, 3, 17), date(2027, 3, 19), "Y",
     ["Stand partagé avec notre partenaire mobilier."],
     ["Conférence sur la dématérialisation très suivie."],
     [("20/01/2027", "Acompte stand", "1 100,00"), ("16/03/2027", "Kakémonos", "260,00")]),
    ("Phoning", "Prise de rendez-vous pour la nouvelle gamme laser", 0.0, 5.0,
     date(2027, 4, 6), date(2027, 4, 24), "N",
     ["Cible : clients équipés depuis plus de quatre ans."],
     [],
     [("24/04/2027", "Vacations téléopératrice", "980,00")]),
    ("Emailing", "Lettre d'information du printemps", 90.0, 0.02,
     date(2027, 5, 4), date(2027, 5, 4), "N",
     ["Envoi à 3 000 adresses, lien vers les offres du mois."],
     ["Taux d'ouverture de 31 %."],
     [("04/05/2027", "Plate-forme d'envoi", "90,00")]),
    ("Portes ouvertes", "Journée portes ouvertes du showroom", 600.0, 0.0,
     date(2027, 6, 12), date(2027, 6, 12), "N",
     ["Invitation des clients et prospects de la région.", "Buffet et démonstrations."],
     [],
     [("01/06/2027", "Invitations", "150,00"), ("12/06/2027", "Traiteur", "720,00")]),
]


def operation_block(n, op):
    op_type, summary, fixed, unit, start, end, urgent, desc, facts, entries = op
    lines = ["<BLOC%04d>" % n, str(10001 + n), op_type, summary, money(fixed) if fixed else "",
             money(unit) if unit else "", fmt_date(start), fmt_date(end), urgent]
    lines += ["MEM3" + d for d in desc]
    lines += ["MEM4" + f for f in facts]
    lines += ["DATA%s\t%s\t%s" % e for e in entries]
    lines.append("</BLOC%04d>" % n)
    return lines


PICK_LISTS = [
    ("[FONCTION]", ["PDG", "Gérant", "Gérante", "Directeur", "Directrice générale", "Directeur commercial",
                    "Directeur financier", "Responsable achats", "Acheteur", "Assistante de direction",
                    "Artisan", "Associé"]),
    ("[CONTACT]", CONTACT_TYPES),
    ("[INTERLOCUTEUR]", INTERLOCUTORS),
    ("[PRODUIT]", [p[0] for p in PRODUCTS]),
    ("[REPONSE]", RESPONSES),
    ("[ARGUMENTS]", ARGUMENTS),
    ("[APPRECIATION]", APPRAISALS),
    ("[RELANCE]", FOLLOWUP_TYPES),
    ("[OPERATION]", ["Mailing", "Emailing", "Salon", "Phoning", "Portes ouvertes", "Publicité"]),
]

COMPANY = ["Bureau Services Lorrain", "14 avenue Foch", "54000 NANCY", "Tél. 03 83 00 00 00",
           "contact@bureau-services-lorrain.fr", "SARL au capital de 40 000 euros",
           "RCS Nancy 000 000 000"]


def write(name, lines):
    data = "".join(line + "\r\n" for line in lines).encode("cp1252")
    with open(os.path.join(HERE, name), "wb") as f:
        f.write(data)


def main():
    contacts = []
    for n, company in enumerate(COMPANIES):
        contacts += contact_block(n, company)
    write("demo.ctc", contacts)
    operations = []
    for n, op in enumerate(OPERATIONS):
        operations += operation_block(n, op)
    write("demo.opr", operations)
    picks = []
    for header, items in PICK_LISTS:
        picks.append(header)
        picks += items
    write("Tarvik.cbx", picks)
    write("Tarvik.soc", COMPANY)


if __name__ == "__main__":
    main()
