#include "select/search.h"

#include "select/filtered_moves.h"
#include "store/ansi.h"

namespace search {

bool startsWithUpper(const QByteArray& line, const QByteArray& query)
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
    for (qsizetype i = 0; i < n; ++i) {
        const QByteArray& line = list.at(i);
        // Only headers of a readable number can give a record: the length
        // rules out most other lines without reading them.
        if (line.size() < digits + 6 || line.size() > digits + 10 || !blocks::isHeader(line))
            continue;
        const qsizetype at = i + offset;
        if (at >= n)
            break;
        if (!startsWithUpper(list.at(at), query))
            continue;
        const int number = selection::blockNumber(line, digits);
        if (number >= 0)
            return number;
    }
    return -1;
}

QString notFoundText(const QByteArray& query)
{
    return QStringLiteral("Fiche ") + ansi::toUnicode(query) + QStringLiteral(" non trouvée");
}

} // namespace search
