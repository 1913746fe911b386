#include "selection/search.h"

#include "storage/ansi.h"
#include "storage/block_index.h"

namespace tarvik {

namespace search {

bool startsWithUpper(QByteArrayView line, QByteArrayView query)
{
    if (line.size() < query.size())
        return false;
    for (qsizetype i = 0; i < query.size(); ++i) {
        char c = line.at(i);
        if (c >= 'a' && c <= 'z')
            c = char(c - 'a' + 'A');
        if (c != query.at(i))
            return false;
    }
    return true;
}

int findBlock(const BlockList& list, int digits, int offset, const QByteArray& query)
{
    const qsizetype n = list.size();
    const auto index = blocks::BlockIndex::of(list, digits);
    for (const blocks::ListedBlock& block : index->inListOrder()) {
        // Only headers of a readable number can give a record.
        if (block.number < 0)
            continue;
        const qsizetype at = block.first + offset;
        if (at >= n)
            break;
        if (startsWithUpper(list.view(at), query))
            return block.number;
    }
    return -1;
}

QString notFoundText(const QByteArray& query)
{
    return QStringLiteral("Fiche ") + ansi::toUnicode(query) + QStringLiteral(" non trouvée");
}

QString notFoundText(const QString& typed)
{
    QString shown = typed;
    for (QChar& c : shown)
        if (c >= QLatin1Char('a') && c <= QLatin1Char('z'))
            c = QChar(c.unicode() - 'a' + 'A');
    return QStringLiteral("Fiche ") + shown + QStringLiteral(" non trouvée");
}

} // namespace search

} // namespace tarvik
