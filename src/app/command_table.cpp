#include "app/command_table.h"

namespace tarvik {

namespace commands {

int indexOf(QAnyStringView name)
{
    for (int i = 0; i < Count; ++i)
        if (QAnyStringView::equal(name, QLatin1String(table()[i].name)))
            return i;
    return -1;
}

const MenuInfo* menu(Place place)
{
    for (const MenuInfo& m : Menus)
        if (m.place == place)
            return &m;
    return nullptr;
}

QString caption(const Command& command)
{
    return QString::fromUtf8(command.caption);
}

QString toolTip(const Command& command)
{
    const QString hint = QString::fromUtf8(command.hint);
    const qsizetype bar = hint.indexOf(u'|');
    return bar < 0 ? hint : hint.left(bar);
}

QString statusTip(const Command& command)
{
    const QString hint = QString::fromUtf8(command.hint);
    const qsizetype bar = hint.indexOf(u'|');
    return bar < 0 ? hint : hint.mid(bar + 1);
}

} // namespace commands

} // namespace tarvik
