#include "sync/dav_state.h"

#include "platform/errors.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <algorithm>

namespace tarvik::sync {

namespace {

const QByteArray Marker = "TARVIK-DAV 1";

// Tabs and line ends would break the line layout; a UID or an href holding
// one is percent-encoded.
QByteArray cell(const QString& text)
{
    return QUrl::toPercentEncoding(text, " !\"#$&'()*+,/:;<=>?@[]^`{|}~");
}

QString uncell(const QByteArray& bytes)
{
    return QString::fromUtf8(QByteArray::fromPercentEncoding(bytes));
}

} // namespace

QString DavState::companionPath(const QString& contactPath)
{
    const QFileInfo info(contactPath);
    const QString suffix = info.suffix();
    if (suffix.isEmpty())
        return contactPath + QStringLiteral(".dav");
    return contactPath.left(contactPath.size() - suffix.size()) + QStringLiteral("dav");
}

DavState DavState::load(const QString& path, QStringList* notices)
{
    DavState state;
    QFile file(path);
    if (!file.exists())
        return state;
    if (!file.open(QIODevice::ReadOnly)) {
        if (notices)
            notices->append(QStringLiteral("État de synchronisation illisible : %1").arg(path));
        return state;
    }
    const QList<QByteArray> lines = file.readAll().split('\n');
    int damaged = 0;
    bool marked = false;
    for (QByteArray line : lines) {
        if (line.endsWith('\r'))
            line.chop(1);
        if (line.isEmpty())
            continue;
        if (line == Marker) {
            marked = true;
            continue;
        }
        const QList<QByteArray> cells = line.split('\t');
        const QByteArray& kind = cells.at(0);
        if (cells.size() == 2 && kind == "server")
            state.server = QUrl(uncell(cells.at(1)));
        else if (cells.size() == 2 && kind == "addressbook")
            state.addressBook = QUrl(uncell(cells.at(1)));
        else if (cells.size() == 2 && kind == "calendar")
            state.calendar = QUrl(uncell(cells.at(1)));
        else if (cells.size() == 2 && kind == "user")
            state.user = uncell(cells.at(1));
        else if (cells.size() == 5 && (kind == "card" || kind == "task") && !cells.at(1).isEmpty())
            (kind == "card" ? state.cards : state.tasks)
                .insert(uncell(cells.at(1)),
                        {uncell(cells.at(2)), uncell(cells.at(3)), uncell(cells.at(4))});
        else
            ++damaged;
    }
    if (notices && (damaged > 0 || !marked))
        notices->append(QStringLiteral("État de synchronisation endommagé (%1 ligne(s) "
                                       "ignorée(s)) : %2")
                            .arg(damaged)
                            .arg(path));
    return state;
}

void DavState::save(const QString& path) const
{
    QByteArray out = Marker + "\r\n";
    auto value = [&](const char* kind, const QString& text) {
        if (!text.isEmpty())
            out += QByteArray(kind) + '\t' + cell(text) + "\r\n";
    };
    value("server", server.toString());
    value("addressbook", addressBook.toString());
    value("calendar", calendar.toString());
    value("user", user);
    auto items = [&](const char* kind, const SyncedStates& states) {
        QStringList uids = states.keys();
        std::sort(uids.begin(), uids.end());
        for (const QString& uid : uids) {
            const SyncedState& s = states.value(uid);
            out += QByteArray(kind) + '\t' + cell(uid) + '\t' + cell(s.href) + '\t' + cell(s.etag) +
                   '\t' + cell(s.hash) + "\r\n";
        }
    };
    items("card", cards);
    items("task", tasks);

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(out) != out.size() || !file.commit())
        throw TarvikError(QStringLiteral("Impossible d'enregistrer l'état de synchronisation %1 : "
                                         "%2")
                              .arg(path, file.errorString()));
}

} // namespace tarvik::sync
