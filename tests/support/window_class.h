#pragma once

#include <QObject>
#include <QString>

namespace tarvik {

// The class of a window as the program names it, without the namespace the
// class lives in.
inline QString windowClass(const QObject* window)
{
    const QString name = QString::fromLatin1(window->metaObject()->className());
    return name.mid(name.lastIndexOf(QLatin1Char(':')) + 1);
}

} // namespace tarvik
