#include "register/reszletespanel.h"

#include "register/reszletes.h"
#include "widgets/dialogframe.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

ReszletesPanel::ReszletesPanel(QWidget *parent)
    : QWidget(parent)
    , m_description(new DetailedDescription)
    , m_scroll(new QScrollArea(this))
{
    setObjectName(QStringLiteral("pReszletes"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(makeHeading(QStringLiteral("Új ingatlan felvitele - részletes adatok...")));

    m_scroll->setWidget(m_description);
    m_scroll->setWidgetResizable(true);
    m_scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    layout->addWidget(m_scroll, 1);

    auto *back = new QPushButton(QStringLiteral("<< Vissza az egyszerűbb leíráshoz"), this);
    back->setObjectName(QStringLiteral("Button10"));
    connect(back, &QPushButton::clicked, this, &ReszletesPanel::backRequested);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(back);
    layout->addLayout(buttons);
}

void ReszletesPanel::clear()
{
    m_description->clear();
    m_scroll->verticalScrollBar()->setValue(0);
}
