#include "tools/reference_tables.h"

#include <cstddef>

// The rows are Windows-1252 bytes; accented letters are written as octal
// escapes so that the bytes do not depend on the encoding of this file.

namespace reftables {

namespace {

const char* const DepartementRows[] = {
    "00 Arm\351es", "01 Ain", "02 Aisne", "03 Allier", "04 Alpes de Hte Provence",
    "05 Hautes Alpes", "06 Alpes maritimes", "07 Ard\350che", "08 Ardennes", "09 Ari\350ge",
    "10 Aube", "11 Aude", "12 Aveyron", "13 Bouches du Rh\364ne", "14 Calvados", "15 Cantal",
    "16 Charente", "17 Charente maritime", "18 Cher", "19 Corr\350ze", "20 Corse",
    "21 C\364te d'or", "22 C\364tes d'armor", "23 Creuse", "24 Dordogne", "25 Doubs", "26 Dr\364me",
    "27 Eure", "28 Eure et Loir", "29 Finist\350re", "30 Gard", "31 Haute Garonne", "32 Gers",
    "33 Gironde", "34 H\351rault", "35 Ille et Vilaine", "36 Indre", "37 Indre et Loire",
    "38 Is\350re", "39 Jura", "40 Landes", "41 Loir et Cher", "42 Loire", "43 Haute Loire",
    "44 Loire atlantique", "45 Loiret", "46 Lot", "47 Lot et Garonne", "48 Loz\350re",
    "49 Maine et Loire", "50 Manche", "51 Marne", "52 Haute Marne", "53 Mayenne",
    "54 Meurthe et Moselle", "55 Meuse", "56 Morbihan", "57 Moselle", "58 Ni\350vre", "59 Nord",
    "60 Oise", "61 Orne", "62 Pas de Calais", "63 Puy de D\364me", "64 Pyr\351n\351es atlantiques",
    "65 Hautes Pyr\351n\351es", "66 Pyr\351n\351es orientales", "67 Bas Rhin", "68 Haut Rhin",
    "69 Rh\364ne", "70 Haute Sa\364ne", "71 Sa\364ne et Loire", "72 Sarthe", "73 Savoie",
    "74 Haute Savoie", "75 Paris", "76 Seine maritime", "77 Seine et Marne", "78 Yvelines",
    "79 Deux S\350vres", "80 Somme", "81 Tarn", "82 Tarn et Garonne", "83 Var", "84 Vaucluse",
    "85 Vend\351e", "86 Vienne", "87 Haute Vienne", "88 Vosges", "89 Yonne",
    "90 Territoire de Belfort", "91 Essonne", "92 Hauts de Seine", "93 Seine St Denis",
    "94 Val de Marne", "95 Val d'Oise", "97 Dom",
};

const char* const FirstNameRows[] = {
    "Abel................05 Ao\373", "Achille.............12 Mai", "Adeline.............20 Oct",
    "Adrien..............08 Sep", "Ad\350le...............24 D\351c",
    "Agathe..............05 F\351v", "Agn\350s...............21 Jan",
    "Aim\351................13 Sep", "Aim\351e...............20 F\351v",
    "Alain...............09 Sep", "Alban...............22 Jun", "Albert..............15 Nov",
    "Alexandre...........22 Avr", "Alexis..............17 F\351v", "Alice...............16 D\351c",
    "Alix................09 Jan", "Alphonse............01 Ao\373", "Amandine............09 Jul",
    "Ambroise............07 D\351c", "Am\351d\351e..............30 Mar",
    "Andr\351...............30 Nov", "Ang\350le..............27 Jan", "Anne................26 Jul",
    "Anselme.............21 Avr", "Antoine.............13 Jun", "Antoine.............05 Jul",
    "Apollinaire.........12 Sep", "Apolline............09 F\351v", "Aristide............31 Ao\373",
    "Armand..............23 D\351c", "Armel...............16 Ao\373",
    "Arnaud..............10 F\351v", "Ars\350ne..............19 Jul", "Aubin...............01 Mar",
    "Aude................18 Nov", "Audrey..............23 Jun", "Auguste.............29 F\351v",
    "Augustin............27 Mai", "Barbara.............04 D\351c", "Barnab\351.............11 Jun",
    "Barth\351lemy..........24 Ao\373", "Basile..............02 Jan", "Baudouin............17 Oct",
    "Benjamin............31 Mar", "Beno\356t..............11 Jul", "Beno\356t-Joseph.......16 Avr",
    "Bernadette..........18 F\351v", "Bernard.............20 Ao\373", "Bernardin...........20 Mai",
    "Bertille............06 Nov", "Bertrand............06 Sep", "Blaise..............03 F\351v",
    "Blandine............02 Jun", "Boris...............02 Mai", "Brice...............13 Nov",
    "Brigitte............23 Jul", "Bruno...............06 Oct", "B\351atrice............13 F\351v",
    "B\351n\351dicte...........16 Mar", "B\351renger............26 Mai",
    "Carine..............07 Nov", "Carmen..............16 Jul", "Casimir.............04 Mar",
    "Catherine...........24 Mar", "Catherine...........25 Nov", "Chantal.............12 D\351c",
    "Charles.............02 Mar", "Charles.............04 Nov", "Charlotte...........17 Jul",
    "Christian...........12 Nov", "Christine...........24 Jul", "Christophe..........21 Ao\373",
    "Claire..............11 Ao\373", "Clarisse............12 Ao\373",
    "Claude..............15 F\351v", "Clotilde............04 Jun", "Cl\351mence............21 Mar",
    "Cl\351ment.............23 Nov", "Colette.............06 Mar", "Constant............23 Sep",
    "Constantin..........21 Mai", "Cyrille.............18 Mar", "C\351cile..............22 Nov",
    "C\351line..............21 Oct", "C\364me................26 Sep",
    "Damien..............21 F\351v", "Daniel..............11 D\351c",
    "David...............29 D\351c", "Delphine............26 Nov", "Denis...............09 Oct",
    "Denise..............15 Mai", "Diane...............09 Jun", "Didier..............23 Mai",
    "Dimitri.............26 Oct", "Dominique...........08 Ao\373", "Donald..............15 Jul",
    "Donatien............24 Mai", "D\351sir\351..............08 Mai", "Edith...............16 Sep",
    "Edmond..............20 Nov", "Edouard.............05 Jan", "Edwige..............16 Oct",
    "Elisabeth...........17 Nov", "Elis\351e..............14 Jun", "Ella................01 F\351v",
    "Elodie..............22 Oct", "Emeline.............27 Oct", "Emile...............22 Mai",
    "Emilie..............19 Sep", "Emma................19 Avr", "Emmanuel............25 D\351c",
    "Eric................18 Mai", "Estelle.............11 Mai", "Etienne.............26 D\351c",
    "Eudes...............19 Ao\373", "Eug\351nie.............07 F\351v",
    "Evrard..............14 Ao\373", "Fabrice.............22 Ao\373", "Ferdinand...........30 Mai",
    "Fernand.............27 Jun", "Fiacre..............30 Ao\373", "Fid\350le..............24 Avr",
    "Firmin..............11 Oct", "Fleur...............05 Oct", "Flora...............24 Nov",
    "Florence............01 D\351c", "Florent.............04 Jul", "Florentin...........24 Oct",
    "Fran\347ois............24 Jan", "Fran\347ois............04 Oct",
    "Fran\347oise...........09 Mar", "Fr\351d\351ric............18 Jul",
    "Fulbert.............10 Avr", "F\351licit\351............07 Mar",
    "F\351lix...............12 F\351v", "Gabin...............19 F\351v",
    "Gabriel.............29 Sep", "Gaston..............06 F\351v", "Gautier.............09 Avr",
    "Ga\353l................17 D\351c", "Ga\353tan..............07 Ao\373",
    "Genevi\350ve...........03 Jan", "Geoffroy............08 Nov", "Georges.............23 Avr",
    "Germain.............28 Mai", "Germaine............15 Jun", "Ghislain............10 Oct",
    "Gilbert.............07 Jun", "Gildas..............29 Jan", "Gilles..............01 Sep",
    "Gis\350le..............07 Mai", "Gontran.............28 Mar", "Gr\351goire............03 Sep",
    "Guillaume...........10 Jan", "Guy.................12 Jun", "Gu\351nol\351.............03 Mar",
    "G\351rald..............05 D\351c", "G\351rard..............03 Oct",
    "G\351raud..............13 Oct", "Henri...............13 Jul", "Herbert.............20 Mar",
    "Hermann.............25 Sep", "Herv\351...............17 Jun", "Hippolyte...........13 Ao\373",
    "Honorine............27 F\351v", "Honor\351..............16 Mai", "Hubert..............03 Nov",
    "Hugues..............01 Avr", "Hyacinthe...........17 Ao\373",
    "H\351l\350ne..............18 Ao\373", "Ida.................13 Avr",
    "Ignace..............31 Jul", "Igor................05 Jun", "Ingrid..............02 Sep",
    "In\350s................10 Sep", "Ir\350ne...............05 Avr",
    "Ir\351n\351e..............28 Jun", "Isabelle............22 F\351v",
    "Isidore.............04 Avr", "Jacqueline..........08 F\351v", "Jacques.............03 Mai",
    "Jean................08 Mar", "Jean................27 D\351c", "Jean-Baptiste.......07 Avr",
    "Joachim.............26 Jul", "Joseph..............19 Mar", "Jo\353l................13 Jul",
    "Jude................28 Oct", "Judith..............05 Mai", "Jules...............12 Avr",
    "Julie...............08 Avr", "Julien..............02 Ao\373", "Julienne............16 F\351v",
    "Juliette............30 Jul", "Juste...............14 Oct", "Justin..............01 Jun",
    "Justine.............12 Mar", "J\351r\364me..............30 Sep",
    "K\351vin...............03 Jun", "Landry..............10 Jun", "Laurent.............10 Ao\373",
    "Lazare..............23 F\351v", "Louis...............25 Ao\373", "Louise..............15 Mar",
    "Luc.................18 Oct", "Lucie...............13 D\351c", "Lucien..............08 Jan",
    "Lydie...............03 Ao\373", "L\351a.................22 Mar",
    "L\351ger...............02 Oct", "L\351on................10 Nov",
    "L\351once..............18 Jun", "Madeleine...........22 Jul", "Marc................25 Avr",
    "Marcel..............16 Jan", "Marcelle............31 Jan", "Marcellin...........06 Avr",
    "Marguerite..........16 Nov", "Marie...............15 Ao\373", "Mariette............06 Jul",
    "Marina..............20 Jul", "Marius..............19 Jan", "Marthe..............29 Jul",
    "Martial.............30 Jun", "Martin..............11 Nov", "Martine.............30 Jan",
    "Mathilde............14 Mar", "Matthias............14 Mai", "Matthieu............21 Sep",
    "Maurice.............22 Sep", "Maxime..............14 Avr", "Michel..............29 Sep",
    "Modeste.............24 F\351v", "Monique.............27 Ao\373",
    "M\351dard..............08 Jun", "Nad\350ge..............18 Sep", "Narcisse............29 Oct",
    "Natacha.............26 Ao\373", "Nathalie............27 Jul", "Nestor..............26 F\351v",
    "Nicolas.............06 D\351c", "Nina................14 Jan", "Ninon...............15 D\351c",
    "Norbert.............06 Jun", "Odette..............20 Avr", "Odile...............14 D\351c",
    "Odilon..............04 Jan", "Olive...............05 Mar", "Olivier.............12 Jul",
    "Pascal..............17 Mai", "Patrice.............17 Mar", "Paul................25 Jan",
    "Paule...............26 Jan", "Paulin..............11 Jan", "Perrine.............31 Mai",
    "Philippe............03 Mai", "Pierre..............29 Jun", "Prosper.............25 Jun",
    "Prudence............06 Mai", "P\351lagie.............08 Oct", "Quentin.............31 Oct",
    "Raoul...............07 Jul", "Rapha\353l.............29 Sep", "Raymond.............07 Jan",
    "Ra\357ssa..............05 Sep", "Reine...............07 Sep", "Renaud..............17 Sep",
    "Ren\351................19 Oct", "Richard.............03 Avr", "Robert..............30 Avr",
    "Rodolphe............21 Jun", "Rodrigue............13 Mar", "Roger...............30 D\351c",
    "Roland..............15 Sep", "Rolande.............13 Mai", "Romain..............28 F\351v",
    "Romaric.............10 D\351c", "Romuald.............19 Jun",
    "Rom\351o...............25 F\351v", "Rosalie.............04 Sep",
    "Rose................23 Ao\373", "Roseline............17 Jan", "Rosine..............11 Mar",
    "R\351gis...............16 Jun", "R\351mi................15 Jan",
    "Sabine..............29 Ao\373", "Samson..............28 Jul", "Sandrine............02 Avr",
    "Saturnin............29 Nov", "Serge...............07 Oct", "Silv\350re.............20 Jun",
    "Simon...............28 Oct", "Solange.............10 Mai", "Sophie..............25 Mai",
    "Stanislas...........11 Avr", "Sylvain.............04 Mai", "Sylvestre...........31 D\351c",
    "Sylvie..............05 Nov", "S\351bastien...........20 Jan", "S\351verin.............27 Nov",
    "Tanguy..............19 Nov", "Tatiana.............12 Jan", "Thibaut.............08 Jul",
    "Thierry.............01 Jul", "Thomas..............28 Jan", "Th\351odore............09 Nov",
    "Th\351ophile...........20 D\351c", "Th\351r\350se.............01 Oct",
    "Ulrich..............10 Jul", "Urbain..............19 D\351c", "Valentin............14 F\351v",
    "Val\351rie.............28 Avr", "Venceslas...........28 Sep", "Vianney.............04 Ao\373",
    "Victor..............21 Jul", "Victorien...........23 Mar", "Vincent.............22 Jan",
    "Vincent.............27 Sep", "Viviane.............02 D\351c", "Vivien..............10 Mar",
    "V\351ronique...........04 F\351v", "Wilfried............12 Oct",
    "Xavier..............03 D\351c", "Yves................19 Mai", "Yvette..............13 Jan",
    "Zita................27 Avr",
};

template <std::size_t N>
QList<QByteArray> toList(const char* const (&rows)[N])
{
    QList<QByteArray> list;
    list.reserve(qsizetype(N));
    for (const char* row : rows)
        list.append(QByteArray(row));
    return list;
}

} // namespace

const QList<QByteArray>& departements()
{
    static const QList<QByteArray> rows = toList(DepartementRows);
    return rows;
}

const QList<QByteArray>& firstNames()
{
    static const QList<QByteArray> rows = toList(FirstNameRows);
    return rows;
}

int typeAheadRow(const QList<QByteArray>& rows, QChar key)
{
    const char16_t c = key.unicode();
    char letter = 0;
    if (c >= u'a' && c <= u'z')
        letter = char(c - u'a' + 'A');
    else if (c >= u'A' && c <= u'Z')
        letter = char(c);
    else
        return -1;
    for (int i = 0; i < rows.size(); ++i) {
        if (!rows[i].isEmpty() && rows[i].at(0) == letter)
            return i;
    }
    return -1;
}

} // namespace reftables
