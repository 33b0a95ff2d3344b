#include "newproperty.h"

#include "dialogframe.h"
#include "maincursors.h"
#include "ownergroup.h"
#include "photogroup.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

NewPropertyPanel::NewPropertyPanel(MainCursors &cursors, RegisterWindows &windows, QWidget *parent)
    : QWidget(parent)
    , m_owners(new OwnerGroup(cursors.tdTulaj, windows))
    , m_photos(new PhotoGroup(windows))
    , m_reszletes(new QCheckBox(QStringLiteral("Van részletes leírás")))
    , m_reszletesGomb(new QPushButton(QStringLiteral("Részletes leírás >>")))
{
    setObjectName(QStringLiteral("pNew"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(makeHeading(QStringLiteral("Új ingatlan felvitele - egyszerű leírás")));

    auto *content = new QWidget;
    m_form = new QVBoxLayout(content);
    m_form->addWidget(m_owners);
    m_form->addWidget(m_photos);
    m_form->addStretch();
    auto *scroll = new QScrollArea(this);
    scroll->setWidget(content);
    scroll->setWidgetResizable(true);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    layout->addWidget(scroll, 1);

    m_reszletesGomb->setObjectName(QStringLiteral("nReszletesGomb"));
    m_reszletesGomb->setEnabled(false);
    m_reszletesGomb->setAutoDefault(false);
    m_reszletes->setObjectName(QStringLiteral("nReszletes"));
    connect(m_reszletes, &QCheckBox::toggled, m_reszletesGomb, &QPushButton::setEnabled);
    connect(m_reszletesGomb, &QPushButton::clicked, this, &NewPropertyPanel::detailedRequested);
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(m_reszletesGomb);
    bottom->addWidget(m_reszletes);
    bottom->addStretch();
    m_buttons = new QVBoxLayout;
    bottom->addLayout(m_buttons);
    layout->addLayout(bottom);
}
