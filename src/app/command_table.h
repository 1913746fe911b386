#pragma once

#include "platform/ui/glyph.h"

#include <QAnyStringView>
#include <QString>
#include <cstdint>
#include <span>
#include <string_view>

namespace tarvik {

// The main window's commands as plain data: every menu item and toolbar
// button with its caption, hints, place, shortcut, glyph, check mark, state at
// start and what each of the three enabling steps does to it. The window
// builds its menu bar and toolbar from this table and applies the steps from
// it, so that a command cannot be in a menu and missing from a step because a
// name was misspelt in one of several lists.
namespace commands {

// Where a command sits: one of the menus, or the toolbar.
enum class Place : std::uint8_t {
    None, // only as "opens no submenu"
    File,
    Print, // the submenu of "&Imprimer..."
    Edit,
    Base,
    Selection,
    Tools,
    Settings,
    Utilities,
    Help,
    Toolbar,
};

struct MenuInfo
{
    Place place;
    const char* objectName;
    // Empty for a submenu: its caption is the one of the command that opens it.
    const char* caption;
};

// The menus, top-level ones in menu bar order, then the submenus.
inline constexpr MenuInfo Menus[] = {
    {Place::File, "FileMenu", "&Fichier"},
    {Place::Edit, "EditMenu", "&Ediiton"},
    {Place::Base, "BaseMenu", "&Base"},
    {Place::Selection, "SelectionMenu", "&Sélection"},
    {Place::Tools, "ToolsMenu", "&Outils"},
    {Place::Settings, "ParamMenu", "&Paramètres"},
    {Place::Utilities, "UtilMenu", "&Utilitaires"},
    {Place::Help, "HelpMenu", "&Aide"},
    {Place::Print, "ImprimerMenu", ""},
};

// The pictures of the buttons.
using Glyph = tarvik::Glyph;

// The three enabling steps: enable-all, contacts page, operations page.
enum class Step : std::uint8_t { Valide, Valide1, Valide2 };
// What a step does to one command.
enum class Turn : std::uint8_t { Keep, On, Off };

struct Command
{
    const char* name = ""; // the objectName
    const char* caption = "";
    // "short|long": the tool tip before the bar, the status bar hint after
    // it; without a bar, the same text for both.
    const char* hint = "";
    Place place = Place::None;
    bool separatorBefore = false; // a separator (a gap on the toolbar) before it
    Place opens = Place::None;    // the submenu this item opens
    const char* shortcut = "";    // portable key text, "Alt+X"
    Glyph glyph = Glyph::None;
    bool checkable = false;
    bool checked = false;
    bool enabled = true; // at start
    Turn valide = Turn::Keep;
    Turn valide1 = Turn::Keep;
    Turn valide2 = Turn::Keep;
    // For a button: the menu item whose command it runs, so that a command has
    // one handler however many places show it. Empty: the button's own.
    const char* runs = "";

    constexpr Turn turn(Step step) const
    {
        return step == Step::Valide ? valide : step == Step::Valide1 ? valide1 : valide2;
    }

