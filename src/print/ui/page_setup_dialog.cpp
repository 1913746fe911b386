#include "print/ui/page_setup_dialog.h"

#include "book/record_book.h"
#include "print/page_setup.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace tarvik {

TMPage::TMPage(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("MPage"));
    setWindowTitle(QStringLiteral("Mise en page"));

    m_orientation = new QGroupBox(QStringLiteral("Orientation enveloppe"), this);
    m_orientation->setObjectName(QStringLiteral("RadioGroup2"));
    m_portrait = new QRadioButton(QStringLiteral("Portrait"), m_orientation);
    m_portrait->setObjectName(QStringLiteral("RadioGroup2Item0"));
    m_landscape = new QRadioButton(QStringLiteral("Paysage"), m_orientation);
    m_landscape->setObjectName(QStringLiteral("RadioGroup2Item1"));
    m_portrait->setChecked(true);
    auto* radios = new QVBoxLayout(m_orientation);
    radios->addWidget(m_portrait);
    radios->addWidget(m_landscape);

    m_guide = new QCheckBox(QStringLiteral("Guide enveloppe à droite"), this);
    m_guide->setObjectName(QStringLiteral("CheckBox1"));

    auto* cancel = new QPushButton(QStringLiteral("Annuler"), this);
    cancel->setObjectName(QStringLiteral("Button1"));
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("Button2"));
    ok->setDefault(true);
    connect(cancel, &QPushButton::clicked, this, [this] {
        m_accepted = false;
        reject();
    });
    connect(ok, &QPushButton::clicked, this, [this] {
        m_accepted = true;
        accept();
    });

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cancel);
    buttons->addWidget(ok);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_orientation);
    layout->addWidget(m_guide);
    layout->addSpacing(8);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void TMPage::Init(int reserved, int orientation, bool guideOnRight)
{
    settings::IniValues stored;
    stored.reservedPage = reserved;
    stored.envelopeOrientation = orientation;
    stored.envelopeOffset = guideOnRight ? 100 : 0;
    const print::PageSetupChoice shown = print::pageSetupShown(stored);
    (shown.orientation == 1 ? m_landscape : m_portrait)->setChecked(true);
    m_guide->setChecked(shown.guideOnRight);
}

void TMPage::Result(int& orientation, bool& guideOnRight) const
{
    orientation = m_accepted ? (m_landscape->isChecked() ? 1 : 0) : -1;
    guideOnRight = m_guide->isChecked();
}

void ParM(RecordBook& book, QWidget* parent)
{
    TMPage dialog(parent);
    const settings::IniValues& ini = book.ini();
    dialog.Init(ini.reservedPage, ini.envelopeOrientation, ini.envelopeOffset > 0);
    dialog.exec();
    int orientation = -1;
    bool guide = false;
    dialog.Result(orientation, guide);
    book.setEnvelopeLayout(orientation, guide);
}

} // namespace tarvik
