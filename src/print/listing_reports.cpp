#include "print/listing_reports.h"

#include "contacts/contact_record.h"
#include "storage/ansi.h"

#include <functional>

namespace tarvik {

namespace print {

namespace {

// One thing drawn in a block, `dy` millimetres below the block's row.
struct Item
{
    enum class Kind { Text, Rule, Pen };
    Kind kind = Kind::Text;
    int dy = 0;
    int x = 0;
    int x2 = 0;
    QString text;
    PenStyle pen = PenStyle::Solid;
};

Item text(int dy, int x, const QString& s)
{
    return {Item::Kind::Text, dy, x, 0, s};
}

Item rule(int dy, int x1, int x2)
{
    return {Item::Kind::Rule, dy, x1, x2, {}};
}

Item pen(PenStyle style)
{
    Item i;
    i.kind = Item::Kind::Pen;
    i.pen = style;
    return i;
}

enum class Ending {
    Closed,       // a solid rule at row + 42; row += 45
    History,      // the latest history entry, a solid rule; row += 5
    HistoryTwice, // the same, the page break test, then a second rule
};

struct Member
{
    QString title;
    std::function<bool(const BlockLines&)> selects;
    bool codeUnderNumber = false;
    Ending ending = Ending::Closed;
    int rowAfterBreak = 5;
};

constexpr int FirstRow = 5;

// The history lines of the latest entry: those before the first line that
// begins with "--".
QList<QByteArray> latestEntry(const BlockLines& b)
{
    QList<QByteArray> out;
    for (const QByteArray& line : b.history()) {
        if (line.startsWith("--"))
            break;
        out << line;
    }
    return out;
}

class Listing
{
public:
    Listing(PrintDevice& device, const Member& member) : d(device), m(member) {}

    void run(const BlockList& contacts, RecordRange range)
    {
        beginReport(d, Orientation::Landscape);
        title();
        row = FirstRow;
        forEachBlock(contacts, range, [this](int n, const BlockLines& b) {
            if (m.selects(b))
                block(n, b);
        });
        endReport(d);
    }

private:
    void title() { textAt(d, 5, 0, m.title); }

    void newPage(int nextRow)
    {
        d.newPage();
        title();
        row = nextRow;
    }

    int height(const Item& i) const
    {
        return i.kind == Item::Kind::Text ? d.textHeight(i.text) : 0;
    }

    bool fits(const QList<Item>& items, int at) const
    {
        for (const Item& i : items)
            if (i.kind != Item::Kind::Pen && !fitsOnPage(d, at + i.dy, height(i)))
                return false;
        return true;
    }

    // Draws the items from `row`. A block that would not end on the page
    // starts on the next one; one taller than a page goes on over the next.
    void place(const QList<Item>& items, int advance)
    {
        if (row != FirstRow && !fits(items, row))
            newPage(FirstRow);
        int base = row;
        for (const Item& i : items) {
            if (i.kind == Item::Kind::Pen) {
                d.setPenStyle(i.pen);
                continue;
            }
            if (base + i.dy > FirstRow && !fitsOnPage(d, base + i.dy, height(i))) {
                newPage(FirstRow);
                base = FirstRow - i.dy;
            }
            if (i.kind == Item::Kind::Text)
                textAt(d, i.x, base + i.dy, i.text);
            else
                ruleAt(d, i.x, i.x2, base + i.dy);
        }
        row = base + advance;
    }