    // Builders, so that each line of the table says only what differs.
    constexpr Command sep() const
    {
        Command c = *this;
        c.separatorBefore = true;
        return c;
    }
    constexpr Command off() const
    {
        Command c = *this;
        c.enabled = false;
        return c;
    }
    constexpr Command check(bool initially = false) const
    {
        Command c = *this;
        c.checkable = true;
        c.checked = initially;
        return c;
    }
    constexpr Command opening(Place submenu) const
    {
        Command c = *this;
        c.opens = submenu;
        return c;
    }
    constexpr Command key(const char* keys) const
    {
        Command c = *this;
        c.shortcut = keys;
        return c;
    }
    constexpr Command running(const char* menuItem) const
    {
        Command c = *this;
        c.runs = menuItem;
        return c;
    }
    constexpr Command steps(Turn all, Turn contacts, Turn operations) const
    {
        Command c = *this;
        c.valide = all;
        c.valide1 = contacts;
        c.valide2 = operations;
        return c;
    }
};

constexpr Command item(Place place, const char* name, const char* caption, const char* hint)
{
    Command c;
    c.name = name;
    c.caption = caption;
    c.hint = hint;
    c.place = place;
    return c;
}

constexpr Command button(const char* name, const char* hint, Glyph glyph)
{
    Command c;
    c.name = name;
    c.hint = hint;
    c.place = Place::Toolbar;
    c.glyph = glyph;
    return c;
}

namespace table_detail {
using enum Place;
inline constexpr Turn K = Turn::Keep;
inline constexpr Turn On = Turn::On;
inline constexpr Turn Off = Turn::Off;

// In menu order, menu by menu, then the toolbar in screen order.
inline constexpr Command Table[] = {
    item(File, "Nouveau1", "&Nouveau", "Nouveau fichier"),
    item(File, "OpenItem", "&Ouvrir...", "Ouvrir un fichier"),
    item(File, "SaveItem", "&Enregistrer", "Enregistrer le fichier").off().steps(On, K, K),
    item(File, "Enregistrersous1", "Enregistrer &sous...", "Enregistrer sous un autre nom")
        .off()
        .steps(On, On, On),
    item(File, "Imprimer1", "&Imprimer...", "Imprimer")
        .sep()
        .opening(Print)
        .off()
        .steps(On, On, On),
    item(Print, "Listing1", "&Listing...", "Imprime listing d'adresses"),
    item(Print, "fichesdeprospection1", "Fiches &prospection...", "Fiches de prospection"),
    item(Print, "Fichesalertes1", "&Alertes...", "Imprime fiches alerte"),
    item(Print, "Fichesrelance1", "&Relances du jour...", "Imprime fiches relance"),
    item(Print, "Fichesventesabouties1", "&Ventes abouties...", "Imprime fiches vente aboutie"),
    item(Print, "Fichessupportdactivit1", "Rappor&t d'activité...",
         "Imprime fiches rapport d'activité"),
    item(Print, "Fichesrelancesfaire1", "Relances à &faire...", "Imprimer relances à faire"),
    item(Print, "Enveloppes1", "&Enveloppes", "Imprimer enveloppes à partir du fichier"),
    item(Print, "Apercuavantimpression1", "Aper&çu avant impression",
         "Montrer chaque impression avant de l'imprimer")
        .sep()
        .check(),
    item(File, "Miseenpage1", "&Mise en page...", "Mise en page"),
    item(File, "Configurerlimprimante1", "&Configurer l'imprimante...", "Configurer l'imprimante"),
    item(File, "Importer1", "I&mporter...", "Importer fichier").sep().steps(K, On, Off),
    item(File, "Exporter1", "E&xporter...", "Exporter fichier").off().steps(On, On, Off),
    item(File, "Synchroniser1", "Synchroniser", "Synchroniser avec le serveur")
        .key("Ctrl+Shift+S")
        .off()
        .steps(On, K, K),
    item(File, "ExitItem", "&Quitter", "Quitter Tarvik").sep().key("Alt+X"),

    item(Edit, "Rappelerhistorique1", "Rappeler historique",
         "Rappeler la dernière saisie de l'historique")
        .off()
        .steps(On, On, Off),
    item(Edit, "Copier1", "C&opier", "Copier l'identité").sep().off().steps(On, On, On),
    item(Edit, "Coller1", "Co&ller", "Coller l'identité").off().steps(On, On, On),
    item(Edit, "Nom1", "Recherche &Nom / société...", "Recherche par nom")
        .sep()
        .off()
        .steps(On, On, Off),
    item(Edit, "Tlephone2", "Recherche &Télephone...", "Recherche par téléphone")
        .off()
        .steps(On, On, Off),
    item(Edit, "Numrofiche2", "Recherche Numéro &fiche...", "Recherche par numéro de fiche")
        .off()
        .steps(On, On, Off),
    item(Edit, "Recherchenomdcideur1", "Recherche nom &décideur...", "Recherche par décideur")
        .off()
        .steps(On, On, Off),
    item(Edit, "Trier1", "&Trier...", "Trier le fichier").sep().off().steps(On, On, Off),
    item(Edit, "Permuteradresse1adresse21", "Permuter &adresse1, adresse2",
         "Permuter les deux lignes d'adresse de toutes les fiches")
        .off()
        .steps(On, On, Off),
    item(Edit, "Rechercherrsum1", "Rechercher ré&sumé", "Recherche d'une opération par son résumé")
        .sep()
        .off()
        .steps(K, Off, On),

    item(Base, "Contacts1", "&Contacts", "Contacts"),
    item(Base, "Oprations1", "&Opérations", "Opérations"),
    item(Base, "Prcdent1", "&Précédent                  PgUp", "Précédent")
        .sep()
        .off()
        .steps(On, K, K),
    item(Base, "Suivant1", "&Suivant                        PgDn", "Suivant").off().steps(On, K, K),
    item(Base, "Premier1", "P&remier", "Premier").off().steps(On, K, K),
    item(Base, "Dernier1", "&Dernier", "Dernier").off().steps(On, K, K),
    item(Base, "Nouveaucontact1", "&Nouvelle fiche", "Nouvelle fiche").sep(),
    item(Base, "Supprimercontact1", "S&upprimer fiche", "Supprimer la fiche")
        .off()
        .steps(On, On, On),
    item(Base, "Listredescontacts1", "&Listre                           F2", "Liste des fiches")
        .off()
        .steps(On, On, On),
    item(Base, "Imprimerfiche1", "&Imprimer fiche", "Imprimer fiche courante")
        .off()
        .steps(On, On, On),

    item(Selection, "Touteslesfiches1", "&Toutes les fiches", "Toutes les fiches")
        .check(true)
        .off()
        .steps(On, On, Off),
    item(Selection, "Alarme1", "&Alertes", "Fiches en alerte").check().off().steps(On, On, Off),
    item(Selection, "Venteaboutie1", "&Ventes abouties", "Fiches des ventes abouties")
        .check()
        .off()
        .steps(On, On, Off),
    item(Selection, "Relances1", "&Relances du jour", "Fiches à relancer aujourd'hui")
        .check()
        .off()
        .steps(On, On, Off),
    item(Selection, "Codepostal1", "&Code postal...", "Fiches d'un code postal")
        .check()
        .off()
        .steps(On, On, Off),
    item(Selection, "Ville1", "&Ville...", "Fiches d'une ville").check().off().steps(On, On, Off),
    item(Selection, "Relancesfaire1", "Re&lances à faire", "Fiches ayant une relance à faire")
        .check()
        .off()
        .steps(On, On, Off),
    item(Selection, "Touteslesfiches2", "Toutes &les fiches", "Toutes les opérations")
        .sep()
        .check(true)
        .off()
        .steps(K, Off, On),
    item(Selection, "Type1", "&Type...", "Opérations d'un type").check().off().steps(K, Off, On),

    item(Tools, "Texte1", "&Traitement de texte", "Traitement de texte").off().steps(On, On, On),
    item(Tools, "Enveloppe1", "&Enveloppe courante", "Imprimer enveloppe").off().steps(On, On, Off),
    item(Tools, "Rapportdactivit1", "&Rapport d'activité", "Rapport d'activité")
        .off()
        .steps(On, On, On),
    item(Tools, "Planning1", "&Planning", "Planning des relances").off().steps(On, On, On),
    item(Tools, "Statsoprations1", "&Stats opérations", "Statistiques sur les opérations")
        .off()
        .steps(On, K, K),

    item(Settings, "Socit1", "&Société", "Votre société"),
    item(Settings, "Fonction1", "&Fonction", "Liste des fonctions").sep(),
    item(Settings, "Contact2", "&Contact", "Liste des types de contact"),
    item(Settings, "Interlocuteur1", "&Interlocuteur", "Liste des interlocuteurs"),
    item(Settings, "Produit1", "&Produit", "Liste des produits"),
    item(Settings, "Rponse1", "&Réponse", "Liste des réponses"),
    item(Settings, "Arguments1", "Arg&uments", "Liste des arguments"),
    item(Settings, "Confidentiel1", "Appréciation", "Liste des appréciations"),
    item(Settings, "Relance1", "Re&lance", "Liste des types de relance"),
    item(Settings, "N1Typedopration1", "&Type d'opération", "Liste des types d'opération"),
    item(Settings, "Ouvrirautomatiquement1", "&Ouvrir automatiquement",
         "Ouvrir le dernier fichier au démarrage")
        .sep()
        .check(),
    item(Settings, "Synchronisation1", "Synchronisation...",
         "Serveur de synchronisation des contacts et des relances")
        .sep(),

    item(Utilities, "Calendrier1", "&Calendrier", "Calendrier"),
    item(Utilities, "Calculatrice1", "C&alculatrice", "Calculatrice"),
    item(Utilities, "Horloge1", "&Horloge", "Horloge"),
    item(Utilities, "Eutoconversion1", "&Euto conversion", "Convertisseur euro"),
    item(Utilities, "Blocnotes1", "&Bloc-notes", "Blocnotes"),
    item(Utilities, "Dpartements1", "&Départements", "Liste des départements"),
    item(Utilities, "Pselettres1", "&Pèse lettres", "Pèse-Lettres"),
    item(Utilities, "Prnoms1", "P&rénoms", "Prénoms"),

    item(Help, "Index1", "&Index", "Sommaire de l'aide"),
    item(Help, "Rechercher1", "&Rechercher", "Rechercher dans l'aide"),
    item(Help, "Utiliserlaide1", "&Utiliser l'aide", "Comment utiliser l'aide"),
    item(Help, "About1", "&A propos", "A propos de Tarvik").sep(),

    button("SpeedButton11", "Nouveau fichier", Glyph::NewFile).running("Nouveau1"),
    button("SpeedButton1", "Ouvrir", Glyph::Open).running("OpenItem"),
    button("SaveBtn", "Enregistrer|", Glyph::Save).off().steps(On, K, K).running("SaveItem"),
    button("CopyBtn", "Copier", Glyph::Copy).sep().off().steps(On, On, On),
    button("PasteBtn", "Coller", Glyph::Paste).off().steps(On, On, On),
    button("SpeedButton2", "Premier", Glyph::First).sep().off().steps(On, K, K).running("Premier1"),
    button("SpeedButton3", "Précédent", Glyph::Previous).off().steps(On, K, K).running("Prcdent1"),
    button("SpeedButton4", "Suivant", Glyph::Next).off().steps(On, K, K).running("Suivant1"),
    button("SpeedButton5", "Dernier", Glyph::Last).off().steps(On, K, K).running("Dernier1"),
    button("SpeedButton7", "Onglet historique", Glyph::HistoryTab).sep().off().steps(On, On, Off),
    button("SpeedButton9", "Onglet commentaire annexe", Glyph::CommentTab).off().steps(On, On, Off),
    button("SpeedButton6", "Nouvelle fiche", Glyph::NewRecord)
        .sep()
        .steps(On, On, On)
        .running("Nouveaucontact1"),
    button("SpeedButton12", "Contacts", Glyph::Contacts)
        .sep()
        .steps(K, Off, On)
        .running("Contacts1"),
    button("SpeedButton13", "Opérations", Glyph::Operations)
        .steps(K, On, Off)
        .running("Oprations1"),
    button("SpeedButton8", "Imprimer fiche", Glyph::PrintRecord)
        .sep()
        .off()
        .steps(On, On, On)
        .running("Imprimerfiche1"),
    button("SpeedButton10", "Imprimer enveloppe", Glyph::Envelope)
        .off()
        .steps(On, On, Off)
        .running("Enveloppe1"),
};

consteval int indexOf(std::string_view name)
{
    for (int i = 0; i < int(std::size(Table)); ++i)
        if (name == Table[i].name)
            return i;
    // Reached only for a name the table lacks: the build stops here.
    throw "unknown command name";
}

// A button runs a menu item's command only where that item can run whenever
// the button can be pressed: a disabled item ignores the button's trigger.
consteval bool buttonsRunMenuItems()
{
    for (const Command& c : Table) {
        if (!*c.runs)
            continue;
        const Command& item = Table[indexOf(c.runs)];
        if (c.place != Place::Toolbar || item.place == Place::Toolbar || *item.runs)
            return false;
        const bool sameEnabling = item.enabled == c.enabled && item.valide == c.valide &&
                                  item.valide1 == c.valide1 && item.valide2 == c.valide2;
        const bool alwaysOn =
            item.enabled && item.valide != Off && item.valide1 != Off && item.valide2 != Off;
        if (!sameEnabling && !alwaysOn)
            return false;
    }
    return true;
}
static_assert(buttonsRunMenuItems());
} // namespace table_detail

inline constexpr int Count = int(std::size(table_detail::Table));

inline constexpr std::span<const Command> table()
{
    return table_detail::Table;
}

// A command named in code. The name is looked up while compiling, so a
// misspelt name in the wiring or anywhere else is a build error, not a
// command that silently does nothing.
class Id
{
public:
    consteval Id(const char* name) : m_index(table_detail::indexOf(name)) {}
    constexpr int index() const { return m_index; }
    constexpr const Command& command() const { return table_detail::Table[m_index]; }

private:
    int m_index;
};

// The index of a command named at run time, -1 when there is none.
int indexOf(QAnyStringView name);
const MenuInfo* menu(Place place);

QString caption(const Command& command);
QString toolTip(const Command& command);   // the hint before the bar
QString statusTip(const Command& command); // the hint after the bar

} // namespace commands

} // namespace tarvik
