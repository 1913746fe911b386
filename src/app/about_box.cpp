#include "app/about_box.h"

#include "app/icons.h"
#include "app/version.h"

#include <QFrame>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace tarvik {

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(QStringLiteral("A propos"));
    auto* v = new QVBoxLayout(this);
    auto* panel = new QFrame;
    panel->setFrameShape(QFrame::StyledPanel);
    auto* h = new QHBoxLayout(panel);
    auto* icon = new QLabel;
    icon->setObjectName(QStringLiteral("ProgramIcon"));
    icon->setPixmap(icons::programPixmap(48));
    h->addWidget(icon, 0, Qt::AlignTop);
    auto* texts = new QVBoxLayout;
    auto* product = new QLabel(QStringLiteral("Tarvik"));
    product->setObjectName(QStringLiteral("ProductName"));
    QFont big = product->font();
    big.setBold(true);
    big.setPointSizeF(big.pointSizeF() * 1.4);
    product->setFont(big);
    auto* version = new QLabel(QStringLiteral("Version  " TARVIK_VERSION));
    version->setObjectName(QStringLiteral("Version"));
    auto* comments = new QLabel(
        QStringLiteral("Gestion de contacts et de prospection commerciale : fiches, historique des "
                       "contacts, relances, opérations commerciales, impressions et utilitaires."));
    comments->setObjectName(QStringLiteral("Comments"));
    comments->setWordWrap(true);
    comments->setMinimumWidth(280);
    texts->addWidget(product);
    texts->addWidget(version);
    texts->addWidget(comments);
    h->addLayout(texts, 1);
    v->addWidget(panel);
    auto* ok = new QPushButton(QStringLiteral("OK"));
    ok->setObjectName(QStringLiteral("OKButton"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    v->addWidget(ok, 0, Qt::AlignHCenter);
    setFixedSize(sizeHint());
}

TSplash::TSplash() : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("Splash"));
    auto* v = new QVBoxLayout(this);
    v->setContentsMargins(0, 0, 0, 0);
    auto* panel = new QFrame;
    panel->setFrameShape(QFrame::Panel);
    panel->setFrameShadow(QFrame::Raised);
    panel->setLineWidth(2);
    auto* p = new QVBoxLayout(panel);
    p->setContentsMargins(30, 20, 30, 20);
    auto* picture = new QLabel;
    picture->setPixmap(icons::programPixmap(96));
    picture->setAlignment(Qt::AlignCenter);
    auto* name = new QLabel(QStringLiteral("Tarvik"));
    QFont f = name->font();
    f.setBold(true);
    f.setPointSizeF(f.pointSizeF() * 2);
    name->setFont(f);
    name->setAlignment(Qt::AlignCenter);
    auto* version = new QLabel(QStringLiteral("Version 2001"));
    version->setAlignment(Qt::AlignCenter);
    p->addWidget(picture);
    p->addWidget(name);
    p->addWidget(version);
    v->addWidget(panel);
    adjustSize();
    if (const QScreen* s = QGuiApplication::primaryScreen())
        move(s->geometry().center() - rect().center());
}

} // namespace tarvik
