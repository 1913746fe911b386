#include "selection/ui/search_dialogs.h"

namespace tarvik {

template <typename Dialog> static QByteArray askWith(QWidget* parent)
{
    Dialog dialog(parent);
    dialog.exec();
    return dialog.value();
}

TRNom::TRNom(QWidget* parent)
    : LineInputDialog(QStringLiteral("Recherche par nom"), QStringLiteral("Début nom"), Keys::Any,
                      parent)
{
}

QByteArray TRNom::ask(QWidget* parent)
{
    return askWith<TRNom>(parent);
}

TRTel::TRTel(QWidget* parent)
    : LineInputDialog(QStringLiteral("Recherche par téléphone"), QStringLiteral("Téléphone"),
                      Keys::Digits, parent)
{
}

QByteArray TRTel::ask(QWidget* parent)
{
    return askWith<TRTel>(parent);
}

TRDeci::TRDeci(QWidget* parent)
    : LineInputDialog(QStringLiteral("Recherche par décideur"), QStringLiteral("Début nom"),
                      Keys::Any, parent)
{
}

QByteArray TRDeci::ask(QWidget* parent)
{
    return askWith<TRDeci>(parent);
}

TRNum::TRNum(QWidget* parent)
    : LineInputDialog(QStringLiteral("Recherche par fiche"), QStringLiteral("N° de fiche"),
                      Keys::Digits, parent)
{
}

QByteArray TRNum::ask(QWidget* parent)
{
    return askWith<TRNum>(parent);
}

} // namespace tarvik