    void block(int n, const BlockLines& b)
    {
        auto f = [&b](int offset) { return ansi::toUnicode(b.field(offset)); };
        QList<Item> items{
            text(0, 5, QStringLiteral("N°")),
            text(0, 15, QStringLiteral("Téléphone")),
            text(0, 40, QStringLiteral("Société")),
            text(0, 90, QStringLiteral("Décideur")),
            text(0, 140, QStringLiteral("Adresse")),
            text(0, 190, QStringLiteral("Adresse")),
            text(0, 240, QStringLiteral("C.P")),
            text(0, 255, QStringLiteral("Ville")),
            text(5, 5, m.codeUnderNumber ? f(contact::Code) : QString::number(n)),
            text(5, 15, f(contact::Phone)),
            text(5, 40, f(contact::Name)),
            text(5, 90, f(contact::Civility)),
            text(5, 95, f(contact::DecisionMaker)),
            text(5, 140, f(contact::Address1)),
            text(5, 190, f(contact::Address2)),
            text(5, 240, f(contact::Postcode)),
            text(5, 255, f(contact::Town)),
            text(10, 5, QStringLiteral("Contact")),
            text(10, 20, QStringLiteral("Heure")),
            text(10, 45, QStringLiteral("Heure")),
            text(10, 70, QStringLiteral("Interlocuteur")),
            text(10, 120, QStringLiteral("Produit proposé")),
            text(10, 160, QStringLiteral("Px achat")),
            text(10, 185, QStringLiteral("Px vente")),
            pen(PenStyle::Dash),
            rule(19, 5, 300),
            text(20, 5, QStringLiteral("Réponse Inter.")),
            rule(23, 40, 300),
            text(25, 5, QStringLiteral("Nos arguments")),
            rule(28, 40, 300),
            text(30, 5, QStringLiteral("Appréciation")),
            rule(33, 40, 300),
            text(35, 5, QStringLiteral("Type de relance")),
            rule(38, 40, 300),
            pen(PenStyle::Solid),
        };
        if (m.ending == Ending::Closed) {
            items << rule(42, 5, 300);
            place(items, 45);
            if (pageBreakDue(d, row))
                newPage(m.rowAfterBreak);
            return;
        }
        int dy = 40;
        for (const QByteArray& line : latestEntry(b)) {
            items << text(dy, 5, ansi::toUnicode(line));
            dy += 5;
        }
        items << rule(dy, 5, 300);
        place(items, dy + 5);
        if (pageBreakDue(d, row))
            newPage(m.rowAfterBreak);
        if (m.ending == Ending::HistoryTwice) {
            ruleAt(d, 5, 300, row);
            row += 5;
        }
    }

    PrintDevice& d;
    const Member& m;
    int row = FirstRow;
};

bool yes(const QByteArray& line)
{
    return line == "Y";
}

void runListing(PrintDevice& d, const Member& m, const BlockList& contacts, RecordRange range)
{
    Listing(d, m).run(contacts, range);
}

} // namespace

void ImpPros(PrintDevice& d, const BlockList& contacts, RecordRange range)
{
    runListing(d,
               {QStringLiteral("Fiches de prospection"), [](const BlockLines&) { return true; },
                true, Ending::Closed, 5},
               contacts, range);
}

void ImpAlerte(PrintDevice& d, const BlockList& contacts, RecordRange range)
{
    runListing(d,
               {QStringLiteral("Fiches alerte"),
                [](const BlockLines& b) { return yes(b.field(contact::Alert)); }, false,
                Ending::History, 5},
               contacts, range);
}

void ImpRelance(PrintDevice& d, const BlockList& contacts, RecordRange range, const QDate& today)
{
    const QByteArray day = contact::formatDate(today);
    runListing(d,
               {QStringLiteral("Fiches relance"),
                [day](const BlockLines& b) { return b.field(contact::FollowupDate) == day; }, false,
                Ending::Closed, 5},
               contacts, range);
}

void ImpVente(PrintDevice& d, const BlockList& contacts, RecordRange range)
{
    runListing(d,
               {QStringLiteral("Fiches ventes abouties"),
                [](const BlockLines& b) { return yes(b.field(contact::SaleClosed)); }, false,
                Ending::HistoryTwice, 0},
               contacts, range);
}

void ImpRelanceAFaire(PrintDevice& d, const BlockList& contacts, RecordRange range)
{
    runListing(d,
               {QStringLiteral("Fiches relance"),
                [](const BlockLines& b) {
                    const QByteArray date = b.field(contact::FollowupDate);
                    return !date.isEmpty() && date != "01/01/1900";
                },
                false, Ending::Closed, 5},
               contacts, range);
}

} // namespace print

} // namespace tarvik
